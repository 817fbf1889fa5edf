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

ForegroundKind KindOf(HWND window, DWORD process) {
    if (process == GetCurrentProcessId()) return ForegroundKind::kOwn;
    // The desktop covers its monitor whenever nothing else is in front.
    if (window == GetDesktopWindow() || window == GetShellWindow() || ClassIs(window, {L"Progman", L"WorkerW"}))
        return ForegroundKind::kDesktop;
    if (ClassIs(window, {L"Shell_TrayWnd", L"Shell_SecondaryTrayWnd"})) return ForegroundKind::kTaskbar;
    // Maximised is what the user works in, caption or none.
    return IsZoomed(window) ? ForegroundKind::kMaximised : ForegroundKind::kOrdinary;
}

ForegroundKind KindOf(HWND window) {
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    return KindOf(window, process);
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

void AskShell(BusyObservation& seen, UserNotificationQuery query) {
    QUERY_USER_NOTIFICATION_STATE state{};
    seen.shellAnswered = SUCCEEDED(query(&state));
    seen.shellState = static_cast<int32_t>(state);
}

}  // namespace

BusyObservation ObserveUser(HWND spectacles, UserNotificationQuery query, ObservedWindows* windows) {
    BusyObservation seen;
    AskShell(seen, query);
    ObservedWindows unused;
    ObservedWindows& looked = windows ? *windows : unused;
    looked = {};

    looked.front = GetForegroundWindow();
    if (!looked.front) return seen;
    HWND front = looked.root = RootOwner(looked.front);
    GetWindowThreadProcessId(front, &looked.rootProcess);
    RECT window{};
    HMONITOR frontMonitor = nullptr;
    if (!MonitorOf(front, frontMonitor, seen.monitor) || !GetWindowRect(front, &window)) return seen;
    seen.foreground = KindOf(front, looked.rootProcess);
    seen.window = FromRect(window);

    HMONITOR own = nullptr;
    if (!spectacles || !MonitorOf(spectacles, own, seen.spectaclesMonitor) || own == frontMonitor) return seen;
    // Another monitor than the front window's: what covers theirs, in front
    // or not (slides on the projector). Only with more than one monitor.
    Beside beside{own};
    EnumWindows(&FindBeside, reinterpret_cast<LPARAM>(&beside));
    looked.besideSearched = true;
    looked.beside = beside.found;
    RECT besideRect{};
    if (!beside.found || !GetWindowRect(beside.found, &besideRect)) return seen;
    seen.besideKind = KindOf(beside.found);
    seen.beside = FromRect(besideRect);
    return seen;
}

HWINEVENTHOOK BusyWatch::Hook(DWORD first, DWORD last, DWORD process) const {
    return SetWinEventHook(first, last, nullptr, m_events, process, 0, WINEVENT_OUTOFCONTEXT);
}

void BusyWatch::Start(HWND spectacles, WINEVENTPROC events) {
    Stop();
    m_events = events;
    m_spectacles = spectacles;
    m_stale = true;
    m_foreground.Reset(Hook(EVENT_SYSTEM_FOREGROUND, EVENT_SYSTEM_FOREGROUND));
    m_minimised.Reset(Hook(EVENT_SYSTEM_MINIMIZESTART, EVENT_SYSTEM_MINIMIZEEND));
    // Wine 8 tells of new windows and of nothing else here: a window that
    // comes in front is seen at once there too. Dropped once the system
    // has told of a new window in front, as Windows does.
    m_created.Reset(Hook(EVENT_OBJECT_CREATE, EVENT_OBJECT_CREATE));
    // The spectacles dragged or placed onto another monitor.
    m_ownMoved.Reset(Hook(EVENT_OBJECT_LOCATIONCHANGE, EVENT_OBJECT_LOCATIONCHANGE, GetCurrentProcessId()));
}

void BusyWatch::Stop() {
    for (WinEventHook* hook :
         {&m_foreground, &m_minimised, &m_created, &m_ownMoved, &m_frontShown, &m_frontMoved})
        hook->Reset();
    m_hookedProcess = 0;
    m_frontUnheard = false;
}

