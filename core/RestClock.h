#pragma once

#include <cstdint>
#include <optional>
#include <string>

// The rest timer window's count: the seconds rested so far, shown as
// hh:mm:ss, and the bar that fills over the rest length.
struct RestClockState {
    // The number of seconds shown at the next tick; read by the work timer
    // once the window has closed.
    int32_t m_nTick = 0;
    int32_t m_nRestSeconds = 0;
    bool m_bEndSignalled = false;
    // When the count last moved, by the monotonic clock; negative before
    // the window starts counting.
    int64_t m_nLastTickMs = -1;
};

struct RestClockTick {
    std::string text;             // what the display shows now
    std::optional<int> progress;  // new bar position, 0..100, if it moves
    bool signalEnd = false;       // the rest is over: sound the end once
};

// "hh:mm:ss" for `seconds`, hours wrapping at 24.
std::string RestClockText(int32_t seconds);

// One tick of the window's one-second timer, reaching it at `nowMs` by the
// monotonic clock. A tick adds one second; one that comes late, as after a
// sleep of the machine, adds all the time since the previous one, as the
// work timer counts its late ticks.
RestClockTick RestClockAdvance(RestClockState& state, int64_t nowMs);
