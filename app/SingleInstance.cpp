#include "app/SingleInstance.h"

#include <chrono>
#include <string>

namespace {

// The running copy's main window: the program's unowned dialog captioned
// with its name, in another process of this session's desktop.
HWND FindRunningCopy() {
    struct Search {
        HWND found = nullptr;
    } search;
    EnumWindows(
        [](HWND hwnd, LPARAM lParam) -> BOOL {
            wchar_t cls[8] = {}, title[16] = {};
            DWORD process = 0;
            GetWindowThreadProcessId(hwnd, &process);
            if (process == GetCurrentProcessId() || GetWindow(hwnd, GW_OWNER) ||
                !GetClassNameW(hwnd, cls, ARRAYSIZE(cls)) || lstrcmpW(cls, L"#32770") != 0 ||
                !GetWindowTextW(hwnd, title, ARRAYSIZE(title)) || lstrcmpW(title, L"Lumeyra") != 0)
                return TRUE;
            reinterpret_cast<Search*>(lParam)->found = hwnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

}  // namespace

CSessionInstance::CSessionInstance(const wchar_t* name) {
    const std::wstring local = std::wstring(L"Local\\") + name;
    m_mutex.Reset(CreateMutexW(nullptr, FALSE, local.c_str()));
    m_bAnotherRuns = m_mutex && GetLastError() == ERROR_ALREADY_EXISTS;
}

UINT StartedAgainMessage() { return RegisterWindowMessageW(L"Lumeyra.StartedAgain"); }

void TellRunningCopy() {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(2);
    for (;;) {
        if (HWND running = FindRunningCopy()) {
            PostMessageW(running, StartedAgainMessage(), 0, 0);
            return;
        }
        if (std::chrono::steady_clock::now() >= deadline) return;
        Sleep(100);
    }
}
