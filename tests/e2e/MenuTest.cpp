// The context menu and its commands, reached the ways a user reaches them:
// a right click on the spectacles or on the notification icon, items chosen
// with the arrow keys and Enter.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>

#include "Driver.h"
#include "HelpProbe.h"
#include "core/Password.h"
#include "framework/Text.h"
#include "tests/support/Accessible.h"

namespace {

using namespace std::chrono_literals;
using namespace driver;

constexpr auto kTimeout = 60s;
constexpr UINT kIconId = 128;
const std::string& kEmptyRecord = testsupport::kEmptyPasswordRecord;

// Items by the number of Down presses that reach them from a fresh menu.
enum Item { kAbout = 1, kHelp = 2, kTimer = 3, kSettings = 4, kExit = 5 };

std::vector<uint8_t> Text(const char* s, size_t n) { return {s, s + n}; }

// A control's text: another process's edit answers WM_GETTEXT only, not
// GetWindowText.
std::wstring ControlText(HWND dialog, int id) {
    wchar_t text[256] = {};
    SendMessageW(GetDlgItem(dialog, id), WM_GETTEXT, 256, reinterpret_cast<LPARAM>(text));
    return text;
}

// Types into another process's control, in UTF-16 as a keyboard would.
void Type(HWND dialog, int id, const std::string& text) { SetDlgItemTextW(dialog, id, Widen(text).c_str()); }

// The control with the keyboard focus on a window's thread.
HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
}

// The mouse button or move, through the system's input queue.
void Mouse(DWORD flags, LONG dx = 0) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    input.mi.dx = dx;
    SendInput(1, &input, sizeof input);
}

// The window that has the mouse capture on a window's thread.
HWND CaptureOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndCapture : nullptr;
}

class MenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        WritePasswordFile(kEmptyRecord);
        ForgetSettings();
        StoreSetting("TimeWork", 45);
        StoreSetting("TimeRelese", 15);
        StoreSetting("WindowType", 0);
        StoreSetting("xPos", 0);
        StoreSetting("yPos", 0);
        StoreSetting("alpha", 70);
        StoreSetting("StopTimer", 0);
        BeforeStart();
        m_program = std::make_unique<Program>();
        main = m_program->WaitForWindow(L"Lumeyra", kTimeout);
        ASSERT_TRUE(main) << m_program->State();
        m_program->SetMainWindow(main);
        ASSERT_TRUE(m_program->DriveTime(main));
    }
    // What a journey prepares beyond the usual settings.
    virtual void BeforeStart() {}
    void TearDown() override {
        // Menus open at the pointer: one left over a menu would pick items.
        SetCursorPos(0, 0);
        m_program.reset();
        WritePasswordFile(kEmptyRecord);
    }

    static void WritePasswordFile(const std::string& bytes) {
        testsupport::WriteFileBytes(Folders().exeDir + "\\Pass.bin", bytes);
    }
    // Closed again at once: the program opens the file without sharing.
    static std::string ReadPasswordFile() {
        return testsupport::ReadFileBytes(Folders().exeDir + "\\Pass.bin");
    }
    static void SetPassword(const std::string& password) {
        CMemoryFile file;
        StorePassword(file, password);
        WritePasswordFile(file.Bytes());
    }

    Program& program() { return *m_program; }
    HWND Menu() const { return FindMenu(*m_program); }
    // Opens the menu from the notification icon (the icon's callback is
    // WM_SYSCOMMAND with its id) or from the window.
    HWND OpenMenu(bool fromIcon = true) {
        if (fromIcon)
            PostMessageA(main, WM_SYSCOMMAND, kIconId, WM_RBUTTONUP);
        else
            PostMessageA(main, WM_RBUTTONUP, 0, MAKELPARAM(47, 32));
        HWND menu = nullptr;
        WaitFor([&] { return (menu = Menu()) != nullptr; }, 10s);
        return menu;
    }
    void Choose(HWND menu, Item item) {
        for (int i = 0; i < item; ++i) PostMessageA(menu, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageA(menu, WM_KEYDOWN, VK_RETURN, 0);
        WaitFor([&] { return Menu() == nullptr; }, 10s);
    }
    bool Command(Item item, bool fromIcon = true) {
        HWND menu = OpenMenu(fromIcon);
        if (!menu) return false;
        Choose(menu, item);
        return true;
    }
    HWND WaitForDialog(const wchar_t* title) const { return m_program->WaitForWindow(title, kTimeout); }
    bool Shown(const wchar_t* title) const {
        return m_program->FindOwnWindow([title](HWND h) { return TextOf(h) == title; }) != nullptr;
    }
    // A message box of the program: the one window with the box's text
    // control.
    // Waits for the program's message box, checks its text and its caption
    // (the application's name), and answers OK.
    void Answer(const std::wstring& expected) {
        HWND box = m_program->WaitForWindow([](HWND h) { return GetDlgItem(h, 0xFFFF) != nullptr; }, 20s);
        ASSERT_TRUE(box) << "no message box saying " << expected;
        EXPECT_EQ(TextOf(GetDlgItem(box, 0xFFFF)), expected);
        EXPECT_EQ(TextOf(box), L"Lumeyra");
        Click(box, IDOK);
        EXPECT_TRUE(WaitGone(box));
    }
    // In the password query: a wrong password is refused and the field
    // emptied, then the right one is taken and the query closes.
    void WrongThenRight(HWND query, const std::string& wrong, const std::string& right) {
        Type(query, 1022, wrong);
        Click(query, IDOK);
        Answer(L"Неверный пароль");
        EXPECT_TRUE(WaitFor([&] { return ControlText(query, 1022).empty(); }, 10s));
        Type(query, 1022, right);
        Click(query, IDOK);
        EXPECT_TRUE(WaitGone(query));
    }
    void Click(HWND dialog, int id) { PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
    bool WaitGone(HWND window) {
        return WaitFor([&] { return !IsWindow(window) || !IsWindowVisible(window); }, 20s);
    }
    std::vector<uint8_t> Stored(const char* name) {
        return ReadRaw(HKEY_CURRENT_USER, "Software\\Lumeyra", name).data;
    }

    HWND main = nullptr;

private:
    std::unique_ptr<Program> m_program;
};

TEST_F(MenuTest, TimerStopsAndStartsAndTheIconFollows) {
    ASSERT_TRUE(WaitFor([] { return YellowTrayPixels() > 0; }, 10s));
    // The tip tells the minutes to the rest as they go.
    EXPECT_EQ(NotifyIconTip(L"Lumeyra"), L"Lumeyra\nДо отдыха: 45 мин.");
    // A minute of work (at least: the program's own ticks before the
    // journey took over its time may have counted a second or two).
    for (int i = 0; i < 61; ++i) ActiveTick(main);
    EXPECT_TRUE(WaitFor([] { return NotifyIconTip(L"Lumeyra") == L"Lumeyra\nДо отдыха: 44 мин."; }, 10s))
        << Narrow(NotifyIconTip(L"Lumeyra"));
    HWND menu = OpenMenu();
    ASSERT_TRUE(menu);
    RECT r{};
    GetWindowRect(menu, &r);
    SaveBmp(Capture(nullptr, {r.left - 10, r.top - 10, r.right + 10, r.bottom + 10}), "context-menu.bmp");
    Choose(menu, kTimer);
    EXPECT_TRUE(WaitFor([&] { return Stored("StopTimer") == Text("1\0\0\0", 4); }, 10s));
    EXPECT_TRUE(WaitFor([] { return YellowTrayPixels() == 0; }, 10s)) << "icon 130 not shown";
    EXPECT_TRUE(HasNotifyIcon(main, kIconId));
    EXPECT_EQ(NotifyIconTip(L"Lumeyra"), L"Lumeyra\nТаймер остановлен");

    ASSERT_TRUE(Command(kTimer, false));
    EXPECT_TRUE(WaitFor([&] { return Stored("StopTimer") == Text("0\0\0\0", 4); }, 10s));
    EXPECT_TRUE(WaitFor([] { return YellowTrayPixels() > 0; }, 10s)) << "icon 128 not back";
}

TEST_F(MenuTest, TimerCommandAsksForTheSetPassword) {
    SetPassword("pw");
    ASSERT_TRUE(Command(kTimer));
    HWND query = WaitForDialog(L"Введите пароль");
    ASSERT_TRUE(query);
    Click(query, IDCANCEL);
    ASSERT_TRUE(WaitGone(query));
    Sync(main);
    EXPECT_EQ(Stored("StopTimer"), Text("0\0\0\0", 4));

    ASSERT_TRUE(Command(kTimer));
    query = WaitForDialog(L"Введите пароль");
    ASSERT_TRUE(query);
    WrongThenRight(query, "wrong", "pw");
    EXPECT_TRUE(WaitFor([&] { return Stored("StopTimer") == Text("1\0\0\0", 4); }, 10s));
}

TEST_F(MenuTest, HelpWithoutAHelpFileSaysSo) {
    ASSERT_TRUE(Command(kHelp));
    Answer(L"Failed to launch help.");
}

TEST_F(MenuTest, DraggingMovesTheWindowByTheDisplacement) {
    // The mouse messages are posted: moves of the real pointer reach the
    // program through X asynchronously, late against the window's own moves,
    // so their client coordinates would not add up to a steady displacement.
    SetCursorPos(0, 0);
    RECT before{};
    GetWindowRect(main, &before);
    auto post = [&](UINT message, int x, int y) {
        PostMessageA(main, message, message == WM_LBUTTONUP ? 0 : MK_LBUTTON, MAKELPARAM(x, y));
    };
    // Down on the left lens; each move is relative to that anchor, since
    // the window has followed the cursor after each one.
    post(WM_LBUTTONDOWN, 47, 32);
    post(WM_MOUSEMOVE, 17, 12);
    post(WM_MOUSEMOVE, 27, 7);
    post(WM_LBUTTONUP, 47, 32);
    // Released: a further move leaves the window where it is.
    post(WM_MOUSEMOVE, 147, 32);
    ASSERT_TRUE(HandledPosted(program(), main));
    RECT after{};
    GetWindowRect(main, &after);
    EXPECT_EQ(after.left - before.left, -50);
    EXPECT_EQ(after.top - before.top, -45);
    EXPECT_EQ(after.right - after.left, before.right - before.left);
    EXPECT_EQ(Stored("xPos"), Text("0\0\0\0", 4)) << "a drag is not stored";
}

// Real input here: what matters is where the window is left, not by how
// much it followed the pointer. The capture is taken away mid-drag by a
// dialog opening (the rest prompt can open at that second; Alt+Tab and
// Win+L take it too), and the button goes up over that dialog.
TEST_F(MenuTest, DragThatLosesTheCaptureEndsThere) {
    RECT before{};
    GetWindowRect(main, &before);
    SetCursorPos(before.left + 47, before.top + 32);  // the left lens
    Mouse(MOUSEEVENTF_LEFTDOWN);
    ASSERT_TRUE(WaitFor([&] { return CaptureOf(main) == main; }, 10s)) << "the drag did not start";
    PostMessageA(main, WM_COMMAND, 32775, 0);
    HWND about = WaitForDialog(L"About Lumeyra");
    ASSERT_TRUE(about);
    EXPECT_TRUE(WaitFor([&] { return CaptureOf(main) != main; }, 10s));
    RECT box{};
    GetWindowRect(about, &box);
    SetCursorPos((box.left + box.right) / 2, box.bottom - 5);
    Mouse(MOUSEEVENTF_LEFTUP);
    Click(about, IDOK);
    ASSERT_TRUE(WaitGone(about));

    // The pointer passes over the spectacles with no button pressed...
    SetCursorPos(before.left + 147, before.top + 32);  // the right lens
    Mouse(MOUSEEVENTF_MOVE, 1);
    // ...and a right click there comes behind the moves in the same input
    // queue: once its menu shows, the moves have been handled.
    Mouse(MOUSEEVENTF_RIGHTDOWN);
    Mouse(MOUSEEVENTF_RIGHTUP);
    HWND menu = nullptr;
    ASSERT_TRUE(WaitFor([&] { return (menu = Menu()) != nullptr; }, 10s));
    PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_TRUE(WaitFor([&] { return Menu() == nullptr; }, 10s));
    RECT after{};
    GetWindowRect(main, &after);
    EXPECT_EQ(after.left, before.left) << "the window followed a pointer with no button pressed";
    EXPECT_EQ(after.top, before.top);
}

TEST_F(MenuTest, ExitAsksAndEndsOnlyOnYes) {
    ASSERT_TRUE(Command(kExit, false));
    HWND question = WaitForDialog(L"Завершить работу?");
    ASSERT_TRUE(question);
    EXPECT_EQ(TextOf(GetDlgItem(question, IDOK)), L"Да");
    SaveWindowShot(question, "exit-question.bmp");
    // The icon's menu is refused while the question is open.
    PostMessageA(main, WM_SYSCOMMAND, kIconId, WM_RBUTTONUP);
    Sync(main);
    EXPECT_FALSE(WaitFor([&] { return Menu() != nullptr; }, 1s));
    Click(question, IDCANCEL);
    ASSERT_TRUE(WaitGone(question));
    EXPECT_TRUE(program().Running());

    ASSERT_TRUE(Command(kExit));
    question = WaitForDialog(L"Завершить работу?");
    ASSERT_TRUE(question);
    Click(question, IDOK);
    EXPECT_EQ(program().WaitForExit(20s), 0);
    EXPECT_FALSE(HasNotifyIcon(main, kIconId));
}

}  // namespace

