#include "core/UserBusy.h"

#include <gtest/gtest.h>

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
        {"busy", true, kBusy, K::kOrdinary, kOrdinary, true},
        {"Direct3D full screen", true, kRunningD3dFullScreen, K::kOrdinary, kOrdinary, true},
        {"presentation", true, kPresentationMode, K::kOrdinary, kOrdinary, true},
        {"accepts notifications", true, kAcceptsNotifications, K::kOrdinary, kOrdinary, false},
        {"quiet time after set-up", true, kQuietTime, K::kOrdinary, kOrdinary, false},
        {"windowed store app", true, kApp, K::kOrdinary, kOrdinary, false},
        {"unknown answer", true, 99, K::kOrdinary, kOrdinary, false},
        // The shell says busy whatever is in front.
        {"presentation over the desktop", true, kPresentationMode, K::kDesktop, kFullScreen, true},
        {"presentation, own window in front", true, kPresentationMode, K::kOwn, kOrdinary, true},
        {"busy, no foreground", true, kBusy, K::kNone, {}, true},
        // A shell that always accepts: the foreground window decides.
        {"full screen", true, kAcceptsNotifications, K::kOrdinary, kFullScreen, true},
        {"beyond the edges", true, kAcceptsNotifications, K::kOrdinary, kOverFullScreen, true},
        {"maximised", true, kAcceptsNotifications, K::kOrdinary, kMaximised, false},
        {"maximised, the taskbar hidden", true, kAcceptsNotifications, K::kMaximised, kOverFullScreen, false},
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
        BusyObservation seen{c.answered, c.state, c.kind, c.window, kMonitor};
        EXPECT_EQ(UserIsBusy(seen), c.busy) << c.name;
    }
}

TEST(UserBusy, WindowOnASecondMonitorIsJudgedAgainstItsOwn) {
    const ScreenRect second{1920, 0, 3200, 1024};
    BusyObservation seen{true, shellstate::kAcceptsNotifications, ForegroundKind::kOrdinary, second, second};
    EXPECT_TRUE(UserIsBusy(seen));
    seen.monitor = {1920, -200, 3200, 1024};  // taller than the window
    EXPECT_FALSE(UserIsBusy(seen));
    seen.monitor = {};  // unreadable
    EXPECT_FALSE(UserIsBusy(seen));
}

}  // namespace
