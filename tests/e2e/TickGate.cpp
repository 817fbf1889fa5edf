// Hooked into the program's window thread by a journey that drives the time
// itself: the main window's own one-second tick is dropped, so that every
// second the program counts is one the journey posted after it had moved
// the mouse or pressed a key. Otherwise the real tick could come between
// the journey's input and its posted tick, take the input, and leave the
// posted tick a second of pause: which tick came first would decide a count.
// The program is not changed: only this test library, loaded into it by the
// hook, looks at the message before the main window gets it.
#include <windows.h>

#include "TickGate.h"

extern "C" __declspec(dllexport) LRESULT CALLBACK DropOwnTicks(int code, WPARAM wParam, LPARAM lParam) {
    static const UINT marker = RegisterWindowMessageW(kTickGateMarker);
    auto* msg = reinterpret_cast<MSG*>(lParam);
    if (code == HC_ACTION && msg->message == marker) {
        if (wParam == PM_REMOVE) PostThreadMessageW(static_cast<DWORD>(msg->wParam), WM_APP, 0, 0);
        msg->message = WM_NULL;
    } else if (code == HC_ACTION && msg->message == WM_TIMER && msg->wParam == kProgramTimerId &&
               msg->lParam == 0) {
        wchar_t title[16] = {};
        GetWindowTextW(msg->hwnd, title, 16);
        if (lstrcmpW(title, L"Lumeyra") == 0) msg->message = WM_NULL;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