namespace {

// The settings dialog through its menu item: what it shows, what it refuses,
// and what a valid "Применить" stores and applies at once.
TEST_F(MenuTest, SettingsValidateStoreAndApplyAtOnce) {
    ASSERT_TRUE(Command(kSettings));
    HWND dialog = WaitForDialog(L"Настройки");
    ASSERT_TRUE(dialog);
    EXPECT_EQ(ControlText(dialog, 1006), L"45");
    EXPECT_EQ(ControlText(dialog, 1007), L"15");
    EXPECT_EQ(ControlText(dialog, 1014), L"70");
    EXPECT_TRUE(WaitFor([&] { return !IsWindowEnabled(GetDlgItem(dialog, 1010)); }, 10s));
    SaveWindowShot(dialog, "settings-dialog.bmp");

    auto refused = [&](int id, const char* text, const wchar_t* message) {
        Type(dialog, id, text);
        Click(dialog, IDOK);
        Answer(message);
        EXPECT_TRUE(WaitFor([&] { return FocusOf(dialog) == GetDlgItem(dialog, id); }, 10s)) << text;
        EXPECT_TRUE(IsWindowVisible(dialog));
    };
    refused(1006, "", L"Please enter an integer.");
    refused(1006, "0", L"Please enter an integer between 1 and 9999.");
    Type(dialog, 1006, "30");
    refused(1014, "101", L"Please enter an integer between 0 and 100.");

    Type(dialog, 1014, "100");
    Type(dialog, 1007, "12ab");
    Type(dialog, 1010, "100");
    Type(dialog, 1011, "200");
    PostMessageA(GetDlgItem(dialog, 1009), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return IsWindowEnabled(GetDlgItem(dialog, 1010)) != FALSE; }, 10s));
    Click(dialog, IDOK);
    ASSERT_TRUE(WaitGone(dialog));

    EXPECT_TRUE(WaitFor([&] { return Alpha(main) == 255; }, 10s));
    EXPECT_TRUE(ExStyle(main) & WS_EX_TRANSPARENT);
    RECT r{};
    GetWindowRect(main, &r);
    EXPECT_EQ(r.left, 100);
    EXPECT_EQ(r.top, 200);
    EXPECT_EQ(Stored("TimeWork"), Text("30\0\0", 4));
    EXPECT_EQ(Stored("TimeRelese"), Text("12\0\0", 4));
    EXPECT_EQ(Stored("WindowType"), Text("1\0\0\0", 4));
    EXPECT_EQ(Stored("xPos"), Text("100\0", 4));
    EXPECT_EQ(Stored("alpha"), Text("100\0", 4));
}

