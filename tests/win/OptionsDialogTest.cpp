// The settings dialog run for real over its resource, worked from a second
// thread: what it shows, how it takes and checks the values, and the
// controls that follow the window type. "Pass.bin" holds the empty
// password, so "Применить" passes the password query unseen.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/LumeyraApp.h"
#include "framework/Handles.h"
#include "res/resource.h"
#include "settings/OptionsDialog.h"
#include "tests/support/Accessible.h"
#include "tests/win/DialogScript.h"
#include "tests/win/ProgramFolder.h"

namespace {

constexpr char kTitle[] = "Настройки";
constexpr char kEditPasswordTitle[] = "Установка / Изменение / Удаление  Пароля";

class OptionsDialog : public ::testing::Test, protected ProgramFolder {
protected:
    OptionsDialog() : ProgramFolder("lumeyra-options-test") {}
    void SetUp() override {
        m_options.m_nTimeWork = 45;
        m_options.m_nTimeRelese = 15;
        m_options.m_nXPos = 120;
        m_options.m_nYPos = 340;
        m_options.m_nWindowType = 1;
        m_options.m_bAutoStart = 1;
        m_options.m_nAlpha = 70;
        m_options.m_bQuietFullScreen = 1;
    }
    COptionsDialog m_options;
};

// A click as the mouse gives it: the button takes the focus, an automatic
// radio button or check box changes its state, then the dialog hears of it.
void Press(HWND dialog, int id) { PostMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0); }
bool Checked(HWND dialog, int id) { return IsDlgButtonChecked(dialog, id) == BST_CHECKED; }
bool Enabled(HWND dialog, int id) { return IsWindowEnabled(GetDlgItem(dialog, id)); }
bool PositionEnabled(HWND dialog) {
    return Enabled(dialog, IDC_X_POS) && Enabled(dialog, IDC_Y_POS) && Enabled(dialog, IDC_TAKE_POSITION);
}
bool PositionDisabled(HWND dialog) {
    return !Enabled(dialog, IDC_X_POS) && !Enabled(dialog, IDC_Y_POS) && !Enabled(dialog, IDC_TAKE_POSITION);
}

// Answers the message box that must come next with OK.
void ExpectMessage(DialogScript& s, const std::string& expected) {
    std::string text;
    HWND box = s.WaitForMessage(text);
    ASSERT_TRUE(box) << "no message, expected " << expected;
    EXPECT_EQ(text, expected);
    DialogScript::Click(box, IDOK);
    s.WaitGone(box);
}

struct ControlRow {
    int id;  // -1: a static without one
    const char* className;
    int x, y, width, height;  // dialog units
    LONG kind;                // the style bits under the class's mask
    bool tabStop, group;
    bool visible = true;
};

// The template in its tab order, which is the reading order: top to bottom,
// left to right, each field after its label.
constexpr ControlRow kLayout[] = {
    {-1, "Static", 9, 10, 75, 10, SS_LEFT, false, false},
    {IDC_TIME_WORK, "Edit", 85, 7, 33, 12, ES_LEFT | ES_AUTOHSCROLL, true, false},
    {-1, "Static", 9, 24, 75, 10, SS_LEFT, false, false},
    {IDC_TIME_RELESE, "Edit", 85, 21, 33, 12, ES_LEFT | ES_AUTOHSCROLL, true, false},
    // Neither radio button has a tab stop of its own: the system gives it to
    // the checked one, here 1009.
    {IDC_WINDOW_ORDINARY, "Button", 9, 41, 78, 10, BS_AUTORADIOBUTTON, false, true},
    {IDC_WINDOW_PASS_THROUGH, "Button", 9, 54, 175, 11, BS_AUTORADIOBUTTON, true, false},
    {-1, "Static", 15, 78, 8, 8, SS_LEFT, false, true},
    {IDC_X_POS, "Edit", 28, 76, 38, 12, ES_LEFT | ES_AUTOHSCROLL, true, false},
    {-1, "Static", 85, 78, 8, 8, SS_LEFT, false, false},
    {IDC_Y_POS, "Edit", 100, 76, 38, 12, ES_LEFT | ES_AUTOHSCROLL, true, false},
    {IDC_TAKE_POSITION, "Button", 156, 76, 16, 14, BS_PUSHBUTTON, true, false},
    {-1, "Button", 7, 67, 172, 26, BS_GROUPBOX, false, false},
    {-1, "Static", 10, 100, 85, 9, SS_LEFT, false, false},
    {IDC_ALPHA, "Edit", 81, 98, 26, 13, ES_LEFT | ES_AUTOHSCROLL, true, false},
    {IDC_PASSWORD_LINK, "Static", 150, 99, 29, 11, SS_LEFT | SS_NOTIFY, true, false},
    {IDC_AUTO_START, "Button", 9, 114, 92, 11, BS_AUTOCHECKBOX, true, true},
    {IDC_QUIET_FULL_SCREEN, "Button", 9, 128, 160, 11, BS_AUTOCHECKBOX, true, true},
    // Says that the administrator set some values; hidden where none is.
    // Room for two lines, where the font is too wide for one.
    {IDC_POLICY_NOTE, "Static", 9, 142, 160, 16, SS_LEFT, false, false, false},
    {IDC_OPTIONS_HELP, "Button", 8, 159, 35, 13, BS_PUSHBUTTON, true, false},
    {IDOK, "Button", 81, 159, 49, 13, BS_DEFPUSHBUTTON, true, false},
    {IDCANCEL, "Button", 144, 159, 34, 13, BS_PUSHBUTTON, true, false},
};

