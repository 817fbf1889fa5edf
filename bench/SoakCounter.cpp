// The soak benchmark's counter inside the program: menus, cursors and icons
// answer only in the process that holds them, so the probe hooks this into
// the program's thread and asks by a registered message. The answer goes
// back to the asking thread as WM_APP: windows and menus in wParam's words,
// cursors and icons in lParam.
#include <windows.h>

#include "tests/support/ObjectCounts.h"

extern "C" __declspec(dllexport) LRESULT CALLBACK CountOnRequest(int code, WPARAM wParam, LPARAM lParam) {
    static const UINT request = RegisterWindowMessageA("LumeyraSoakCount");
    auto* msg = reinterpret_cast<MSG*>(lParam);
    if (code == HC_ACTION && wParam == PM_REMOVE && msg->message == request) {
        const testsupport::UserObjects counts = testsupport::CountUserObjects(GetCurrentProcessId());
        PostThreadMessageA(static_cast<DWORD>(msg->wParam), WM_APP, MAKEWPARAM(counts.windows, counts.menus),
                           counts.cursors);
        msg->message = WM_NULL;
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}
