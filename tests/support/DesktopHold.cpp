// Keeps a Wine prefix's desktop open while the test stages run in it.
//
// Wine closes a desktop one second after the last program on it ends: it
// takes the desktop's name away at once and tells the desktop's own
// process to quit. A program that starts in that moment can be left
// without a desktop to join and end at once. The stages start one
// program after another, and on a busy machine the gap between two can
// come close to that second. This program joins the desktop with a
// message-only window, which no test's search for top-level windows sees,
// and so stays one of its users until the stages end the prefix's server.
#include <windows.h>

int main() {
    HWND anchor = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    if (!anchor) return 1;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
}
