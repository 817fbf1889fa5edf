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
    // Maximised is what the user works in, caption or none.
    return IsZoomed(window) ? ForegroundKind::kMaximised : ForegroundKind::kOrdinary;
}

// A full-screen program's own dialog in front leaves it full screen, as
// the shell counts it: the window that counts is the root owner.
HWND RootOwner(HWND window) {
    HWND root = GetAncestor(window, GA_ROOTOWNER);
    return root ? root : window;
}

// The whole of `window`'s monitor, taskbar included.
bool MonitorOf(HWND window, HMONITOR& where, ScreenRect& monitor) {
    MONITORINFO info{};
    info.cbSize = sizeof info;
    where = MonitorFromWindow(window, MONITOR_DEFAULTTONULL);
    if (!where || !GetMonitorInfoW(where, &info)) return false;
    monitor = FromRect(info.rcMonitor);
    return true;
}

// The highest visible window of another program on monitor `where`, by
// its root owner; the taskbar, which stands above everything, is passed.
struct Beside {
    HMONITOR where;
    HWND found = nullptr;
};

BOOL CALLBACK FindBeside(HWND window, LPARAM data) {
    auto* beside = reinterpret_cast<Beside*>(data);
    if (!IsWindowVisible(window) || IsIconic(window)) return TRUE;
    if (MonitorFromWindow(window, MONITOR_DEFAULTTONULL) != beside->where) return TRUE;
    const ForegroundKind kind = KindOf(window);
    if (kind == ForegroundKind::kOwn || kind == ForegroundKind::kTaskbar) return TRUE;
    beside->found = RootOwner(window);
    return FALSE;
}

}  // namespace

BusyObservation ObserveUser(HWND spectacles, UserNotificationQuery query) {
    BusyObservation seen;
    QUERY_USER_NOTIFICATION_STATE state{};
    seen.shellAnswered = SUCCEEDED(query(&state));
    seen.shellState = static_cast<int32_t>(state);

    HWND front = GetForegroundWindow();
    if (!front) return seen;
    front = RootOwner(front);
    RECT window{};
    HMONITOR frontMonitor = nullptr;
    if (!MonitorOf(front, frontMonitor, seen.monitor) || !GetWindowRect(front, &window)) return seen;
    seen.foreground = KindOf(front);
    seen.window = FromRect(window);

    HMONITOR own = nullptr;
    if (!spectacles || !MonitorOf(spectacles, own, seen.spectaclesMonitor) || own == frontMonitor) return seen;
    // Another monitor than the front window's: what covers theirs, in front
    // or not (slides on the projector). Only with more than one monitor.
    Beside beside{own};
    EnumWindows(&FindBeside, reinterpret_cast<LPARAM>(&beside));
    RECT besideRect{};
    if (!beside.found || !GetWindowRect(beside.found, &besideRect)) return seen;
    seen.besideKind = KindOf(beside.found);
    seen.beside = FromRect(besideRect);
    return seen;
}
