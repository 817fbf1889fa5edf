// HookKeyUp.dll: tells the program whether a key was pressed since it last
// asked. A low-level hook sees key presses in every application. The system
// calls it through the installing thread's message queue and, when that
// thread does not answer within LowLevelHooksTimeout (at most a second),
// skips it and in the end removes it without a word. The program's
// user-interface thread blocks for seconds at a time (the rest signals'
// beeps), so the hook lives on a thread of its own here that does nothing
// but pump messages.
#include "hook/HookKeyUp.h"

#include <windows.h>

namespace {

HINSTANCE g_module = nullptr;
HANDLE g_thread = nullptr;
DWORD g_threadId = 0;
volatile LONG g_keyDown = 0;

// What the hook thread reports back once it has tried to install the hook.
struct Start {
    HANDLE ready;
    bool hooked;
};

LRESULT CALLBACK KeyboardProc(int code, WPARAM wParam, LPARAM lParam) {
    if (code == HC_ACTION && (wParam == WM_KEYDOWN || wParam == WM_SYSKEYDOWN))
        InterlockedExchange(&g_keyDown, 1);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// Holds its own reference to the library and gives it up as its very last
// step: a FreeLibrary without RunStopHook(0) then leaves the library loaded
// instead of pulling the code from under a running thread, and DllMain never
// has to wait for this thread (which it could not do without a deadlock).
DWORD WINAPI HookThread(LPVOID parameter) {
    auto* start = static_cast<Start*>(parameter);
    HMODULE self = nullptr;
    GetModuleHandleEx(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, reinterpret_cast<LPCWSTR>(&HookThread), &self);
    // The queue must exist before the starter may post the quit message.
    MSG msg;
    PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE);
    HHOOK hook = SetWindowsHookEx(WH_KEYBOARD_LL, KeyboardProc, g_module, 0);
    start->hooked = hook != nullptr;
    SetEvent(start->ready);  // `start` is gone from here on
    if (hook) {
        while (GetMessage(&msg, nullptr, 0, 0) > 0) DispatchMessage(&msg);
        UnhookWindowsHookEx(hook);
    }
    FreeLibraryAndExitThread(self, 0);
}

void StopHookThread() {
    if (!g_thread) return;
    PostThreadMessage(g_threadId, WM_QUIT, 0, 0);
    WaitForSingleObject(g_thread, INFINITE);
    CloseHandle(g_thread);
    g_thread = nullptr;
    g_threadId = 0;
}

bool StartHookThread() {
    Start start{CreateEvent(nullptr, TRUE, FALSE, nullptr), false};
    if (!start.ready) return false;
    g_thread = CreateThread(nullptr, 0, HookThread, &start, 0, &g_threadId);
    if (g_thread) WaitForSingleObject(start.ready, INFINITE);
    CloseHandle(start.ready);
    if (g_thread && !start.hooked) StopHookThread();
    return g_thread != nullptr;
}

}  // namespace

extern "C" {

__declspec(dllexport) int RunStopHook(int run) {
    if (run && !g_thread) StartHookThread();
    if (!run) StopHookThread();
    return g_thread != nullptr;
}

__declspec(dllexport) int ReturnWasKeyDown() { return g_keyDown; }

__declspec(dllexport) void ResetKeyDown() { InterlockedExchange(&g_keyDown, 0); }

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        g_module = module;
        DisableThreadLibraryCalls(module);
    }
    // Nothing to end on detach: the hook thread holds the library, so it is
    // gone before the library can be.
    return TRUE;
}

}  // extern "C"