void BusyWatch::Heard(DWORD event, HWND hwnd, LONG object, LONG child) {
    switch (event) {
        case EVENT_SYSTEM_FOREGROUND:
            m_created.Reset();
            m_stale = true;
            return;
        case EVENT_SYSTEM_MINIMIZESTART:
        case EVENT_SYSTEM_MINIMIZEEND:
            m_stale = true;
            return;
        default:
            break;
    }
    // The cursor, carets and the parts of windows move all the time; only
    // whole windows count.
    if (object != OBJID_WINDOW || child != CHILDID_SELF || !hwnd) return;
    if (event == EVENT_OBJECT_CREATE || m_windows.besideSearched || hwnd == m_windows.front ||
        hwnd == m_windows.root || hwnd == m_windows.beside || hwnd == m_spectacles)
        m_stale = true;
}

BusyObservation BusyWatch::Observe() {
    const BusyJudgement last = JudgeBusy(m_seen);
    // Busy is looked at afresh on every tick, so that no old look holds the
    // spectacles away or the prompt back. Without the events (not started,
    // or a hook refused) nothing tells of a change: every tick looks too.
    if (m_stale || last.holdPrompt || last.stepAside || !m_foreground || m_frontUnheard) {
        Look();
    } else if (++m_ticksSinceCheck >= kCheckEvery) {
        // The shell's answer changes with no window's event (presentation
        // mode switched on); on Windows it is a question to Explorer, so it
        // is asked every few ticks, not on each. And where the system tells
        // less than Windows (Wine 8 tells of no move, resize or new window
        // in front), the window in front is checked as seldom.
        m_ticksSinceCheck = 0;
        AskShell(m_seen, m_query);
        if (FrontChanged()) Look();
    }
    return m_seen;
}

void BusyWatch::Look() {
    m_seen = ObserveUser(m_spectacles, m_query, &m_windows);
    m_stale = false;
    m_ticksSinceCheck = 0;
    if (m_spectacles) GetWindowRect(m_spectacles, &m_spectaclesRect);
    if (m_foreground) FollowFront();
}

bool BusyWatch::FrontChanged() const {
    if (GetForegroundWindow() != m_windows.front) return true;
    RECT r{};
    if (m_windows.root && (!GetWindowRect(m_windows.root, &r) || FromRect(r) != m_seen.window)) return true;
    if (m_windows.beside && (!GetWindowRect(m_windows.beside, &r) || FromRect(r) != m_seen.beside))
        return true;
    return m_spectacles && GetWindowRect(m_spectacles, &r) && !EqualRect(&r, &m_spectaclesRect);
}

// The window in front moved, resized, shown, hidden or gone: told by its
// own program (by any of its threads: a game's renderer may switch it to
// full screen), so that the cursor's and the carets' moves elsewhere wake
// nobody here. While the spectacles stand apart from it, by every program:
// any window may come to cover their monitor.
void BusyWatch::FollowFront() {
    const bool everywhere = m_windows.besideSearched;
    const DWORD process = everywhere ? 0 : m_windows.rootProcess;
    if (m_frontMoved && process == m_hookedProcess) return;
    m_frontShown.Reset();
    m_frontMoved.Reset();
    m_hookedProcess = process;
    m_frontUnheard = false;
    if (!everywhere && !process) return;
    m_frontShown.Reset(Hook(EVENT_OBJECT_DESTROY, EVENT_OBJECT_HIDE, process));
    m_frontMoved.Reset(Hook(EVENT_OBJECT_LOCATIONCHANGE, EVENT_OBJECT_LOCATIONCHANGE, process));
    if (!everywhere && (!m_frontShown || !m_frontMoved)) {
        // Refused (Wine refuses one on another program's thread, though
        // not on the program): every program's events, sorted by window
        // here.
        m_frontShown.Reset(Hook(EVENT_OBJECT_DESTROY, EVENT_OBJECT_HIDE));
        m_frontMoved.Reset(Hook(EVENT_OBJECT_LOCATIONCHANGE, EVENT_OBJECT_LOCATIONCHANGE));
    }
    m_frontUnheard = !m_frontShown || !m_frontMoved;
}
