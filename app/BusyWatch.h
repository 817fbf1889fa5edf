#pragma once

#include <windows.h>

#include <shellapi.h>

#include "core/UserBusy.h"
#include "framework/Handles.h"

// How the program asks the shell whether the user may be interrupted; the
// tests stand in for the shell, whose answer under Wine never changes.
using UserNotificationQuery = HRESULT(WINAPI*)(QUERY_USER_NOTIFICATION_STATE*);

// The windows an observation looked at, so that a watch knows whose
// changes matter.
struct ObservedWindows {
    HWND front = nullptr;  // as GetForegroundWindow gave it
    HWND root = nullptr;   // its root owner, the window judged
    DWORD rootProcess = 0;
    // The highest window on the spectacles' monitor, searched for only when
    // that is another monitor than the front window's.
    bool besideSearched = false;
    HWND beside = nullptr;
};

// What the shell says now, which window is in front (its root owner), over
// what, and what covers the monitor `spectacles` stand on (null: judged
// where the window in front is).
BusyObservation ObserveUser(HWND spectacles = nullptr,
                            UserNotificationQuery query = &SHQueryUserNotificationState,
                            ObservedWindows* windows = nullptr);

namespace handles {
inline void UnhookEvent(HWINEVENTHOOK h) { UnhookWinEvent(h); }
}  // namespace handles
// A WinEvent hook.
using WinEventHook = Owner<HWINEVENTHOOK, handles::UnhookEvent>;

// The user observed as ObserveUser does, looked at again only when something
// that counts may have changed: Windows tells of a new window in front, of
// the window in front (or the spectacles) moved, resized, shown, hidden,
// minimised or gone, out of context, as messages to the thread that
// started the watch. Busy is never taken from an old look: while the last
// one found anything full screen, every tick looks afresh, so a cached
// answer can only ever keep the spectacles where they are and the prompt
// free, as with quiet off.
class BusyWatch {
public:
    explicit BusyWatch(UserNotificationQuery query = &SHQueryUserNotificationState) : m_query(query) {}
    ~BusyWatch() { Stop(); }
    BusyWatch(const BusyWatch&) = delete;
    BusyWatch& operator=(const BusyWatch&) = delete;

    // Listens on the calling thread, whose message loop brings the events,
    // for what changes the observation around `spectacles`. A hook's
    // callback is told nothing of whose it is: `events` is the owner's,
    // which finds the watch and hands each event on to Heard.
    void Start(HWND spectacles, WINEVENTPROC events);
    void Stop();
    void Heard(DWORD event, HWND hwnd, LONG object, LONG child);
    // Once a tick: what the user does, looked at afresh when something may
    // have changed.
    BusyObservation Observe();
    // What no event tells of (the displays changed): the next tick looks.
    void Invalidate() { m_stale = true; }

    // Ticks between the shell's answers, and between checks of the window
    // in front where no event may have told of a change.
    static constexpr int kCheckEvery = 5;

private:
    HWINEVENTHOOK Hook(DWORD first, DWORD last, DWORD process = 0) const;
    void Look();
    bool FrontChanged() const;
    void FollowFront();

    UserNotificationQuery m_query;
    WINEVENTPROC m_events = nullptr;
    HWND m_spectacles = nullptr;
    BusyObservation m_seen;
    ObservedWindows m_windows;
    RECT m_spectaclesRect{};
    bool m_stale = true;
    int m_ticksSinceCheck = 0;
    WinEventHook m_foreground, m_minimised, m_created, m_ownMoved;
    // On the program of the window in front; on every program while the
    // spectacles stand on another monitor than it.
    WinEventHook m_frontShown, m_frontMoved;
    DWORD m_hookedProcess = 0;
    // The window in front could not be hooked: nothing would tell of it.
    bool m_frontUnheard = false;
};
