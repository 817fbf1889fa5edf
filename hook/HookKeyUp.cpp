// HookKeyUp.dll: tells the program whether a key was pressed since it last
// asked. A low-level hook sees key presses in every application; it runs on
// the thread that installed it, which must pump messages (the program's
// user-interface thread does).
#include "hook/HookKeyUp.h"

#include <windows.h>

namespace {

HINSTANCE g_module = nullptr;
HHOOK g_hook = nullptr;
volatile LONG g_keyDown = 0;

LRESULT CALLBACK KeyboardProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && (wParam == WM_KEYDOWN || wParam == WM_SYSKEYDOWN))
        InterlockedExchange(&g_keyDown, 1);
    return CallNextHookEx(g_hook, code, wParam, lParam);
}

}  // namespace

extern "C" {

__declspec(dllexport) int RunStopHook(int run) {
    if (run && !g_hook) g_hook = SetWindowsHookExA(WH_KEYBOARD_LL, KeyboardProc, g_module, 0);
    if (!run && g_hook) {
        UnhookWindowsHookEx(g_hook);
        g_hook = nullptr;
    }
    return g_hook != nullptr;
}

__declspec(dllexport) int ReturnWasKeyDown() { return g_keyDown; }

__declspec(dllexport) void ResetKeyDown() { InterlockedExchange(&g_keyDown, 0); }

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = module;
        DisableThreadLibraryCalls(module);
    }
    if (reason == DLL_PROCESS_DETACH && g_hook) UnhookWindowsHookEx(g_hook);
    return TRUE;
}

}  // extern "C"
