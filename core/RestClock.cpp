#include "core/RestClock.h"

#include <algorithm>
#include <cstdio>

#include "core/LateTick.h"

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

RestClockTick RestClockAdvance(RestClockState& c, int64_t nowMs) {
    // The user rests all along while the machine sleeps.
    const int64_t lateSeconds = LateTickSeconds(c.m_nLastTickMs, nowMs);
    const bool late = lateSeconds > 0;
    if (late) {
        const int64_t room = std::max<int64_t>(0, INT32_MAX / 2 - c.m_nTick);  // no overflow, however long
        c.m_nTick += static_cast<int32_t>(std::min(lateSeconds, room));
    }

    RestClockTick tick;
    tick.text = RestClockText(c.m_nTick);
    ++c.m_nTick;
    // Only while within the rest, so a rest of 0 never divides; a late tick
    // that passes the end fills the bar at once.
    if (c.m_nTick <= c.m_nRestSeconds)
        tick.progress = static_cast<int>(static_cast<double>(c.m_nTick) / c.m_nRestSeconds * 100.0);
    else if (late && c.m_nRestSeconds > 0 && !c.m_bEndSignalled)
        tick.progress = 100;
    if (c.m_nTick > c.m_nRestSeconds && !c.m_bEndSignalled) {
        tick.signalEnd = true;
        c.m_bEndSignalled = true;
    }
    return tick;
}
