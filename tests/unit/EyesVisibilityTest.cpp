#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/EyesVisibility.h"

namespace {

using Change = EyesVisibility::Change;
using Display = EyesVisibility::Display;

// One report to the rule: a session event, a display state or an opacity.
struct Report {
    enum Kind { kSession, kConsoleDisplay, kSessionDisplay, kOpacity, kHidden } kind;
    uint32_t value;
    Change expected;
};

Change Apply(EyesVisibility& eyes, const Report& r) {
    switch (r.kind) {
        case Report::kSession:
            return eyes.SessionChanged(r.value);
        case Report::kConsoleDisplay:
            return eyes.DisplayChanged(Display::kConsole, r.value);
        case Report::kSessionDisplay:
            return eyes.DisplayChanged(Display::kSession, r.value);
        case Report::kOpacity:
            return eyes.OpacityChanged(static_cast<uint8_t>(r.value));
        case Report::kHidden:
            return eyes.HiddenChanged(r.value != 0);
    }
    return Change::kNone;
}

TEST(EyesVisibility, StopsWhileNobodyCanSeeAndPlaysOnlyWhenEverythingShowsAgain) {
    constexpr auto S = Report::kSession, C = Report::kConsoleDisplay, D = Report::kSessionDisplay,
                   O = Report::kOpacity, H = Report::kHidden;
    constexpr auto none = Change::kNone, stop = Change::kStop, play = Change::kPlay;
    constexpr uint32_t lock = 7, unlock = 8, logon = 5, consoleOn = 1, consoleOff = 2, remoteOn = 3,
                       remoteOff = 4;
    constexpr uint32_t off = 0, on = 1, dimmed = 2;
    struct Case {
        const char* name;
        std::vector<Report> reports;
    };
    const Case cases[] = {
        {"lock, unlock", {{S, lock, stop}, {S, unlock, play}}},
        {"a second lock or unlock changes nothing",
         {{S, unlock, none}, {S, lock, stop}, {S, lock, none}, {S, unlock, play}, {S, unlock, none}}},
        {"log-on and other events change nothing",
         {{S, logon, none}, {S, 9, none}, {S, lock, stop}, {S, 6, none}, {S, unlock, play}}},
        {"console and remote disconnection",
         {{S, consoleOff, stop}, {S, consoleOn, play}, {S, remoteOff, stop}, {S, remoteOn, play}}},
        {"switched away: locked and disconnected until both end",
         {{S, lock, stop}, {S, consoleOff, none}, {S, consoleOn, none}, {S, unlock, play}}},
        {"reconnected from afar while still locked",
         {{S, lock, stop}, {S, remoteOff, none}, {S, remoteOn, none}, {S, unlock, play}}},
        {"display off, dimmed, on",
         {{C, off, stop}, {C, dimmed, play}, {C, off, stop}, {C, on, play}, {C, on, none}}},
        {"unlocked with the display still off",
         {{C, off, stop}, {S, lock, none}, {S, unlock, none}, {C, on, play}}},
        {"the session's display counts once reported",
         {{C, off, stop}, {D, on, play}, {C, off, none}, {D, off, stop}, {C, on, none}, {D, dimmed, play}}},
        {"opacity 0 and back; other opacities change nothing",
         {{O, 178, none}, {O, 0, stop}, {O, 0, none}, {O, 127, play}, {O, 255, none}}},
        {"opacity back while locked", {{O, 0, stop}, {S, lock, none}, {O, 178, none}, {S, unlock, play}}},
        {"hidden for a full-screen program, also while locked",
         {{H, 1, stop}, {H, 1, none}, {H, 0, play}, {H, 1, stop}, {S, lock, none}, {H, 0, none}, {S, unlock, play}}},
    };
    for (const Case& c : cases) {
        EyesVisibility eyes;
        for (size_t i = 0; i < c.reports.size(); ++i)
            EXPECT_EQ(Apply(eyes, c.reports[i]), c.reports[i].expected) << c.name << ", report " << i;
    }
}

}  // namespace