LONG KindMask(const std::string& className) {
    if (className == "Button") return BS_TYPEMASK;
    if (className == "Static") return SS_TYPEMASK | SS_NOTIFY;
    return ES_CENTER | ES_RIGHT | ES_MULTILINE | ES_PASSWORD | ES_AUTOHSCROLL | ES_NUMBER;
}

// Dialog units to pixels the way the dialog manager maps each number.
RECT Pixels(HWND dialog, int x, int y, int width, int height) {
    RECT r{x, y, width, height};
    MapDialogRect(dialog, &r);
    return r;
}

void ExpectLayout(HWND dialog) {
    LONG style = GetWindowLongA(dialog, GWL_STYLE);
    LONG wanted = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER;
    EXPECT_EQ(style & wanted, wanted);
    EXPECT_FALSE(GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_TOPMOST);
    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_STREQ(font.lfFaceName, "MS Shell Dlg");
    RECT client{};
    GetClientRect(dialog, &client);
    RECT size = Pixels(dialog, 0, 0, 186, 178);
    EXPECT_EQ(client.right, size.right);
    EXPECT_EQ(client.bottom, size.bottom);

    HWND child = GetWindow(dialog, GW_CHILD);
    for (const ControlRow& row : kLayout) {
        SCOPED_TRACE(testing::Message() << "control " << row.id << " at " << row.x << ", " << row.y);
        ASSERT_TRUE(child);
        EXPECT_EQ(static_cast<WORD>(GetDlgCtrlID(child)), static_cast<WORD>(row.id));
        char className[32] = {};
        GetClassNameA(child, className, sizeof className);
        EXPECT_EQ(lstrcmpiA(className, row.className), 0) << className;
        LONG childStyle = GetWindowLongA(child, GWL_STYLE);
        EXPECT_EQ(childStyle & KindMask(row.className), row.kind);
        EXPECT_EQ((childStyle & WS_TABSTOP) != 0, row.tabStop);
        EXPECT_EQ((childStyle & WS_GROUP) != 0, row.group);
        EXPECT_EQ((childStyle & WS_VISIBLE) != 0, row.visible);
        if (std::string(row.className) == "Edit") {
            EXPECT_TRUE((childStyle & WS_BORDER) || (GetWindowLongA(child, GWL_EXSTYLE) & WS_EX_CLIENTEDGE));
        }
        RECT r{};
        GetWindowRect(child, &r);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        RECT expected = Pixels(dialog, row.x, row.y, row.width, row.height);
        EXPECT_EQ(r.left, expected.left);
        EXPECT_EQ(r.top, expected.top);
        EXPECT_EQ(r.right - r.left, expected.right);
        EXPECT_EQ(r.bottom - r.top, expected.bottom);
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_FALSE(child) << "more controls than the template's";

    // The note is read whole, in the dialog's font, wrapped as the static
    // wraps it.
    HWND note = GetDlgItem(dialog, IDC_POLICY_NOTE);
    RECT room{};
    GetClientRect(note, &room);
    RECT needed = room;
    WindowDc dc(note);
    Selection noteFont(dc.Get(), reinterpret_cast<HFONT>(SendMessageW(note, WM_GETFONT, 0, 0)));
    wchar_t text[128] = {};
    GetWindowTextW(note, text, 128);
    DrawTextW(dc.Get(), text, -1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_LEFT);
    EXPECT_LE(needed.right, room.right);
    EXPECT_LE(needed.bottom, room.bottom);
}

TEST_F(OptionsDialog, ShowsTheFieldsInItsLayoutAndCancelTakesNothing) {
    INT_PTR result = RunScripted(m_options, [&](DialogScript& s) {
        HWND dialog = s.WaitForWindow(kTitle);
        ASSERT_TRUE(dialog);
        ExpectLayout(dialog);

        EXPECT_EQ(DialogScript::Text(dialog, IDC_TIME_WORK), "45");
        EXPECT_EQ(DialogScript::Text(dialog, IDC_TIME_RELESE), "15");
        EXPECT_EQ(DialogScript::Text(dialog, IDC_X_POS), "120");
        EXPECT_EQ(DialogScript::Text(dialog, IDC_Y_POS), "340");
        EXPECT_EQ(DialogScript::Text(dialog, IDC_ALPHA), "70");
        EXPECT_FALSE(Checked(dialog, IDC_WINDOW_ORDINARY));
        EXPECT_TRUE(Checked(dialog, IDC_WINDOW_PASS_THROUGH));
        EXPECT_TRUE(Checked(dialog, IDC_AUTO_START));
        EXPECT_TRUE(Checked(dialog, IDC_QUIET_FULL_SCREEN));
        EXPECT_TRUE(PositionEnabled(dialog));
        EXPECT_EQ(s.Focus(), GetDlgItem(dialog, IDC_TIME_WORK)) << "the first control with a tab stop";

        // The link paints its own text and opens nothing itself.
        HWND link = GetDlgItem(dialog, IDC_PASSWORD_LINK);
        EXPECT_EQ(m_options.m_labelPassword.Hwnd(), link);
        EXPECT_EQ(m_options.m_labelPassword.Text(), "Пароль");
        EXPECT_EQ(DialogScript::Text(dialog, IDC_PASSWORD_LINK), "");
        EXPECT_TRUE(m_options.m_labelPassword.m_bNoOpen);
        LOGFONTA font{};
        GetObjectA(m_options.m_labelPassword.Font(), sizeof font, &font);
        EXPECT_TRUE(font.lfUnderline);

        // A screen reader reads it as a link it can follow, focused once the
        // keyboard is on it.
        testsupport::AccessibleReading read = testsupport::ReadAccessible(link);
        ASSERT_TRUE(read.found);
        EXPECT_EQ(read.name, "Пароль");
        EXPECT_EQ(read.role, ROLE_SYSTEM_LINK);
        EXPECT_EQ(read.state & (STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_LINKED | STATE_SYSTEM_FOCUSED),
                  STATE_SYSTEM_FOCUSABLE | STATE_SYSTEM_LINKED);
        EXPECT_EQ(read.defaultAction, "Click");
        PostMessageA(dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(link), TRUE);
        ASSERT_TRUE(s.WaitUntil([&] { return s.Focus() == link; }));
        EXPECT_TRUE(testsupport::ReadAccessible(link).state & STATE_SYSTEM_FOCUSED);

        // A click on it, or its default action, opens the password dialog
        // over this one.
        for (bool click : {true, false}) {
            SCOPED_TRACE(click ? "click" : "default action");
            if (click)
                PostMessageA(link, WM_LBUTTONDOWN, MK_LBUTTON, 0);
            else
                EXPECT_TRUE(testsupport::DoDefaultAction(link));
            HWND password = s.WaitForWindow(kEditPasswordTitle);
            ASSERT_TRUE(password);
            EXPECT_EQ(GetWindow(password, GW_OWNER), dialog);
            EXPECT_FALSE(IsWindowEnabled(dialog));
            DialogScript::Click(password, IDCANCEL);
            s.WaitGone(password);
            EXPECT_TRUE(s.WaitUntil([&] { return IsWindowEnabled(dialog) != FALSE; }));
        }
        // Disabled, the link offers no default action and takes none.
        EnableWindow(link, FALSE);
        EXPECT_EQ(testsupport::ReadAccessible(link).defaultAction, "");
        EXPECT_FALSE(testsupport::DoDefaultAction(link));
        EnableWindow(link, TRUE);

        // No help file lies beside the test.
        Press(dialog, IDC_OPTIONS_HELP);
        ExpectMessage(s, "Failed to launch help.");

        DialogScript::Type(dialog, IDC_TIME_WORK, "99");
        Press(dialog, IDC_WINDOW_ORDINARY);
        EXPECT_TRUE(s.WaitUntil([&] { return PositionDisabled(dialog); }));
        DialogScript::Click(dialog, IDCANCEL);
        s.WaitGone(dialog);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(m_options.m_nTimeWork, 45);
    EXPECT_EQ(m_options.m_nWindowType, 1);
}

TEST_F(OptionsDialog, WindowTypeEnablesThePositionControls) {
    m_options.m_nWindowType = 0;
    INT_PTR result = RunScripted(m_options, [&](DialogScript& s) {
        HWND dialog = s.WaitForWindow(kTitle);
        ASSERT_TRUE(dialog);
        EXPECT_TRUE(Checked(dialog, IDC_WINDOW_ORDINARY));
        EXPECT_TRUE(s.WaitUntil([&] { return PositionDisabled(dialog); }));

        Press(dialog, IDC_WINDOW_PASS_THROUGH);
        EXPECT_TRUE(s.WaitUntil([&] { return PositionEnabled(dialog); }));
        EXPECT_FALSE(Checked(dialog, IDC_WINDOW_ORDINARY));
        Press(dialog, IDC_WINDOW_ORDINARY);
        EXPECT_TRUE(s.WaitUntil([&] { return PositionDisabled(dialog); }));
        EXPECT_FALSE(Checked(dialog, IDC_WINDOW_PASS_THROUGH));

        // Disabled, and still checked and taken (the focus cannot go into
        // a disabled edit).
        DialogScript::Type(dialog, IDC_X_POS, "10000");
        Press(dialog, IDOK);
        ExpectMessage(s, "Please enter an integer between 0 and 9999.");
        EXPECT_TRUE(IsWindowVisible(dialog));
        EXPECT_EQ(m_options.m_nXPos, 10000);
        DialogScript::Type(dialog, IDC_X_POS, "9999");
        Press(dialog, IDOK);
        s.WaitGone(dialog);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(m_options.m_nWindowType, 0);
    EXPECT_EQ(m_options.m_nXPos, 9999);
}

TEST_F(OptionsDialog, StoredValuesBeyondTheControlsShowAsStoredAndATypeComesBackAsMinusOne) {
    m_options.m_nWindowType = 5;
    m_options.m_bAutoStart = 7;
    m_options.m_nXPos = -20;  // the spectacles dragged left of the primary monitor
    INT_PTR result = RunScripted(m_options, [&](DialogScript& s) {
        HWND dialog = s.WaitForWindow(kTitle);
        ASSERT_TRUE(dialog);
        EXPECT_FALSE(Checked(dialog, IDC_WINDOW_ORDINARY));
        EXPECT_FALSE(Checked(dialog, IDC_WINDOW_PASS_THROUGH));
        EXPECT_TRUE(PositionEnabled(dialog));
        EXPECT_FALSE(Checked(dialog, IDC_AUTO_START));
        EXPECT_EQ(DialogScript::Text(dialog, IDC_X_POS), "-20");
        DialogScript::Type(dialog, IDC_X_POS, "0");
        Press(dialog, IDOK);
        s.WaitGone(dialog);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(m_options.m_nWindowType, -1);
    EXPECT_EQ(m_options.m_bAutoStart, 0);
}

TEST_F(OptionsDialog, TakingTheValuesStopsAtTheFirstBadField) {
    m_options.m_nWindowType = 0;
    INT_PTR result = RunScripted(m_options, [&](DialogScript& s) {
        HWND dialog = s.WaitForWindow(kTitle);
        ASSERT_TRUE(dialog);
        auto focusOn = [&](int id) {
            return s.WaitUntil([&] { return s.Focus() == GetDlgItem(dialog, id); });
        };
        auto wholeTextSelected = [&](int id, DWORD length) {
            return s.WaitUntil([&] {
                DWORD start = 0, end = 0;
                SendMessageA(GetDlgItem(dialog, id), EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                             reinterpret_cast<LPARAM>(&end));
                return start == 0 && end == length;
            });
        };

        DialogScript::Type(dialog, IDC_TIME_WORK, "");
        Press(dialog, IDOK);
        ExpectMessage(s, "Please enter an integer.");
        EXPECT_TRUE(focusOn(IDC_TIME_WORK));
        EXPECT_EQ(m_options.m_nTimeWork, 45) << "no number: the field keeps its value";

        DialogScript::Type(dialog, IDC_TIME_WORK, "0000");
        Press(dialog, IDOK);
        ExpectMessage(s, "Please enter an integer between 1 and 9999.");
        EXPECT_TRUE(focusOn(IDC_TIME_WORK));
        EXPECT_TRUE(wholeTextSelected(IDC_TIME_WORK, 4));
        EXPECT_EQ(m_options.m_nTimeWork, 0) << "out of bounds: the field holds the number";

        // Before the bad y the fields take their values, after it not even
        // the radio buttons and the check box.
        DialogScript::Type(dialog, IDC_TIME_WORK, "12ab");
        DialogScript::Type(dialog, IDC_TIME_RELESE, "  20");
        DialogScript::Type(dialog, IDC_X_POS, "300");
        DialogScript::Type(dialog, IDC_Y_POS, "-1");
        Press(dialog, IDC_WINDOW_PASS_THROUGH);
        Press(dialog, IDC_AUTO_START);
        EXPECT_TRUE(s.WaitUntil([&] { return !Checked(dialog, IDC_AUTO_START); }));
        DialogScript::Type(dialog, IDC_ALPHA, "80");
        Press(dialog, IDOK);
        ExpectMessage(s, "Please enter an integer between 0 and 9999.");
        EXPECT_TRUE(focusOn(IDC_Y_POS));
        EXPECT_TRUE(wholeTextSelected(IDC_Y_POS, 2));
        EXPECT_EQ(m_options.m_nTimeWork, 12);
        EXPECT_EQ(m_options.m_nTimeRelese, 20);
        EXPECT_EQ(m_options.m_nXPos, 300);
        EXPECT_EQ(m_options.m_nYPos, -1);
        EXPECT_EQ(m_options.m_nWindowType, 0);
        EXPECT_EQ(m_options.m_bAutoStart, 1);
        EXPECT_EQ(m_options.m_nAlpha, 70);

        DialogScript::Type(dialog, IDC_Y_POS, "5");
        DialogScript::Type(dialog, IDC_ALPHA, "101");
        Press(dialog, IDOK);
        ExpectMessage(s, "Please enter an integer between 0 and 100.");
        EXPECT_TRUE(focusOn(IDC_ALPHA));
        EXPECT_EQ(m_options.m_nWindowType, 1);
        EXPECT_EQ(m_options.m_bAutoStart, 0);
        EXPECT_EQ(m_options.m_nAlpha, 101);
        EXPECT_TRUE(IsWindowVisible(dialog));

        DialogScript::Type(dialog, IDC_ALPHA, "0");
        Press(dialog, IDC_QUIET_FULL_SCREEN);
        EXPECT_TRUE(s.WaitUntil([&] { return !Checked(dialog, IDC_QUIET_FULL_SCREEN); }));
        Press(dialog, IDOK);
        s.WaitGone(dialog);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(m_options.m_nTimeWork, 12);
    EXPECT_EQ(m_options.m_nTimeRelese, 20);
    EXPECT_EQ(m_options.m_nXPos, 300);
    EXPECT_EQ(m_options.m_nYPos, 5);
    EXPECT_EQ(m_options.m_nWindowType, 1);
    EXPECT_EQ(m_options.m_bAutoStart, 0);
    EXPECT_EQ(m_options.m_nAlpha, 0);
    EXPECT_EQ(m_options.m_bQuietFullScreen, 0);
}

}  // namespace
