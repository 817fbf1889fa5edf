#include "core/UserBusy.h"

namespace {

// The shell's answers that name what the user does, whatever the window.
bool ShellSaysFullScreen(const BusyObservation& s) {
    if (!s.shellAnswered) return false;
    return s.shellState == shellstate::kRunningD3dFullScreen || s.shellState == shellstate::kPresentationMode;
}

bool Empty(const ScreenRect& r) { return r.right <= r.left || r.bottom <= r.top; }

// A maximised window stops at the taskbar, so only a window without one in
// the way covers the monitor from edge to edge.
bool CoversMonitor(const ScreenRect& w, const ScreenRect& m) {
    if (Empty(m)) return false;
    return w.left <= m.left && w.top <= m.top && w.right >= m.right && w.bottom >= m.bottom;
}

// Full screen as the shell counts it: another program's window over its
// whole monitor, not maximised (the desktop and the taskbar cover theirs
// without being anything the user watches).
bool FullScreen(ForegroundKind kind, const ScreenRect& window, const ScreenRect& monitor) {
    return kind == ForegroundKind::kOrdinary && CoversMonitor(window, monitor);
}

}  // namespace

BusyJudgement JudgeBusy(const BusyObservation& s) {
    const bool frontFull = FullScreen(s.foreground, s.window, s.monitor);
    // The shell's plain "busy" adds nothing to the window's own word: alone
    // it is a guess (an overlay can keep it up on an empty desktop).
    const bool shellFull = ShellSaysFullScreen(s);
    BusyJudgement j;
    j.holdPrompt = shellFull || frontFull;

    // Where the front window is judged: on the spectacles' monitor, or the
    // monitor is unknown.
    const bool frontHere = Empty(s.spectaclesMonitor) || s.foreground == ForegroundKind::kNone ||
                           s.spectaclesMonitor == s.monitor;
    if (frontHere)
        j.stepAside = j.holdPrompt;
    else
        j.stepAside = FullScreen(s.besideKind, s.beside, s.spectaclesMonitor);
    return j;
}

bool UserIsBusy(const BusyObservation& seen) { return JudgeBusy(seen).holdPrompt; }

BusyJudgement BusySteadiness::Next(const BusyJudgement& now) {
    const BusyJudgement steady{now.holdPrompt && m_last.holdPrompt, now.stepAside && m_last.stepAside};
    m_last = now;
    return steady;
}
