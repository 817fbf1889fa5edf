#pragma once

#include <cstdint>

// Whether the user is busy with something no break reminder should cover or
// interrupt: a presentation, a full-screen game or film, a shared screen.
// The shell's word counts where it names a presentation or a Direct3D game;
// its plain "busy" is a guess that some overlays keep up for days, so it
// counts only beside a window that really covers its monitor.

// The shell's answers (QUERY_USER_NOTIFICATION_STATE).
namespace shellstate {
inline constexpr int32_t kNotPresent = 1;  // a screen saver, a locked machine
inline constexpr int32_t kBusy = 2;        // a full-screen application, or a guess
inline constexpr int32_t kRunningD3dFullScreen = 3;
inline constexpr int32_t kPresentationMode = 4;
inline constexpr int32_t kAcceptsNotifications = 5;
inline constexpr int32_t kQuietTime = 6;  // the first hour after setting up Windows
inline constexpr int32_t kApp = 7;        // a windowed store app may give it
}  // namespace shellstate

struct ScreenRect {
    int32_t left = 0, top = 0, right = 0, bottom = 0;
    bool operator==(const ScreenRect&) const = default;
};

enum class ForegroundKind {
    kNone,  // no window, or its rectangles could not be read
    kOrdinary,
    // Maximised, with a caption or without: Windows stops it at the
    // taskbar, but where the taskbar hides itself (or under Wine) it covers
    // the monitor all the same, and the user works in it.
    kMaximised,
    kDesktop,  // the shell's desktop, which always covers its monitor
    kTaskbar,
    kOwn,  // one of this program's windows
};

// What a tick observes. The window judged is the root owner of the one in
// front: a full-screen program's own dialog leaves it full screen.
struct BusyObservation {
    bool shellAnswered = false;  // false: the call failed
    int32_t shellState = 0;
    ForegroundKind foreground = ForegroundKind::kNone;
    ScreenRect window;   // the foreground window's root owner's
    ScreenRect monitor;  // the whole of its monitor, taskbar included
    // The monitor the spectacles stand on; empty when unknown, and then
    // the front window's is taken for it.
    ScreenRect spectaclesMonitor;
    // Where that is another monitor than the front window's: the highest
    // window of another program there (its root owner), in front or not.
    ForegroundKind besideKind = ForegroundKind::kNone;
    ScreenRect beside;
};

// What follows from one observation: the due prompt waits while the window
// in front is full screen, on whichever monitor; the spectacles step aside
// while a full-screen window covers the monitor they stand on.
struct BusyJudgement {
    bool holdPrompt = false;
    bool stepAside = false;
    bool operator==(const BusyJudgement&) const = default;
};

BusyJudgement JudgeBusy(const BusyObservation& seen);

// Whether the prompt waits: JudgeBusy's holdPrompt.
bool UserIsBusy(const BusyObservation& seen);

// The shell's own passing windows (Alt+Tab, Task View, the snipping
// overlay) cover the monitor for a moment: busy is believed once seen on two
// ticks in a row, and free at once.
class BusySteadiness {
public:
    BusyJudgement Next(const BusyJudgement& now);
    // A tick on which nothing was looked at: the next busy starts afresh.
    void Forget() { m_last = {}; }

private:
    BusyJudgement m_last;
};
