#include "prompts/RestClock.h"

#include <cstdio>

namespace {

std::string TwoDigits(int32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, value > 9 ? "%i" : "0%i", static_cast<int>(value));
    return text;
}

}  // namespace

std::string RestClockText(int32_t n) {
    const int32_t s = n % 60;
    const int32_t m = ((n - s) / 60) % 60;
    const int32_t h = ((n - s) / 3600) % 24;
    return TwoDigits(h) + ":" + TwoDigits(m) + ":" + TwoDigits(s);
}

RestClockTick RestClockAdvance(RestClockState& c) {
    RestClockTick tick;
    tick.text = RestClockText(c.m_nTick);
    ++c.m_nTick;
    // Only while within the rest, so a rest of 0 never divides.
    if (c.m_nTick <= c.m_nRestSeconds)
        tick.progress = static_cast<int>(static_cast<double>(c.m_nTick) / c.m_nRestSeconds * 100.0);
    if (c.m_nTick > c.m_nRestSeconds && !c.m_bEndSignalled) {
        tick.signalEnd = true;
        c.m_bEndSignalled = true;
    }
    return tick;
}
