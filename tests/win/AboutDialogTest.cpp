// The About box run modally over its real template, worked from a second
// thread: what the folded box shows, its title and mail link, and the ">>"
// button that unfolds and folds the description.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "app/AboutDlg.h"
#include "app/LumeyraApp.h"
#include "framework/Dpi.h"
#include "framework/Handles.h"
#include "framework/WindowText.h"
#include "res/resource.h"
#include "tests/support/Accessible.h"
#include "tests/support/ObjectCounts.h"
#include "tests/support/WinTestSupport.h"
#include "tests/win/DialogScript.h"

namespace {

constexpr char kTitle[] = "About Lumeyra";
constexpr char kAddress[] = "lumeyra@lumeyra.dev";
constexpr char kAuthor[] = "Lumeyra developers\rКиїв, 2026";
constexpr char kFeedback[] =
    "Автор будет очень благодарен за любой отзыв о программе, о пользе которую она вам принесла, или же "
    "ваших "
    "мыслях о том, как вы хотели бы ее усовершенствовать.";
const char* const kDescriptions[] = {
    "Lumeyra - программа для уменьшения нагрузки на глаза во время работы за компьютером. Когда программа "
    "\"мигает\", то подсознательно человек также начинает чаще мигать, что дает больше времени для отдыха "
    "глаз.",
    "После  промежутка времени непрерывной работы, которое задано пользователем (оно определяется  по "
    "изменении "
    "позиции курсора мыши или нажатию клавиш клавиатуры) программа выдает сообщение что пора отдохнуть.",
    "Если позиция курсора мыши не изменяется или не нажимаются клавиши в течение промежутка времнени отдыха, "
    "то "
    "время работы обнуляется.",
};
// Where the folded box ends: the description's top, 117 dialog units.
int FoldedBottom(HWND dialog) {
    RECT r{0, 117, 0, 0};
    MapDialogRect(dialog, &r);
    return r.top;
}

// The dialog's child whose window text is exactly `text`; null if none.
HWND ChildWithText(HWND dialog, const std::string& text) {
    return testsupport::FindChildWindow(dialog, [&](HWND hwnd) { return WindowText(hwnd) == text; });
}

// A child's rectangle in the dialog's client coordinates.
RECT InDialog(HWND dialog, HWND child) {
    RECT r{};
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// Where the window ends, measured from the top of its client area.
// The pixels of `bitmap` (0xRRGGBB), row by row from the top, in its top
// left `width` x `height`.
std::vector<uint32_t> Pixels(HGDIOBJ bitmap, int width, int height) {
    BITMAP size{};
    GetObjectW(bitmap, sizeof size, &size);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = size.bmWidth;
    info.bmiHeader.biHeight = -size.bmHeight;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    std::vector<uint32_t> all(size_t(size.bmWidth) * size.bmHeight);
    WindowDc screen(nullptr);
    GetDIBits(screen.Get(), static_cast<HBITMAP>(bitmap), 0, size.bmHeight, all.data(), &info,
              DIB_RGB_COLORS);
    std::vector<uint32_t> part;
    for (int y = 0; y < std::min(height, int(size.bmHeight)); ++y) {
        for (int x = 0; x < std::min(width, int(size.bmWidth)); ++x)
            part.push_back(all[size_t(y) * size.bmWidth + x] & 0xFFFFFF);
    }
    return part;
}

int ClientBottom(HWND dialog) {
    RECT r{};
    GetWindowRect(dialog, &r);
    POINT corner{r.left, r.bottom};
    ScreenToClient(dialog, &corner);
    return corner.y;
}

// The window height the template asks for, less one caption: worked out
// from the template's 208 dialog units, as the dialog manager sizes it.
int UnfoldedBottom(HWND dialog) {
    RECT frame{0, 0, 223, 208};
    MapDialogRect(dialog, &frame);
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongA(dialog, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongA(dialog, GWL_EXSTYLE)));
    return frame.bottom - frame.top - GetSystemMetrics(SM_CYCAPTION);
}

LOGFONTA FontOf(HGDIOBJ font) {
    LOGFONTA lf{};
    GetObjectA(font, sizeof lf, &lf);
    return lf;
}

class AboutBox : public ::testing::Test {
protected:
    void SetUp() override { App().Init(GetModuleHandleA(nullptr)); }
};

TEST_F(AboutBox, OpensFoldedWithLogoTitleAndMailLink) {
    CAboutDlg about;
    INT_PTR result = RunScripted(about, [&](DialogScript& s) {
        HWND dialog = s.WaitForWindow(kTitle);
        ASSERT_TRUE(dialog);
        EXPECT_EQ(ClientBottom(dialog), FoldedBottom(dialog));
        EXPECT_EQ(DialogScript::Text(dialog, IDC_ABOUT_FOLD), ">>");

        // The folded box shows everything above the fold...
        HWND author = ChildWithText(dialog, kAuthor);
        HWND feedback = ChildWithText(dialog, kFeedback);
        EXPECT_TRUE(author) << "author lines";
        EXPECT_TRUE(feedback) << "feedback request";
        std::vector<HWND> shown{author, feedback};
        for (int id : {IDOK, IDC_ABOUT_FOLD, IDC_ABOUT_TITLE, IDC_ABOUT_MAIL})
            shown.push_back(GetDlgItem(dialog, id));
        for (HWND child : shown) {
            if (!child) continue;
            EXPECT_LE(InDialog(dialog, child).bottom, FoldedBottom(dialog)) << GetDlgCtrlID(child);
        }
        // ...and none of the description, which starts below it.
        for (const char* text : kDescriptions) {
            HWND description = ChildWithText(dialog, text);
            ASSERT_TRUE(description) << text;
            EXPECT_GE(InDialog(dialog, description).top, FoldedBottom(dialog)) << text;
        }

        HWND logo = FindWindowExA(dialog, nullptr, "Static", nullptr);
        while (logo && (GetWindowLongA(logo, GWL_STYLE) & SS_TYPEMASK) != SS_BITMAP)
            logo = FindWindowExA(dialog, logo, "Static", nullptr);
        ASSERT_TRUE(logo);
        // Its size, that of its frame at each scale, is checked with every
        // dialog's pictures (DialogTextTest).
        auto picture = reinterpret_cast<HGDIOBJ>(SendMessageA(logo, STM_GETIMAGE, IMAGE_BITMAP, 0));
        ASSERT_TRUE(picture) << "the logo shows no bitmap";
        // At 100 % the logo is the drawing itself, pixel for pixel, cut to its
        // frame: not a copy shrunk or grown by a hair, and blurred.
        if (WindowDpi(dialog) == 96) {
            RECT frame{};
            GetClientRect(logo, &frame);
            GdiHandle drawing(LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDB_ABOUT_EYE)));
            const std::vector<uint32_t> pixels = Pixels(picture, frame.right, frame.bottom);
            EXPECT_EQ(pixels.size(), size_t(frame.right) * frame.bottom);
            EXPECT_TRUE(pixels == Pixels(drawing.Get(), frame.right, frame.bottom))
                << "the logo is resampled";
        }
        EXPECT_LE(InDialog(dialog, logo).bottom, FoldedBottom(dialog));

        EXPECT_EQ(about.m_labelTitle.Text(), "Lumeyra 1.0");
        const LOGFONTA title = FontOf(about.m_labelTitle.Font());
        const LOGFONTA dialogFont = FontOf(reinterpret_cast<HGDIOBJ>(SendMessageA(dialog, WM_GETFONT, 0, 0)));
        EXPECT_STREQ(title.lfFaceName, "Courier");
        EXPECT_EQ(title.lfCharSet, ANSI_CHARSET);
        EXPECT_GT(std::abs(title.lfHeight), 2 * std::abs(dialogFont.lfHeight));

        EXPECT_EQ(about.m_labelMail.Text(), kAddress);
        EXPECT_EQ(about.m_labelMail.LinkTarget(), std::string("mailto:") + kAddress + "?subject=Lumeyra");
        EXPECT_TRUE(GetWindowLongA(GetDlgItem(dialog, IDC_ABOUT_MAIL), GWL_STYLE) & SS_NOTIFY)
            << "without it the link takes no clicks";
        EXPECT_TRUE(GetWindowLongA(GetDlgItem(dialog, IDC_ABOUT_MAIL), GWL_STYLE) & WS_TABSTOP)
            << "without it the keyboard cannot reach the link";

        // What a screen reader reads of the two.
        struct Spoken {
            int id;
            const char* name;
            long role;
            const char* action;
        };
        for (const Spoken& row : {Spoken{IDC_ABOUT_TITLE, "Lumeyra 1.0", ROLE_SYSTEM_STATICTEXT, ""},
                                  Spoken{IDC_ABOUT_MAIL, kAddress, ROLE_SYSTEM_LINK, "Click"}}) {
            const testsupport::AccessibleReading read =
                testsupport::ReadAccessible(GetDlgItem(dialog, row.id));
            EXPECT_EQ(read.name, row.name);
            EXPECT_EQ(read.role, row.role) << row.name;
            EXPECT_EQ(read.defaultAction, row.action) << row.name;
        }

        DialogScript::Click(dialog, IDOK);
        s.WaitGone(dialog);
    });
    EXPECT_EQ(result, IDOK);
}

