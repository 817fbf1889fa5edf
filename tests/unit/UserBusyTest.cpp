#include "core/UserBusy.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

constexpr ScreenRect kMonitor{0, 0, 1920, 1080};
// What a maximised window with a frame takes: its borders hang over the
// edges, but it stops at the taskbar.
constexpr ScreenRect kMaximised{-8, -8, 1928, 1048};
constexpr ScreenRect kOrdinary{100, 100, 900, 700};
// Full screen: exactly the monitor, or a little more.
constexpr ScreenRect kFullScreen = kMonitor;
constexpr ScreenRect kOverFullScreen{-1, -1, 1921, 1081};

TEST(UserBusy, FromTheShellsAnswerAndTheForegroundWindow) {
    using K = ForegroundKind;
    using namespace shellstate;
    struct Case {
        const char* name;
        bool answered;
        int32_t state;
        K kind;
        ScreenRect window;
        bool busy;
    };
    const Case cases[] = {
        // The shell's answers, with an ordinary window in front.
        {"not present", true, kNotPresent, K::kOrdinary, kOrdinary, false},
        // The shell's plain "busy" is a guess that can stay up for days: it
        // counts only with a window that covers its monitor.
        {"busy, ordinary window", true, kBusy, K::kOrdinary, kOrdinary, false},
        {"busy, covering window", true, kBusy, K::kOrdinary, kFullScreen, true},
        {"busy, maximised", true, kBusy, K::kMaximised, kOverFullScreen, false},
        {"Direct3D full screen", true, kRunningD3dFullScreen, K::kOrdinary, kOrdinary, true},
        {"presentation", true, kPresentationMode, K::kOrdinary, kOrdinary, true},
        {"accepts notifications", true, kAcceptsNotifications, K::kOrdinary, kOrdinary, false},
        {"quiet time after set-up", true, kQuietTime, K::kOrdinary, kOrdinary, false},
        {"windowed store app", true, kApp, K::kOrdinary, kOrdinary, false},
        {"unknown answer", true, 99, K::kOrdinary, kOrdinary, false},
        // The shell says busy whatever is in front.
        {"presentation over the desktop", true, kPresentationMode, K::kDesktop, kFullScreen, true},
        {"presentation, own window in front", true, kPresentationMode, K::kOwn, kOrdinary, true},
        {"busy, no foreground", true, kBusy, K::kNone, {}, false},
        {"Direct3D, no foreground", true, kRunningD3dFullScreen, K::kNone, {}, true},
        // A shell that always accepts: the foreground window decides.
        {"full screen", true, kAcceptsNotifications, K::kOrdinary, kFullScreen, true},
        {"beyond the edges", true, kAcceptsNotifications, K::kOrdinary, kOverFullScreen, true},
        {"maximised", true, kAcceptsNotifications, K::kOrdinary, kMaximised, false},
        {"maximised, the taskbar hidden", true, kAcceptsNotifications, K::kMaximised, kOverFullScreen, false},
        // What IsZoomed says, caption or none (a frameless application).
        {"maximised without caption", true, kAcceptsNotifications, K::kMaximised, kFullScreen, false},
        {"maximised, presenting", true, kPresentationMode, K::kMaximised, kMaximised, true},
        {"one pixel short", true, kAcceptsNotifications, K::kOrdinary, {0, 0, 1920, 1079}, false},
        {"the desktop", true, kAcceptsNotifications, K::kDesktop, kFullScreen, false},
        {"the taskbar", true, kAcceptsNotifications, K::kTaskbar, kOverFullScreen, false},
        {"own window over the screen", true, kAcceptsNotifications, K::kOwn, kFullScreen, false},
        {"no foreground window", true, kAcceptsNotifications, K::kNone, kFullScreen, false},
        {"quiet time, full screen", true, kQuietTime, K::kOrdinary, kFullScreen, true},
        // A failed call is no answer: only the window counts.
        {"failed, ordinary", false, kBusy, K::kOrdinary, kOrdinary, false},
        {"failed, maximised", false, kPresentationMode, K::kOrdinary, kMaximised, false},
        {"failed, full screen", false, 0, K::kOrdinary, kFullScreen, true},
        {"failed, desktop", false, 0, K::kDesktop, kFullScreen, false},
    };
    for (const Case& c : cases) {
        BusyObservation seen{c.answered, c.state, c.kind, c.window, kMonitor, {}, ForegroundKind::kNone, {}};
        EXPECT_EQ(UserIsBusy(seen), c.busy) << c.name;
    }
}

