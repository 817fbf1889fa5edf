#pragma once

#include <cstdint>

// A one-second timer's tick arriving this much later than the previous one
// means the machine slept or the session hung; ticks sent in a burst and
// the 1.6 s of the end-of-rest beeps stay below.
inline constexpr int64_t kLateTickMs = 5000;

// The whole seconds a tick reaching its handler at `nowMs` (by the
// monotonic clock) came late, beyond the one second it stands for: 0 for a
// tick in time and for the first one (`lastTickMs` negative). No tick
// arrives while the machine sleeps, so both clocks count those seconds as
// having passed. Records `nowMs` as the last tick.
inline int64_t LateTickSeconds(int64_t& lastTickMs, int64_t nowMs) {
    const int64_t gap = lastTickMs < 0 ? 0 : nowMs - lastTickMs;
    lastTickMs = nowMs;
    return gap >= kLateTickMs ? gap / 1000 - 1 : 0;
}