TEST_F(MenuTest, AboutBoxUnfoldsAndFolds) {
    ASSERT_TRUE(Command(kAbout, false));
    HWND about = WaitForDialog(L"About Lumeyra");
    ASSERT_TRUE(about);
    RECT folded{};
    GetWindowRect(about, &folded);
    SaveWindowShot(about, "about-folded.bmp");
    Click(about, 1013);
    RECT unfolded{};
    // The box moves first and renames the button after.
    EXPECT_TRUE(WaitFor(
        [&] {
            GetWindowRect(about, &unfolded);
            return unfolded.bottom > folded.bottom && TextOf(GetDlgItem(about, 1013)) == L"<<";
        },
        10s));
    EXPECT_EQ(TextOf(GetDlgItem(about, 1013)), L"<<");
    EXPECT_EQ(unfolded.top, folded.top);
    SaveWindowShot(about, "about-unfolded.bmp");
    Click(about, 1013);
    EXPECT_TRUE(WaitFor(
        [&] {
            RECT r{};
            GetWindowRect(about, &r);
            return r.bottom == folded.bottom;
        },
        10s));

    // F1 in the box, which has no help of its own, is the main window's
    // help command.
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == about; }, 10s));
    PressKey(VK_F1);
    Answer(L"Failed to launch help.");

    Click(about, IDOK);
    EXPECT_TRUE(WaitGone(about));
}

}  // namespace

