// The exit question run modally over its real template, worked from a second
// thread: what a screen reader reads of the question, and the question in a
// high-contrast theme.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>

#include "app/ExiteDlg.h"
#include "app/LumeyraApp.h"
#include "res/resource.h"
#include "tests/support/Accessible.h"
#include "tests/support/WinTestSupport.h"
#include "tests/win/DialogScript.h"

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255), kBlack = RGB(0, 0, 0);

// How many of the label's pixels have this colour, and the colour of its
// corner (the background).
struct Painted {
    int count;
    COLORREF corner;
};

Painted Paint(HWND label, COLORREF colour) {
    RECT client{};
    GetClientRect(label, &client);
    const testsupport::Image image = testsupport::Capture(label, client);
    if (image.pixels.empty()) return {0, CLR_INVALID};
    // The image holds 0x00RRGGBB, a COLORREF 0x00BBGGRR.
    const uint32_t corner = image.At(0, 0);
    return {image.Count(colour), RGB((corner >> 16) & 0xFF, (corner >> 8) & 0xFF, corner & 0xFF)};
}

// Wine cannot switch a high-contrast theme on, and keeps the system colours
// per process: the label is told the theme is on, and the colours of a
// white-on-black theme are set here and put back before the question closes.
TEST(ExitQuestion, IsReadAloudAndFollowsAHighContrastTheme) {
    App().Init(GetModuleHandleA(nullptr));
    CExiteDlg question;
    std::atomic<bool> highContrast{false};
    question.m_labelQuestion.m_highContrast = [&] { return highContrast.load(); };
    INT_PTR result = RunScripted(question, [&](DialogScript& s) {
        HWND dialog = s.WaitForWindow("Завершить работу?");
        ASSERT_TRUE(dialog);
        HWND label = GetDlgItem(dialog, IDC_EXIT_QUESTION);

        const testsupport::AccessibleReading read = testsupport::ReadAccessible(label);
        ASSERT_TRUE(read.found);
        EXPECT_EQ(read.name, "Завершить роботу Lumeyra?");
        EXPECT_EQ(read.role, ROLE_SYSTEM_STATICTEXT);
        EXPECT_EQ(read.defaultAction, "");

        const int elements[] = {COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_BTNFACE, COLOR_BTNTEXT};
        const COLORREF theme[] = {kBlack, kWhite, kBlack, kWhite};
        COLORREF before[std::size(elements)];
        for (size_t i = 0; i < std::size(elements); ++i) before[i] = GetSysColor(elements[i]);
        const COLORREF text = before[1], face = before[2];
        ASSERT_NE(text, kWhite);
        ASSERT_TRUE(s.WaitUntil([&] { return Paint(label, text).count > 50; }));

        // Switching the theme on changes the colours and the setting, each
        // with its message; the label follows the one that comes last.
        ASSERT_TRUE(SetSysColors(std::size(elements), elements, theme));
        EXPECT_TRUE(s.WaitUntil([&] { return Paint(label, kWhite).corner == kBlack; }));
        highContrast = true;
        SendMessageA(dialog, WM_SETTINGCHANGE, SPI_SETHIGHCONTRAST, 0);
        EXPECT_TRUE(s.WaitUntil([&] {
            const Painted p = Paint(label, kWhite);
            return p.count > 50 && p.corner == kBlack;
        })) << "white on black expected, "
            << Paint(label, kWhite).count << " white pixels";

        // Switched off again, the label's own colours come back.
        highContrast = false;
        SetSysColors(std::size(elements), elements, before);
        EXPECT_TRUE(s.WaitUntil([&] {
            const Painted p = Paint(label, text);
            return p.count > 50 && p.corner == face;
        }));

        DialogScript::Click(dialog, IDCANCEL);
        s.WaitGone(dialog);
    });
    EXPECT_EQ(result, IDCANCEL);
}

}  // namespace
