#pragma once

#include <cstdint>

// Whether the user is busy with something no break reminder should cover or
// interrupt: a presentation, a full-screen game or film, a shared screen.
// The shell says so on most Windows; where it only ever answers "accepts
// notifications", a foreground window that covers its whole monitor says it.

// The shell's answers (QUERY_USER_NOTIFICATION_STATE).
namespace shellstate {
inline constexpr int32_t kNotPresent = 1;  // a screen saver, a locked machine
inline constexpr int32_t kBusy = 2;        // a full-screen application
inline constexpr int32_t kRunningD3dFullScreen = 3;
inline constexpr int32_t kPresentationMode = 4;
inline constexpr int32_t kAcceptsNotifications = 5;
inline constexpr int32_t kQuietTime = 6;  // the first hour after setting up Windows
inline constexpr int32_t kApp = 7;        // a windowed store app may give it
}  // namespace shellstate

struct ScreenRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
};

enum class ForegroundKind {
    kNone,  // no foreground window, or its rectangles could not be read
    kOrdinary,
    // Maximised with its title bar: Windows stops it at the taskbar, but
    // where the taskbar hides itself (or under Wine) it covers the monitor
    // all the same, and it is still no slide show or game.
    kMaximised,
    kDesktop,  // the shell's desktop, which always covers its monitor
    kTaskbar,
    kOwn,  // one of this program's windows
};

// What a tick observes.
struct BusyObservation {
    bool shellAnswered = false;  // false: the call failed
    int32_t shellState = 0;
    ForegroundKind foreground = ForegroundKind::kNone;
    ScreenRect window;   // the foreground window's
    ScreenRect monitor;  // the whole of its monitor, taskbar included
};

bool UserIsBusy(const BusyObservation& seen);