namespace {

// The password's whole life through the menu, with the keyboard alone where
// a user without a mouse needs it: set from the settings dialog's link,
// asked for by "Применить", refused when the old one is wrong, and removed
// again.
TEST_F(MenuTest, PasswordSetAskedForAndRemovedThroughTheSettings) {
    const wchar_t* kEditTitle = L"Установка / Изменение / Удаление  Пароля";
    ASSERT_TRUE(Command(kSettings));
    HWND settings = WaitForDialog(L"Настройки");
    ASSERT_TRUE(settings);
    // From the first field Tab goes where the eye does (past the position
    // fields, disabled for the ordinary window) and reaches the link, which
    // `key` opens.
    auto editPassword = [&](WORD key, const char* old, const char* fresh, const char* repeated) {
        EXPECT_TRUE(WaitFor([&] { return GetForegroundWindow() == settings; }, 10s));
        EXPECT_EQ(FocusOf(settings), GetDlgItem(settings, 1006));
        for (int id : {1007, 1008, 1014, 1024}) {
            PressKey(VK_TAB);
            EXPECT_TRUE(WaitFor([&] { return FocusOf(settings) == GetDlgItem(settings, id); }, 10s))
                << "Tab should reach " << id;
        }
        // As a screen reader in its own process hears it.
        const testsupport::AccessibleReading link = testsupport::ReadAccessible(GetDlgItem(settings, 1024));
        EXPECT_EQ(link.name, "Пароль");
        EXPECT_EQ(link.role, ROLE_SYSTEM_LINK);
        EXPECT_TRUE(link.state & STATE_SYSTEM_FOCUSED);
        SaveWindowShot(settings, "settings-link-focused.bmp");
        PressKey(key);
        HWND edit = WaitForDialog(kEditTitle);
        if (!edit) return edit;
        Type(edit, 1025, old);
        Type(edit, 1026, fresh);
        Type(edit, 1027, repeated);
        Click(edit, IDOK);
        return edit;
    };
    // Cyrillic, which must mean the same on a Windows of any language: kept
    // in code page 1251, and its capitals are another password.
    HWND edit = editPassword(VK_RETURN, "", "пароль", "пароль");
    ASSERT_TRUE(edit);
    ASSERT_TRUE(WaitGone(edit));
    CMemoryFile written(ReadPasswordFile());
    EXPECT_EQ(LoadPassword(written)->m_strPassword, "\xEF\xE0\xF0\xEE\xEB\xFC");

    // "Применить" now asks; a wrong password keeps both dialogs open.
    Type(settings, 1006, "44");
    Click(settings, IDOK);
    HWND query = WaitForDialog(L"Введите пароль");
    ASSERT_TRUE(query);
    SaveWindowShot(query, "password-query.bmp");
    WrongThenRight(query, "ПАРОЛЬ", "пароль");
    ASSERT_TRUE(WaitGone(settings));
    EXPECT_TRUE(WaitFor([&] { return Stored("TimeWork") == Text("44\0\0", 4); }, 10s));

    ASSERT_TRUE(Command(kSettings));
    settings = WaitForDialog(L"Настройки");
    ASSERT_TRUE(settings);
    edit = editPassword(VK_SPACE, "wrong", "", "");
    ASSERT_TRUE(edit);
    Answer(L"Неверный старый пароль");
    EXPECT_TRUE(WaitFor([&] { return ControlText(edit, 1025).empty(); }, 10s));
    Type(edit, 1025, "пароль");
    Click(edit, IDOK);
    ASSERT_TRUE(WaitGone(edit));
    // Back on the link, Escape still closes the dialog.
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == settings; }, 10s));
    ASSERT_TRUE(WaitFor([&] { return FocusOf(settings) == GetDlgItem(settings, 1024); }, 10s));
    PressKey(VK_ESCAPE);
    ASSERT_TRUE(WaitGone(settings));

    EXPECT_EQ(ReadPasswordFile().substr(0, 20), kEmptyRecord);
    // No password: the timer command acts at once, with nothing to answer.
    ASSERT_TRUE(Command(kTimer));
    EXPECT_TRUE(WaitFor([&] { return Stored("StopTimer") == Text("1\0\0\0", 4); }, 10s));
    EXPECT_FALSE(Shown(L"Введите пароль"));
}

}  // namespace