TEST_F(AboutBox, FoldButtonMovesOnlyTheBottomEdge) {
    CAboutDlg about;
    INT_PTR result = RunScripted(about, [&](DialogScript& s) {
        HWND dialog = s.WaitForWindow(kTitle);
        ASSERT_TRUE(dialog);
        const int unfolded = UnfoldedBottom(dialog);
        ASSERT_GT(unfolded, FoldedBottom(dialog));
        auto press = [&](const char* caption, int bottom) {
            DialogScript::Click(dialog, IDC_ABOUT_FOLD);
            EXPECT_TRUE(s.WaitUntil([&] {
                return DialogScript::Text(dialog, IDC_ABOUT_FOLD) == caption &&
                       ClientBottom(dialog) == bottom;
            }));
            EXPECT_EQ(DialogScript::Text(dialog, IDC_ABOUT_FOLD), caption);
            EXPECT_EQ(ClientBottom(dialog), bottom);
        };
        RECT before{};
        GetWindowRect(dialog, &before);
        press("<<", unfolded);
        press(">>", FoldedBottom(dialog));
        press("<<", unfolded);
        press(">>", FoldedBottom(dialog));
        RECT after{};
        GetWindowRect(dialog, &after);
        EXPECT_EQ(after.left, before.left);
        EXPECT_EQ(after.top, before.top);
        EXPECT_EQ(after.right, before.right);

        // Dragged elsewhere, the box unfolds where it now stands.
        const int width = before.right - before.left;
        SetWindowPos(dialog, nullptr, 40, 30, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        ASSERT_TRUE(s.WaitUntil([&] {
            RECT r{};
            GetWindowRect(dialog, &r);
            return r.left == 40 && r.top == 30;
        }));
        press("<<", unfolded);
        GetWindowRect(dialog, &after);
        EXPECT_EQ(after.left, 40);
        EXPECT_EQ(after.top, 30);
        EXPECT_EQ(after.right - after.left, width);

        DialogScript::Click(dialog, IDOK);
        s.WaitGone(dialog);
    });
    EXPECT_EQ(result, IDOK);
}

// The box runs for weeks, opened again and again: each opening gives back
// every GDI object it made, its eye's bitmap too, and its link's cursor,
// the ones it replaced when moved to a monitor of another scale as well.
TEST_F(AboutBox, OpeningsLeaveNoGdiObjectBehind) {
    auto openAndClose = [] {
        CAboutDlg about;
        RunScripted(about, [](DialogScript& s) {
            HWND dialog = s.WaitForWindow(kTitle);
            ASSERT_TRUE(dialog);
            RECT place{};
            GetWindowRect(dialog, &place);
            SendMessageA(dialog, WM_DPICHANGED, MAKEWPARAM(96, 96), reinterpret_cast<LPARAM>(&place));
            DialogScript::Click(dialog, IDOK);
            s.WaitGone(dialog);
        });
    };
    // Wine's cache of device contexts grows in steps as windows come and
    // go: what the box makes and must delete are the other objects, and the
    // cursors.
    auto count = [] {
        return testsupport::GdiObjects(GetCurrentProcess()).Others() +
               testsupport::CountUserObjects(GetCurrentProcessId()).cursors;
    };
    // The count sees what is made: a hundred brushes read as a hundred more.
    const int empty = count();
    ASSERT_GT(testsupport::GdiObjects(GetCurrentProcess()).total, 0);
    {
        std::vector<GdiHandle> brushes;
        for (int i = 0; i < 100; ++i) brushes.emplace_back(CreateSolidBrush(RGB(i, 0, 0)));
        ASSERT_EQ(count(), empty + 100);
    }
    openAndClose();  // the first may make what lasts, the system's caches
    const int before = count();
    for (int i = 0; i < 20; ++i) openAndClose();
    EXPECT_EQ(count(), before);
}

// Stands in for the main window, which owns the About box and answers the
// application's help command: counts the help commands it is sent.
class MainWindowStandIn : public CDialogImpl<MainWindowStandIn> {
public:
    MainWindowStandIn() : CDialogImpl(IDD_EXITE) {}

    std::atomic<int> m_nHelpCommands{0};

protected:
    // The About box opens from the running window, as from its menu.
    BOOL OnInitDialog() override {
        PostMessageA(Hwnd(), kOpenAbout, 0, 0);
        return TRUE;
    }

private:
    friend class CDialogImpl<MainWindowStandIn>;
    static constexpr UINT kOpenAbout = WM_APP;
    static std::span<const Message> Messages() {
        static constexpr Message table[] = {{kOpenAbout, &MainWindowStandIn::OnOpenAbout}};
        return table;
    }
    static std::span<const Command> Commands() {
        static constexpr Command table[] = {{CDialog::kHelpCommand, &MainWindowStandIn::OnHelp}};
        return table;
    }
    LRESULT OnOpenAbout(WPARAM, LPARAM) {
        CAboutDlg about;
        about.DoModal();
        EndDialog(IDOK);
        return 0;
    }
    void OnHelp() { ++m_nHelpCommands; }
};

TEST_F(AboutBox, F1IsTheMainWindowsHelpCommand) {
    MainWindowStandIn main;
    App().SetMainWindow(&main);
    INT_PTR result = RunScripted(main, [&](DialogScript& s) {
        HWND about = s.WaitForWindow(kTitle);
        ASSERT_TRUE(about);
        ASSERT_TRUE(s.WaitUntil([&] { return GetForegroundWindow() == about; }));
        INPUT f1[2] = {};
        f1[0].type = f1[1].type = INPUT_KEYBOARD;
        f1[0].ki.wVk = f1[1].ki.wVk = VK_F1;
        f1[1].ki.dwFlags = KEYEVENTF_KEYUP;
        SendInput(2, f1, sizeof(INPUT));
        EXPECT_TRUE(s.WaitUntil([&] { return main.m_nHelpCommands > 0; })) << "no help command reached it";
        DialogScript::Click(about, IDOK);
        s.WaitGone(about);
    });
    App().SetMainWindow(nullptr);
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(main.m_nHelpCommands, 1);
}

// Windows tells only top-level windows of a colour-scheme change; the label
// learns of it from its dialog. Wine keeps system colours per process, so
// the change is made here and undone before the box closes; nor can it
// switch a high-contrast theme on, so the address is told that one is on.
TEST_F(AboutBox, ColourSchemeChangeReachesTheLabels) {
    CAboutDlg about;
    std::atomic<bool> highContrast{false};
    about.m_labelMail.m_highContrast = [&] { return highContrast.load(); };
    INT_PTR result = RunScripted(about, [&](DialogScript& s) {
        HWND dialog = s.WaitForWindow(kTitle);
        ASSERT_TRUE(dialog);
        HWND title = GetDlgItem(dialog, IDC_ABOUT_TITLE);
        auto background = [&] {
            HDC dc = GetDC(title);
            COLORREF colour = GetPixel(dc, 1, 1);
            ReleaseDC(title, dc);
            return colour;
        };
        const int element = COLOR_BTNFACE;
        const COLORREF before = GetSysColor(element);
        ASSERT_TRUE(s.WaitUntil([&] { return background() == before; }));
        const COLORREF scheme = RGB(40, 160, 90);
        ASSERT_TRUE(SetSysColors(1, &element, &scheme));
        EXPECT_TRUE(s.WaitUntil([&] { return background() == scheme; }))
            << "the label kept its old background";
        SetSysColors(1, &element, &before);
        EXPECT_TRUE(s.WaitUntil([&] { return background() == before; }));

        // In a high-contrast theme the address takes the theme's colour for
        // links instead of its own blue, and gives it back after.
        HWND mail = GetDlgItem(dialog, IDC_ABOUT_MAIL);
        auto painted = [&](COLORREF colour) {
            RECT client{};
            GetClientRect(mail, &client);
            return testsupport::Capture(mail, client).Count(colour);
        };
        const COLORREF blue = RGB(0, 0, 255), themeLink = RGB(255, 255, 0);
        const int link = COLOR_HOTLIGHT;
        const COLORREF linkBefore = GetSysColor(link);
        ASSERT_TRUE(s.WaitUntil([&] { return painted(blue) > 20; }));
        highContrast = true;
        ASSERT_TRUE(SetSysColors(1, &link, &themeLink));
        EXPECT_TRUE(s.WaitUntil([&] { return painted(themeLink) > 20 && painted(blue) == 0; }));
        highContrast = false;
        SetSysColors(1, &link, &linkBefore);
        EXPECT_TRUE(s.WaitUntil([&] { return painted(blue) > 20; }));
        DialogScript::Click(dialog, IDOK);
        s.WaitGone(dialog);
    });
    EXPECT_EQ(result, IDOK);
}

}  // namespace