TEST(UserBusy, WindowOnASecondMonitorIsJudgedAgainstItsOwn) {
    const ScreenRect second{1920, 0, 3200, 1024};
    BusyObservation seen{true, shellstate::kAcceptsNotifications, ForegroundKind::kOrdinary, second, second, {}, ForegroundKind::kNone, {}};
    EXPECT_TRUE(UserIsBusy(seen));
    seen.monitor = {1920, -200, 3200, 1024};  // taller than the window
    EXPECT_FALSE(UserIsBusy(seen));
    seen.monitor = {};  // unreadable
    EXPECT_FALSE(UserIsBusy(seen));
}

// Slides on the projector while the presenter works on the laptop: each
// monitor for itself. The prompt waits while the window in front is full
// screen, wherever; the spectacles step aside only where one covers theirs.
TEST(UserBusy, SpectaclesStepAsideOnlyOnTheirOwnMonitor) {
    using K = ForegroundKind;
    const ScreenRect laptop = kMonitor;
    const ScreenRect projector{1920, 0, 3200, 1024};
    const ScreenRect onLaptop{100, 100, 900, 700};
    struct Case {
        const char* name;
        K front;
        ScreenRect window, monitor;
        ScreenRect spectacles;
        K besideKind;
        ScreenRect beside;
        BusyJudgement judged;
    };
    const Case cases[] = {
        {"full screen in front on the other monitor", K::kOrdinary, projector, projector, laptop, K::kOrdinary,
         onLaptop, {true, false}},
        {"full screen on theirs, not in front", K::kOrdinary, onLaptop, laptop, projector, K::kOrdinary, projector,
         {false, true}},
        {"full screen in front on theirs", K::kOrdinary, projector, projector, projector, K::kNone, {},
         {true, true}},
        {"maximised on theirs, not in front", K::kOrdinary, onLaptop, laptop, projector, K::kMaximised, projector,
         {false, false}},
        {"only the desktop on theirs", K::kOrdinary, onLaptop, laptop, projector, K::kDesktop, projector,
         {false, false}},
        {"their monitor unknown", K::kOrdinary, projector, projector, {}, K::kNone, {}, {true, true}},
    };
    for (const Case& c : cases) {
        BusyObservation seen{true,         shellstate::kAcceptsNotifications, c.front, c.window, c.monitor,
                             c.spectacles, c.besideKind,                      c.beside};
        EXPECT_EQ(JudgeBusy(seen), c.judged) << c.name;
    }
}

// A passing shell window (Alt+Tab, the snipping overlay) is busy for one
// tick: nothing moves. Busy seen twice is believed; free is believed at once.
TEST(UserBusy, BusyIsBelievedOnTheSecondTickInARow) {
    const BusyJudgement busy{true, true}, free{};
    struct Case {
        const char* name;
        std::vector<BusyJudgement> seen, steady;
    };
    const Case cases[] = {
        {"busy on one tick only", {free, busy, free, free}, {free, free, free, free}},
        {"busy on two ticks", {busy, busy, busy}, {free, busy, busy}},
        {"free ends it at once", {busy, busy, free, busy}, {free, busy, free, free}},
        {"each half for itself", {{true, false}, {true, true}, {false, true}}, {free, {true, false}, {false, true}}},
    };
    for (const Case& c : cases) {
        BusySteadiness steadiness;
        for (size_t i = 0; i < c.seen.size(); ++i)
            EXPECT_EQ(steadiness.Next(c.seen[i]), c.steady[i]) << c.name << ", tick " << i;
    }
    BusySteadiness forgetting;
    forgetting.Next(busy);
    forgetting.Forget();
    EXPECT_EQ(forgetting.Next(busy), free) << "a tick that looked at nothing breaks the row";
}

}  // namespace
