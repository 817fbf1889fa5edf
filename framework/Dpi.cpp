#include "framework/Dpi.h"

#include "framework/Handles.h"

UINT WindowDpi(HWND hwnd) {
    // Looked up, not linked: Windows 7 and 8 have no such function.
    using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
    static const auto getDpiForWindow = reinterpret_cast<GetDpiForWindowFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (getDpiForWindow && hwnd) {
        if (UINT dpi = getDpiForWindow(hwnd)) return dpi;
    }
    WindowDc screen(nullptr);
    return static_cast<UINT>(GetDeviceCaps(screen.Get(), LOGPIXELSY));
}

namespace {
using SetDialogBehaviorFn = BOOL(WINAPI*)(HWND, int, int);

// SetDialogDpiChangeBehavior, which exists where the dialog manager
// rescales dialogs; null elsewhere.
SetDialogBehaviorFn DialogBehaviorSetter() {
    static const auto set = reinterpret_cast<SetDialogBehaviorFn>(reinterpret_cast<void*>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetDialogDpiChangeBehavior")));
    return set;
}
}  // namespace

bool DialogManagerScales() { return DialogBehaviorSetter() != nullptr; }

void KeepDialogManagerFromRescaling(HWND dialog) {
    constexpr int kDisableAll = 0x0001;  // DDC_DISABLE_ALL
    if (const auto set = DialogBehaviorSetter()) set(dialog, kDisableAll, kDisableAll);
}

int MetricForDpi(int index, UINT dpi) {
    using GetSystemMetricsForDpiFn = int(WINAPI*)(int, UINT);
    static const auto forDpi = reinterpret_cast<GetSystemMetricsForDpiFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetSystemMetricsForDpi")));
    return forDpi ? forDpi(index, dpi) : GetSystemMetrics(index);
}

IconHandle LoadIconAt(HINSTANCE instance, UINT id, int index, UINT dpi) {
    const int size = MetricForDpi(index, dpi);
    return IconHandle(static_cast<HICON>(
        LoadImageW(instance, MAKEINTRESOURCEW(id), IMAGE_ICON, size, size, LR_DEFAULTCOLOR)));
}
