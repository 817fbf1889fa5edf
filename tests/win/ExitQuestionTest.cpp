// The exit question run modally over its real template, worked from a second
// thread: what a screen reader reads of the question.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/ExiteDlg.h"
#include "app/LumeyraApp.h"
#include "res/resource.h"
#include "tests/support/Accessible.h"
#include "tests/win/DialogScript.h"

namespace {

TEST(ExitQuestion, IsReadAloud) {
    App().Init(GetModuleHandleA(nullptr));
    CExiteDlg question;
    INT_PTR result = RunScripted(question, [&](DialogScript& s) {
        HWND dialog = s.WaitForWindow("Завершить работу?");
        ASSERT_TRUE(dialog);
        HWND label = GetDlgItem(dialog, IDC_EXIT_QUESTION);

        const testsupport::AccessibleReading read = testsupport::ReadAccessible(label);
        ASSERT_TRUE(read.found);
        EXPECT_EQ(read.name, "Завершить роботу Lumeyra?");
        EXPECT_EQ(read.role, ROLE_SYSTEM_STATICTEXT);
        EXPECT_EQ(read.defaultAction, "");

        DialogScript::Click(dialog, IDCANCEL);
        s.WaitGone(dialog);
    });
    EXPECT_EQ(result, IDCANCEL);
}

}  // namespace
