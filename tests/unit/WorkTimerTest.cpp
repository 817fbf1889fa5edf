#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <vector>

#include "core/NotifyIconLook.h"
#include "core/RestDialogs.h"
#include "core/WorkTimer.h"

namespace {

// The notification icon's tip says the work's state under the program's
// name.
std::string WorkLine(const WorkTimerState& state) {
    const std::string tip = NotifyIconFor(state).tip;
    EXPECT_EQ(tip.rfind("Lumeyra\n", 0), 0u) << tip;
    return tip.substr(tip.find('\n') + 1);
}

// Records what the work timer asks of the world; the dialogs log their
// construction, runs and destruction into the same list, with the state of
// the prompt-open flag where it matters.
class FakeHost : public WorkTimerSenses {
public:
    CursorPoint cursor;
    bool readable = true;
    bool keyDown = false;
    int keyQueries = 0, resets = 0;
    int64_t now = 0;
    int promptResult = 1;
    int32_t restTick = 0;
    int promptOpen = 0;
    std::vector<std::string> log;
    std::vector<std::string> messages;
    std::function<void()> whilePromptOpen;  // e.g. ticks re-entering the handler

    bool CursorPos(CursorPoint& p) override {
        if (readable) p = cursor;
        return readable;
    }
    bool WasKeyDown() override {
        ++keyQueries;
        return keyDown;
    }
    void ResetKeyDown() override {
        ++resets;
        keyDown = false;
    }
    int64_t NowMs() override { return now; }
    std::string Open() const { return " open=" + std::to_string(promptOpen); }
};

// Stand-ins for the two dialogs, held by the program's own pair.
struct FakePrompt {
    explicit FakePrompt(FakeHost& host) : m_host(host) { m_host.log.push_back("create prompt"); }
    ~FakePrompt() { m_host.log.push_back("destroy prompt" + m_host.Open()); }
    int DoModal() {
        m_host.messages.push_back(m_strMessage);
        m_host.log.push_back("prompt" + m_host.Open());
        if (m_host.whilePromptOpen) m_host.whilePromptOpen();
        return m_host.promptResult;
    }
    FakeHost& m_host;
    std::string m_strMessage;
};

struct FakeRestTimer {
    explicit FakeRestTimer(FakeHost& host) : m_host(host) { m_host.log.push_back("create rest timer"); }
    ~FakeRestTimer() { m_host.log.push_back("destroy rest timer" + m_host.Open()); }
    void DoModal() {
        m_host.log.push_back("rest timer " + std::to_string(m_nRestSeconds) + m_host.Open());
        m_nTick = m_host.restTick;
    }
    FakeHost& m_host;
    int32_t m_nRestSeconds = 0;
    int32_t m_nTick = 0;
};

class WorkTimerTest : public ::testing::Test {
protected:
    void Tick(int64_t afterMs = 1000) {
        host.now += afterMs;
        // As the main window does: the dialogs are made only when the rest
        // is due, and live until the sequence is over.
        if (WorkTimerTick(state, host, busy)) {
            RestDialogPair<FakePrompt, FakeRestTimer> dialogs(host);
            RunRestSequence(state, dialogs, host.promptOpen);
        }
    }
    void Active(int n) {
        for (int i = 0; i < n; ++i) {
            ++host.cursor.x;
            Tick();
        }
    }
    void Idle(int n) {
        for (int i = 0; i < n; ++i) Tick();
    }
    // "A5 I3 K1": 5 ticks with the mouse moved, 3 idle, 1 with a key pressed.
    void Run(const std::string& steps) {
        std::istringstream in(steps);
        std::string step;
        while (in >> step) {
            int n = std::stoi(step.substr(1));
            if (step[0] == 'A') Active(n);
            if (step[0] == 'I') Idle(n);
            if (step[0] == 'K')
                for (int i = 0; i < n; ++i) {
                    host.keyDown = true;
                    Tick();
                }
        }
    }
    int Prompts() const { return static_cast<int>(host.messages.size()); }

