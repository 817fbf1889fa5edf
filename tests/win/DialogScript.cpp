#include "tests/win/DialogScript.h"

#include <atomic>
#include <chrono>
#include <thread>

#include "app/LumeyraApp.h"
#include "framework/Handles.h"
#include "framework/WindowText.h"
#include "tests/support/WinTestSupport.h"

namespace {

constexpr auto kDeadline = std::chrono::seconds(15);
constexpr auto kPoll = std::chrono::milliseconds(20);

BOOL CALLBACK CancelWindow(HWND hwnd, LPARAM) {
    PostMessageA(hwnd, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    return TRUE;
}

}  // namespace

bool DialogScript::WaitUntil(const std::function<bool()>& condition) const {
    return testsupport::WaitFor(condition, kDeadline, kPoll);
}

HWND DialogScript::WaitForWindow(const std::string& title) const {
    HWND found = nullptr;
    WaitUntil([&] {
        found = testsupport::FindTopWindow([&](HWND hwnd) {
            return GetWindowThreadProcessId(hwnd, nullptr) == m_uiThread && WindowText(hwnd) == title;
        });
        return found != nullptr;
    });
    return found;
}

HWND DialogScript::WaitForMessage(std::string& text) const {
    HWND box = WaitForWindow(App().AppName());
    // The message box's text is its static control 0xFFFF.
    text = box ? Text(box, 0xFFFF) : std::string();
    return box;
}

void DialogScript::Type(HWND dialog, int id, const std::string& text) {
    SetText(GetDlgItem(dialog, id), text);
}

std::string DialogScript::Text(HWND dialog, int id) { return WindowText(GetDlgItem(dialog, id)); }

void DialogScript::Click(HWND dialog, int id) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(dialog, id)));
}

HWND DialogScript::Focus() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(m_uiThread, &info) ? info.hwndFocus : nullptr;
}

INT_PTR RunScripted(CDialog& dialog, const std::function<void(DialogScript&)>& script) {
    DWORD uiThread = GetCurrentThreadId();
    std::atomic<bool> done{false};
    std::thread worker([&] {
        DialogScript driver(uiThread);
        script(driver);
        // A script that ended well has seen its dialog close; give what it
        // clicked last a moment before cancelling whatever is left.
        driver.WaitUntil([&] { return done.load(); });
        while (!done) {
            EnumThreadWindows(uiThread, CancelWindow, 0);
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
        }
    });
    // As in the program, the dialog's thread is in a COM apartment, through
    // which screen readers (and the scripts that read as they do) reach it.
    ComApartment apartment;
    INT_PTR result = dialog.DoModal();
    done = true;
    worker.join();
    return result;
}
