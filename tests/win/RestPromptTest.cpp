// The rest prompt run modally over its real template, worked from a second
// thread.
#include <gtest/gtest.h>
#include <windows.h>

#include "prompts/Relese.h"
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

}  // namespace