    WorkTimerState state;
    FakeHost host;
    bool busy = false;  // the user presents or plays full screen
};

TEST_F(WorkTimerTest, CountsFromAScenarioTable) {
    struct Scenario {
        const char* steps;
        int32_t work, idle;
    };
    // Rest time 15 min (R = 900), no prompt reached.
    const Scenario table[] = {
        {"A10", 10, 0},          {"I7", 0, 7},           {"A10 I5", 10, 5},
        {"A10 I5 A1", 15, 0},  // the ended pause counts as work, the tick adds nothing more
        {"A10 I5 A2", 16, 0},    {"I5 A1", 1, 0},  // no work yet: the first active tick sets 1
        {"A10 I900 A1", 910, 0},                   // a pause of exactly R does not reset
        {"A10 I901", 0, 0},                        // one more second resets on the tick it is reached
        {"A10 I901 A1", 1, 0},   {"A10 I2000 A3", 3, 0}, {"K3", 3, 0},  // keys count with the cursor still
        {"A3 K2 I1", 5, 1},
    };
    for (const Scenario& s : table) {
        state = WorkTimerState{};
        host = FakeHost{};
        Run(s.steps);
        EXPECT_EQ(state.m_nWorkSeconds, s.work) << s.steps;
        EXPECT_EQ(state.m_nIdleSeconds, s.idle) << s.steps;
        EXPECT_EQ(Prompts(), 0) << s.steps;
    }
}

TEST_F(WorkTimerTest, PromptOpensOnTheTickWorkPassesTheLimit) {
    Active(2700);
    EXPECT_EQ(Prompts(), 0);
    host.promptResult = 2;
    Active(1);
    ASSERT_EQ(Prompts(), 1);
    EXPECT_EQ(state.m_nWorkSeconds, 2701);
    EXPECT_EQ(host.messages[0], "Вы уже работаете без перерыва (15 мин.) больше 45 мин.\rОтдохните!!!");
    EXPECT_EQ(state.m_nPostponements, 1);
}

TEST_F(WorkTimerTest, PostponementsMoveTheLimitFiveMinutesEach) {
    host.promptResult = 2;
    Active(2701);
    Active(299);
    EXPECT_EQ(Prompts(), 1);
    Active(1);  // 3001 > 50 min
    EXPECT_EQ(Prompts(), 2);
    Active(300);
    EXPECT_EQ(Prompts(), 3);
    EXPECT_EQ(host.messages[1], "Вы уже работаете без перерыва (15 мин.) больше 50 мин.\rОтдохните!!!");
    Active(300);
    ASSERT_EQ(Prompts(), 4);
    EXPECT_EQ(host.messages[3], "Вы уже работаете без перерыва (15 хв.) больше 1 ч. 0 мин. Отдохните!!!");
    // A long pause puts the limit back.
    Idle(901);
    EXPECT_EQ(state.m_nPostponements, 0);
    Active(2701);
    EXPECT_EQ(Prompts(), 5);
}

TEST_F(WorkTimerTest, MessageFormatsByLimitInMinutes) {
    EXPECT_EQ(RestMessage(15, 59), "Вы уже работаете без перерыва (15 мин.) больше 59 мин.\rОтдохните!!!");
    EXPECT_EQ(RestMessage(15, 60), "Вы уже работаете без перерыва (15 хв.) больше 1 ч. 0 мин. Отдохните!!!");
    EXPECT_EQ(RestMessage(5, 125), "Вы уже работаете без перерыва (5 хв.) больше 2 ч. 5 мин. Отдохните!!!");
}

TEST_F(WorkTimerTest, RestSequenceRunsInOrderWithTicksIgnored) {
    state.m_nTimeWork = 1;
    state.m_nTimeRelese = 2;
    host.restTick = 121;
    bool stoppedDuring = false;
    host.whilePromptOpen = [&] {
        stoppedDuring = state.m_bStopped;
        int32_t work = state.m_nWorkSeconds;
        Active(5);  // re-entering ticks change nothing
        EXPECT_EQ(state.m_nWorkSeconds, work);
        // A policy's rest length arriving now: the rest that follows is the
        // one the prompt's message named.
        state.m_nTimeRelese = 7;
    };
    Active(61);
    EXPECT_TRUE(stoppedDuring);
    EXPECT_FALSE(state.m_bStopped);
    EXPECT_EQ(host.log, (std::vector<std::string>{"create prompt", "create rest timer", "prompt open=1",
                                                  "rest timer 120 open=1", "destroy rest timer open=0",
                                                  "destroy prompt open=0"}));
    EXPECT_EQ(state.m_nWorkSeconds, 0);  // a full rest
    EXPECT_EQ(state.m_nIdleSeconds, 0);
}

TEST_F(WorkTimerTest, PostponedPromptDestroysBothDialogsWithoutRunningTheRest) {
    state.m_nTimeWork = 1;
    host.promptResult = 0;  // closed some other way than "rest now"
    Active(61);
    EXPECT_EQ(host.log, (std::vector<std::string>{"create prompt", "create rest timer", "prompt open=1",
                                                  "destroy rest timer open=0", "destroy prompt open=0"}));
    EXPECT_EQ(state.m_nWorkSeconds, 61);
    EXPECT_EQ(state.m_nPostponements, 1);
}

TEST_F(WorkTimerTest, RestCutShortLeavesItsCountAsWork) {
    struct Case {
        int32_t restTick, work;
    };
    for (Case c : {Case{101, 101}, Case{899, 899}, Case{900, 0}, Case{5000, 0}, Case{1, 1}}) {
        state = WorkTimerState{};
        host = FakeHost{};
        state.m_nPostponements = 2;
        host.restTick = c.restTick;
        Active(3301);  // (2 × 5 + 45) × 60 + 1
        ASSERT_EQ(Prompts(), 1);
        EXPECT_EQ(state.m_nWorkSeconds, c.work) << c.restTick;
        EXPECT_EQ(state.m_nPostponements, 0);
    }
}

TEST_F(WorkTimerTest, MovedCursorIsActiveWithoutAskingForKeysButStillResets) {
    Active(3);
    EXPECT_EQ(host.keyQueries, 0);
    EXPECT_EQ(host.resets, 3);
    Idle(2);
    EXPECT_EQ(host.keyQueries, 2);
    EXPECT_EQ(host.resets, 5);
}

TEST_F(WorkTimerTest, StoppedTimerTouchesNothing) {
    Run("A10 I3");
    state.m_bStopped = true;
    host.keyDown = true;
    Run("I5000 A20");
    EXPECT_EQ(state.m_nWorkSeconds, 10);
    EXPECT_EQ(state.m_nIdleSeconds, 3);
    EXPECT_EQ(host.resets, 13);
    EXPECT_TRUE(host.keyDown) << "a key pressed while stopped is reported after the start";
    state.m_bStopped = false;
    Tick();
    EXPECT_EQ(state.m_nWorkSeconds, 13);
}

TEST_F(WorkTimerTest, SleepLongerThanTheRestCountsAsARest) {
    Run("A2640");          // 44 minutes
    host.cursor.x += 100;  // the user comes back and moves the mouse
    Tick(3 * 3600 * 1000);
    EXPECT_EQ(state.m_nWorkSeconds, 1);
    EXPECT_EQ(state.m_nIdleSeconds, 0);
    Active(100);
    EXPECT_EQ(Prompts(), 0);
}

TEST_F(WorkTimerTest, ShortSleepCountsAsAPauseAndBeepsDoNot) {
    Run("A100");
    host.cursor.x += 1;
    Tick(61 * 1000);  // 60 s late
    EXPECT_EQ(state.m_nWorkSeconds, 160);
    Tick(4999);  // under the threshold: an ordinary, if slow, tick
    EXPECT_EQ(state.m_nIdleSeconds, 1);
    host.cursor.x += 1;
    Tick(2600);  // the end-of-rest beeps hold the thread 1.6 s
    EXPECT_EQ(state.m_nWorkSeconds, 161);
}

TEST_F(WorkTimerTest, LateTickWhileStoppedIsNotCountedLater) {
    Run("A100");
    state.m_bStopped = true;
    Tick(3 * 3600 * 1000);  // slept while stopped
    state.m_bStopped = false;
    Active(1);
    EXPECT_EQ(state.m_nWorkSeconds, 101);
}

TEST_F(WorkTimerTest, DuePromptWaitsWhileTheUserIsBusyAndCountsGoOn) {
    state.m_nTimeWork = 1;
    state.m_nTimeRelese = 1;
    host.promptResult = 2;
    busy = true;
    Active(130);
    EXPECT_EQ(Prompts(), 0);
    EXPECT_EQ(state.m_nWorkSeconds, 130);
    EXPECT_TRUE(state.m_bPromptHeld);
    EXPECT_EQ(WorkLine(state), "Отдых отложен: полноэкранная программа");
    busy = false;
    Idle(1);  // the first tick after: the rest is still due
    ASSERT_EQ(Prompts(), 1);
    EXPECT_EQ(host.messages[0], "Вы уже работаете без перерыва (1 мин.) больше 1 мин.\rОтдохните!!!");
    EXPECT_FALSE(state.m_bPromptHeld);
    // Postponed while busy again: the later limit waits the same way.
    busy = true;
    Active(300);
    EXPECT_EQ(Prompts(), 1);
    EXPECT_EQ(state.m_nPostponements, 1);
    // A pause longer than the rest is a rest, held prompt or not.
    Idle(61);
    EXPECT_EQ(state.m_nWorkSeconds, 0);
    EXPECT_FALSE(state.m_bPromptHeld);
    busy = false;
    Idle(1);
    EXPECT_EQ(Prompts(), 1);
    // Busy all day (a full-screen remote desktop): the prompt waits thirty
    // minutes of work past the limit, and then opens all the same.
    busy = true;
    Active(60 + 30 * 60);
    EXPECT_EQ(Prompts(), 1);
    EXPECT_TRUE(state.m_bPromptHeld);
    Active(1);
    ASSERT_EQ(Prompts(), 2);
    EXPECT_EQ(host.messages[1], "Вы уже работаете без перерыва (1 мин.) больше 1 мин.\rОтдохните!!!");
    EXPECT_FALSE(state.m_bPromptHeld);
}

TEST_F(WorkTimerTest, StateTextCountsMinutesToThePromptRoundedUp) {
    struct Case {
        int32_t work, postponements;
        const char* text;
    };
    for (Case c : {Case{0, 0, "До отдыха: 45 мин."}, Case{1, 0, "До отдыха: 45 мин."},
                   Case{60, 0, "До отдыха: 44 мин."}, Case{2641, 0, "До отдыха: 1 мин."},
                   Case{2700, 0, "До отдыха: 1 мин."}, Case{2701, 1, "До отдыха: 5 мин."},
                   Case{2700, 2, "До отдыха: 10 мин."}}) {
        state = WorkTimerState{};
        state.m_nWorkSeconds = c.work;
        state.m_nPostponements = c.postponements;
        EXPECT_EQ(WorkLine(state), c.text) << c.work;
    }
    state.m_bStopped = true;
    EXPECT_EQ(WorkLine(state), "Таймер остановлен");
    std::string during;
    host.whilePromptOpen = [&] { during = WorkLine(state); };
    state = WorkTimerState{};
    state.m_nTimeWork = 1;
    Active(61);
    EXPECT_EQ(during, "Отдых");
    EXPECT_EQ(WorkLine(state), "До отдыха: 1 мин.");
}

TEST_F(WorkTimerTest, UnreadableCursorCountsAsUnchanged) {
    Run("A5");
    host.readable = false;
    host.cursor.x += 50;
    Tick();
    EXPECT_EQ(state.m_nIdleSeconds, 1);
    host.keyDown = true;
    Tick();
    EXPECT_EQ(state.m_nWorkSeconds, 6);
    host.readable = true;
    Tick();  // the position seen at last differs from the one kept
    EXPECT_EQ(state.m_nWorkSeconds, 7);
}

}  // namespace