namespace {

// Each way into help opens the help file at its own context: the icon's
// menu and F1 at 0, the spectacles' menu at 1, the settings at 2.
TEST_F(MenuTest, EveryHelpCommandOpensItsTopic) {
    ExpectHelpAt(program(), 0, [&] { ASSERT_TRUE(Command(kHelp)); });
    ExpectHelpAt(program(), 1, [&] { ASSERT_TRUE(Command(kHelp, false)); });

    ASSERT_TRUE(Command(kAbout));
    HWND about = WaitForDialog(L"About Lumeyra");
    ASSERT_TRUE(about);
    ExpectHelpAt(program(), 0, [&] {
        SetForegroundWindow(about);
        ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == about; }, 10s));
        PressKey(VK_F1);
    });
    Click(about, IDOK);
    ASSERT_TRUE(WaitGone(about));

    ASSERT_TRUE(Command(kSettings));
    HWND settings = WaitForDialog(L"Настройки");
    ASSERT_TRUE(settings);
    ExpectHelpAt(program(), 2, [&] { Click(settings, 1017); });
    Click(settings, IDCANCEL);
    EXPECT_TRUE(WaitGone(settings));
}

}  // namespace

namespace {

// What the administrator sets under the machine's policy key holds against
// the user's own settings, from the start and again once Windows announces
// a Group Policy refresh; a value of the wrong type is no policy.
class PolicyTest : public MenuTest {
protected:
    void BeforeStart() override {
        StoreSetting("StopTimer", 1);
        ASSERT_TRUE(WritePolicy("TimeWork", 1));
        ASSERT_TRUE(WritePolicy("AllowStopTimer", 0));
        ASSERT_TRUE(WritePolicy("AllowExit", 0));
        ASSERT_TRUE(WritePolicy("QuietFullScreen", 0));
        ASSERT_TRUE(WritePolicy("TimeRelese", REG_SZ, {'5', 0}));
    }
    // Windows' broadcast once Group Policy has been applied anew.
    void AnnouncePolicy() {
        DWORD_PTR answer = 0;
        SendMessageTimeoutW(main, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"Policy"), SMTO_BLOCK, 10000,
                            &answer);
    }
    HWND Prompt() {
        return program().FindOwnWindow([](HWND h) { return TextOf(h) == L"Отдохните"; }, false);
    }
    // Ticks until the rest prompt shows, each after `input`; the number it
    // took.
    int TicksUntilPrompt(int most, Input input = Input::kKeyAndMouse) {
        return TicksUntil(main, [&] { return Prompt() != nullptr; }, most, input);
    }
    // After a pause longer than a rest of `restMinutes` (the first of its
    // ticks may still find the last input), the 61st active tick opens the
    // prompt with `message`; it is put off again.
    void MinuteOfWorkPrompts(int restMinutes, const wchar_t* message) {
        EXPECT_EQ(TicksUntilPrompt(restMinutes * 60 + 2, Input::kNothing), -1);
        EXPECT_EQ(TicksUntilPrompt(80), 61);
        HWND prompt = Prompt();
        ASSERT_TRUE(prompt);
        EXPECT_EQ(TextOf(GetDlgItem(prompt, 1004)), message);
        Click(prompt, IDCANCEL);
        ASSERT_TRUE(WaitGone(prompt));
    }
};

