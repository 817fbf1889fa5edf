#include "app/BusyWatch.h"

#include <initializer_list>

namespace {

ScreenRect FromRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

bool ClassIs(HWND window, std::initializer_list<const wchar_t*> names) {
    wchar_t name[32] = {};
    if (!GetClassNameW(window, name, ARRAYSIZE(name))) return false;
    for (const wchar_t* n : names)
        if (lstrcmpW(name, n) == 0) return true;
    return false;
}

ForegroundKind KindOf(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    if (process == GetCurrentProcessId()) return ForegroundKind::kOwn;
    // The desktop covers its monitor whenever nothing else is in front.
    if (window == GetDesktopWindow() || window == GetShellWindow() || ClassIs(window, {L"Progman", L"WorkerW"}))
        return ForegroundKind::kDesktop;
    if (ClassIs(window, {L"Shell_TrayWnd", L"Shell_SecondaryTrayWnd"})) return ForegroundKind::kTaskbar;
    const bool titled = (GetWindowLongW(window, GWL_STYLE) & WS_CAPTION) == WS_CAPTION;
    return titled && IsZoomed(window) ? ForegroundKind::kMaximised : ForegroundKind::kOrdinary;
}

}  // namespace

BusyObservation ObserveUser(UserNotificationQuery query) {
    BusyObservation seen;
    QUERY_USER_NOTIFICATION_STATE state{};
    seen.shellAnswered = SUCCEEDED(query(&state));
    seen.shellState = static_cast<int32_t>(state);

    HWND front = GetForegroundWindow();
    if (!front) return seen;
    RECT window{};
    MONITORINFO monitor{};
    monitor.cbSize = sizeof monitor;
    HMONITOR where = MonitorFromWindow(front, MONITOR_DEFAULTTONULL);
    if (!where || !GetMonitorInfoW(where, &monitor) || !GetWindowRect(front, &window)) return seen;
    seen.foreground = KindOf(front);
    seen.window = FromRect(window);
    seen.monitor = FromRect(monitor.rcMonitor);
    return seen;
}
