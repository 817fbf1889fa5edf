#include "core/RestClock.h"

#include <gtest/gtest.h>

namespace {

TEST(RestClock, TextWrapsHoursAt24) {
    EXPECT_EQ(RestClockText(0), "00:00:00");
    EXPECT_EQ(RestClockText(1), "00:00:01");
    EXPECT_EQ(RestClockText(61), "00:01:01");
    EXPECT_EQ(RestClockText(300), "00:05:00");
    EXPECT_EQ(RestClockText(3600), "01:00:00");
    EXPECT_EQ(RestClockText(36000 + 600 + 10), "10:10:10");
    EXPECT_EQ(RestClockText(86399), "23:59:59");
    EXPECT_EQ(RestClockText(86400), "00:00:00");
}

TEST(RestClock, FiveMinuteRestFillsTheBarAndSignalsOnce) {
    RestClockState clock;
    clock.m_nRestSeconds = 300;
    clock.m_nTick = 1;
    std::vector<RestClockTick> ticks;
    for (int k = 1; k <= 400; ++k) ticks.push_back(RestClockAdvance(clock, 0));
    EXPECT_EQ(ticks[0].text, "00:00:01");
    EXPECT_EQ(ticks[0].progress, 0);
    EXPECT_EQ(ticks[1].progress, 1);
    EXPECT_EQ(ticks[148].progress, 50);   // tick 149: 150 / 300
    EXPECT_EQ(ticks[298].progress, 100);  // tick 299
    EXPECT_FALSE(ticks[298].signalEnd);
    EXPECT_EQ(ticks[299].text, "00:05:00");
    EXPECT_TRUE(ticks[299].signalEnd);
    EXPECT_FALSE(ticks[299].progress.has_value());
    int signals = 0;
    for (auto& t : ticks) signals += t.signalEnd;
    EXPECT_EQ(signals, 1);
    EXPECT_EQ(ticks[399].text, "00:06:40");  // it keeps counting
    EXPECT_EQ(clock.m_nTick, 401);           // k ticks leave k + 1
}

TEST(RestClock, BarNeverGoesBackwardsOrPastFull) {
    RestClockState clock{1, 7, false};
    int last = 0;
    for (int k = 1; k <= 10; ++k) {
        auto t = RestClockAdvance(clock, 0);
        if (t.progress) {
            EXPECT_GE(*t.progress, last);
            EXPECT_LE(*t.progress, 100);
            last = *t.progress;
        }
    }
    EXPECT_EQ(last, 100);
}

TEST(RestClock, RestOfZeroSignalsAtFirstTickWithoutDividing) {
    RestClockState clock{1, 0, false};
    auto first = RestClockAdvance(clock, 0);
    EXPECT_TRUE(first.signalEnd);
    EXPECT_FALSE(first.progress.has_value());
    EXPECT_FALSE(RestClockAdvance(clock, 0).signalEnd);
}

// The machine sleeps for an hour during a quarter-hour rest: no tick comes
// meanwhile, and the one after the wake-up counts the whole hour.
TEST(RestClock, LateTickCountsTheTimeSinceThePreviousOne) {
    RestClockState clock{1, 900, false, 0};  // opened at 0 ms
    int64_t now = 0;
    auto after = [&](int64_t ms) { return RestClockAdvance(clock, now += ms); };
    EXPECT_EQ(after(1000).text, "00:00:01");
    EXPECT_EQ(after(4999).text, "00:00:02");  // slow, not late
    RestClockTick woke = after(3600 * 1000);
    EXPECT_EQ(woke.text, "01:00:02");
    EXPECT_EQ(woke.progress, 100);
    EXPECT_TRUE(woke.signalEnd);
    EXPECT_GE(clock.m_nTick, clock.m_nRestSeconds);  // the work timer sees a whole rest
    EXPECT_EQ(after(2600).text, "01:00:03");         // the end signal's beeps held the thread
    EXPECT_EQ(after(0).text, "01:00:04");            // ticks in a burst: a second each
    EXPECT_EQ(after(0).text, "01:00:05");

    RestClockState early{1, 900, false, 0};  // asleep before the first tick
    RestClockTick first = RestClockAdvance(early, 7000);
    EXPECT_EQ(first.text, "00:00:07");
    EXPECT_EQ(first.progress, 0);  // 8 of 900 seconds
    EXPECT_FALSE(first.signalEnd);
}

}  // namespace
