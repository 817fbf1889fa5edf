// The rest prompt and the rest timer window run modally over their real
// templates, worked from a second thread.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <atomic>

#include "core/RestDialogs.h"
#include "core/WorkTimer.h"
#include "prompts/Relese.h"
#include "prompts/ReleseTime.h"
#include "tests/support/Accessible.h"
#include "tests/win/DialogScript.h"
#include "tests/win/ProgramFolder.h"

namespace {

TEST(RestPrompt, HideNotificationDoesNotArmTheAlertAgain) {
    ProgramFolder folder("lumeyra-prompt-test");
    CRelese prompt;
    prompt.m_strMessage = "Вы уже работаете без перерыва более 45 мин.";
    INT_PTR result = RunScripted(prompt, [&](DialogScript& s) {
        HWND dialog = s.WaitForWindow("Отдохните");
        ASSERT_TRUE(dialog);
        ASSERT_TRUE(s.WaitUntil([&] { return !prompt.m_bAlertPending; })) << "the alert was never given";
        // As when the owner is minimised: the prompt is being hidden, and
        // sound and beeps would come from a window nobody sees.
        SendMessageA(dialog, WM_SHOWWINDOW, FALSE, SW_PARENTCLOSING);
        EXPECT_FALSE(prompt.m_bAlertPending);
        DialogScript::Click(dialog, IDCANCEL);
        s.WaitGone(dialog);
    });
    EXPECT_EQ(result, IDCANCEL);
}

// The work timer's rest sequence with the real rest timer window; the user
// has chosen to rest.
class RestOnly : public RestDialogs {
public:
    explicit RestOnly(std::function<void(DialogScript&)> script) : m_script(std::move(script)) {}
    void SetMessage(const std::string&) override {}
    int RunPrompt() override { return IDOK; }
    void SetRestSeconds(int32_t seconds) override { restTimer.m_nRestSeconds = seconds; }
    void RunRestTimer() override { RunScripted(restTimer, m_script); }
    int32_t RestTick() const override { return restTimer.m_nTick; }
    CReleseTime restTimer;

private:
    std::function<void(DialogScript&)> m_script;
};

// The laptop is closed for an hour during a quarter-hour rest: the monotonic
// clock jumps an hour between two ticks. (Wine cannot sleep the machine;
// the window's clock stands in for GetTickCount64, which on Windows counts
// on through a sleep while no timer message comes.)
TEST(RestTimer, SleepDuringTheRestCountsAsRest) {
    ProgramFolder folder("lumeyra-rest-timer-test");
    std::atomic<int64_t> now{5000};
    WorkTimerState state;
    state.m_nTimeRelese = 15;
    state.m_nWorkSeconds = 45 * 60 + 1;
    int barAfterWaking = -1;
    std::string readAfterWaking;
    RestOnly dialogs([&](DialogScript& s) {
        HWND rest = nullptr;
        ASSERT_TRUE(s.WaitUntil([&] {
            return (rest = testsupport::FindTopWindow([](HWND h) {
                        DWORD process = 0;
                        GetWindowThreadProcessId(h, &process);
                        return process == GetCurrentProcessId() && GetDlgItem(h, 1021);
                    }));
        }));
        SendMessageA(rest, WM_TIMER, 1, 0);
        now += 3600 * 1000;
        SendMessageA(rest, WM_TIMER, 1, 0);
        barAfterWaking = static_cast<int>(SendDlgItemMessageA(rest, 1021, PBM_GETPOS, 0, 0));
        // A screen reader reads the time that shows now, not the first one.
        readAfterWaking = testsupport::ReadAccessible(GetDlgItem(rest, 1005)).name;
        DialogScript::Click(rest, IDOK);  // "Работать"
        s.WaitGone(rest);
    });
    dialogs.restTimer.m_clock = [&] { return now.load(); };
    int promptOpen = 0;
    RunRestSequence(state, dialogs, promptOpen);
    EXPECT_GE(dialogs.restTimer.m_timeLabel.Text(), "01:00:00");
    EXPECT_LT(dialogs.restTimer.m_timeLabel.Text(), "01:01:00");
    EXPECT_EQ(barAfterWaking, 100);
    EXPECT_GE(readAfterWaking, "01:00:00");
    EXPECT_LT(readAfterWaking, "01:01:00");
    EXPECT_TRUE(dialogs.restTimer.m_bEndSignalled);
    EXPECT_EQ(state.m_nWorkSeconds, 0) << "the hour of rest came back as work";
}

}  // namespace
