#include "core/UserBusy.h"

namespace {

bool ShellSaysBusy(const BusyObservation& s) {
    if (!s.shellAnswered) return false;
    return s.shellState == shellstate::kBusy || s.shellState == shellstate::kRunningD3dFullScreen ||
           s.shellState == shellstate::kPresentationMode;
}

// A maximised window stops at the taskbar, so only a window without one in
// the way covers the monitor from edge to edge.
bool CoversMonitor(const ScreenRect& w, const ScreenRect& m) {
    if (m.right <= m.left || m.bottom <= m.top) return false;
    return w.left <= m.left && w.top <= m.top && w.right >= m.right && w.bottom >= m.bottom;
}

}  // namespace

bool UserIsBusy(const BusyObservation& s) {
    if (ShellSaysBusy(s)) return true;
    return s.foreground == ForegroundKind::kOrdinary && CoversMonitor(s.window, s.monitor);
}