TEST_F(PolicyTest, HoldAgainstTheUsersSettingsAndFollowARefresh) {
    SetPassword("pw");
    // The user's stopped timer counts; stopping it and exiting do nothing,
    // from the greyed items or posted, and ask for no password.
    EXPECT_TRUE(WaitFor([] { return YellowTrayPixels() > 0; }, 10s)) << "icon 130: the timer stopped";
    ASSERT_TRUE(Command(kTimer));
    ASSERT_TRUE(Command(kExit, false));
    PostMessageA(main, WM_COMMAND, 103, 0);
    PostMessageA(main, WM_COMMAND, 32772, 0);
    ASSERT_TRUE(HandledPosted(program(), main));
    EXPECT_FALSE(Shown(L"Введите пароль"));
    EXPECT_FALSE(Shown(L"Завершить работу?"));

    // The field the policy holds shows its value, disabled, under the
    // line; applying keeps the user's own value in the key.
    ASSERT_TRUE(Command(kSettings));
    HWND dialog = WaitForDialog(L"Настройки");
    ASSERT_TRUE(dialog);
    EXPECT_EQ(ControlText(dialog, 1006), L"1");
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, 1006)));
    EXPECT_EQ(ControlText(dialog, 1007), L"15");
    EXPECT_TRUE(IsWindowEnabled(GetDlgItem(dialog, 1007)));
    EXPECT_EQ(SendMessageW(GetDlgItem(dialog, 1031), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_FALSE(IsWindowEnabled(GetDlgItem(dialog, 1031)));
    HWND note = GetDlgItem(dialog, 1029);
    EXPECT_EQ(TextOf(note), L"Некоторые параметры заданы администратором.");
    EXPECT_TRUE(IsWindowVisible(note));
    SaveWindowShot(dialog, "settings-policy.bmp");
    Type(dialog, 1007, "20");
    Click(dialog, IDOK);
    HWND query = WaitForDialog(L"Введите пароль");
    ASSERT_TRUE(query);
    Type(query, 1022, "pw");
    Click(query, IDOK);
    ASSERT_TRUE(WaitGone(dialog));
    EXPECT_TRUE(WaitFor([&] { return Stored("TimeRelese") == Text("20\0\0", 4); }, 10s));
    EXPECT_EQ(Stored("TimeWork"), Text("45\0\0", 4));
    EXPECT_TRUE(Stored("QuietFullScreen").empty()) << "the user's own choice, never set, stays so";

    // A rest length set while the program runs holds from the refresh on,
    // beside the minute of work set from the start.
    ASSERT_TRUE(WritePolicy("TimeRelese", 7));
    AnnouncePolicy();
    // A minute of work prompts; the user's 45 minutes would not at all.
    MinuteOfWorkPrompts(7, L"Вы уже работаете без перерыва (7 мин.) больше 1 мин.\rОтдохните!!!");

    // Without the policy the user's stopped timer is stopped again.
    RemovePolicy("AllowStopTimer");
    AnnouncePolicy();
    EXPECT_TRUE(WaitFor([] { return YellowTrayPixels() == 0; }, 10s)) << "icon 128: the timer running";
}

// A policy written without a word (reg.exe, a .reg file, Intune's
// ingestion, a script) applies within two seconds all the same: in the open
// settings dialog, to the timer's stop and to the work limit.
class SilentPolicyTest : public PolicyTest {
protected:
    void BeforeStart() override { StoreSetting("StopTimer", 1); }
};

TEST_F(SilentPolicyTest, AppliesWithinTwoSecondsWithoutABroadcast) {
    ASSERT_TRUE(Command(kSettings));
    HWND dialog = WaitForDialog(L"Настройки");
    ASSERT_TRUE(dialog);
    HWND work = GetDlgItem(dialog, 1006);
    ASSERT_TRUE(IsWindowEnabled(work));
    // The policy key does not exist yet: it is created with its values.
    ASSERT_TRUE(WritePolicy("TimeWork", 1));
    ASSERT_TRUE(WritePolicy("TimeRelese", 1));
    auto held = [&] { return !IsWindowEnabled(work) && ControlText(dialog, 1006) == L"1"; };
    EXPECT_TRUE(WaitFor(held, 2s)) << "the field the new policy holds is not greyed";
    EXPECT_TRUE(IsWindowVisible(GetDlgItem(dialog, 1029)));
    // Gone again: the user's own value, free.
    RemovePolicy("TimeWork");
    EXPECT_TRUE(WaitFor([&] { return IsWindowEnabled(work) && ControlText(dialog, 1006) == L"45"; }, 2s));
    ASSERT_TRUE(WritePolicy("TimeWork", 1));
    EXPECT_TRUE(WaitFor(held, 2s));
    Click(dialog, IDCANCEL);
    ASSERT_TRUE(WaitGone(dialog));

    // The user's stopped timer must count now.
    ASSERT_TRUE(WritePolicy("AllowStopTimer", 0));
    EXPECT_TRUE(WaitFor([] { return NotifyIconTip(L"Lumeyra") == L"Lumeyra\nДо отдыха: 1 мин."; }, 2s))
        << "the timer is still stopped";
    MinuteOfWorkPrompts(1, L"Вы уже работаете без перерыва (1 мин.) больше 1 мин.\rОтдохните!!!");
}

}  // namespace
