// The password dialogs and the password file, run for real: the dialogs
// modally over a "Pass.bin" in a folder of the test's own, worked from a
// second thread; the file through the application's read and write.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "app/LumeyraApp.h"
#include "framework/Win32File.h"
#include "framework/WindowText.h"
#include "password/EditPassword.h"
#include "password/PasswordFile.h"
#include "password/QueryPassword.h"
#include "res/resource.h"
#include "tests/support/Accessible.h"
#include "tests/win/DialogScript.h"
#include "tests/win/ProgramFolder.h"

namespace {

constexpr char kQueryTitle[] = "Введите пароль";
constexpr char kEditTitle[] = "Установка / Изменение / Удаление  Пароля";

// Titles of the dialogs that became visible on this thread.
std::vector<std::string> g_shown;

LRESULT CALLBACK WatchShow(int code, WPARAM wParam, LPARAM lParam) {
    auto* message = reinterpret_cast<CWPSTRUCT*>(lParam);
    if (code == HC_ACTION && message->message == WM_SHOWWINDOW && message->wParam) {
        g_shown.push_back(WindowText(message->hwnd));
    }
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

class PasswordDialogs : public ::testing::Test, protected ProgramFolder {
protected:
    PasswordDialogs() : ProgramFolder("lumeyra-password-test") {}
    void SetUp() override {
        g_shown.clear();
        m_hook = SetWindowsHookExA(WH_CALLWNDPROC, WatchShow, nullptr, GetCurrentThreadId());
    }
    void TearDown() override { UnhookWindowsHookEx(m_hook); }

    static std::string FileError(const std::function<void()>& action) {
        try {
            action();
        } catch (const CFileError& e) {
            return e.what();
        }
        return "(no error)";
    }
    bool Shown(const std::string& title) const {
        return std::find(g_shown.begin(), g_shown.end(), title) != g_shown.end();
    }
    // Sets `password` through the edit dialog, starting from no password.
    void SetPassword(const std::string& password) {
        CEditPassword edit;
        INT_PTR result = RunScripted(edit, [&](DialogScript& s) {
            HWND dialog = s.WaitForWindow(kEditTitle);
            ASSERT_TRUE(dialog);
            DialogScript::Type(dialog, IDC_NEW_PASSWORD, password);
            DialogScript::Type(dialog, IDC_REPEAT_PASSWORD, password);
            DialogScript::Click(dialog, IDOK);
            s.WaitGone(dialog);
        });
        ASSERT_EQ(result, IDOK);
    }

    // Sets `password`, checks its record, refuses `wrong` and takes it in
    // the query, then removes it.
    void SetQueryWrongThenRightThenRemove(const std::string& password, const std::string& record,
                                          const std::string& wrong);

    HHOOK m_hook = nullptr;
};

// Run with a script that does nothing: a query that shows after all is
// cancelled at the script's deadline instead of waiting for a user.
INT_PTR RunUnseen(CDialog& dialog) {
    return RunScripted(dialog, [](DialogScript&) {});
}

TEST_F(PasswordDialogs, WithoutPasswordTheQueryPassesUnseen) {
    CQueryPassword query;
    EXPECT_EQ(RunUnseen(query), IDOK);
    EXPECT_FALSE(Shown(kQueryTitle));
}

// The record holds code page 1251, one byte a letter, whatever the system's
// own code page: a Cyrillic password means the same on every Windows, and
// its look-alikes are other passwords (through '?' they matched).
TEST_F(PasswordDialogs, SetQueryWrongThenRightThenRemove) {
    struct Case {
        std::string password, record, wrong;
    };
    for (const Case& c : {Case{"Secret1", "Secret1", "secret1"},  // case matters
                          Case{"Пароль", "\xCF\xE0\xF0\xEE\xEB\xFC", "Пороль"}}) {
        SCOPED_TRACE(c.password);
        g_shown.clear();
        SetQueryWrongThenRightThenRemove(c.password, c.record, c.wrong);
    }
}

void PasswordDialogs::SetQueryWrongThenRightThenRemove(const std::string& password, const std::string& record,
                                                       const std::string& wrong) {
    SetPassword(password);
    auto stored = ReadPasswordFile(App().ExeDir());
    EXPECT_EQ(stored->m_strPassword, record);
    EXPECT_EQ(stored->m_nLength, static_cast<int32_t>(record.size()));

    CQueryPassword query;
    INT_PTR result = RunScripted(query, [&](DialogScript& s) {
        HWND dialog = s.WaitForWindow(kQueryTitle);
        ASSERT_TRUE(dialog);
        LOGFONTA font{};
        GetObjectA(query.m_labelPrompt.Font(), sizeof font, &font);
        EXPECT_STREQ(font.lfFaceName, "Courier");
        // Its letters are Cyrillic: a font of the default character set
        // would draw them in Western glyphs where Windows substitutes none.
        EXPECT_EQ(font.lfCharSet, RUSSIAN_CHARSET);
        EXPECT_EQ(query.m_labelPrompt.Text(), "Введите пароль для изменения настроек");
        const testsupport::AccessibleReading prompt =
            testsupport::ReadAccessible(GetDlgItem(dialog, IDC_PASSWORD_PROMPT));
        EXPECT_EQ(prompt.name, "Введите пароль для изменения настроек") << "what a screen reader reads";
        EXPECT_EQ(prompt.role, ROLE_SYSTEM_STATICTEXT);
        EXPECT_EQ(s.Focus(), GetDlgItem(dialog, IDC_PASSWORD_INPUT));

        DialogScript::Type(dialog, IDC_PASSWORD_INPUT, wrong);
        DialogScript::Click(dialog, IDOK);
        std::string text;
        HWND box = s.WaitForMessage(text);
        ASSERT_TRUE(box);
        EXPECT_EQ(text, "Неверный пароль");
        DialogScript::Click(box, IDOK);
        EXPECT_TRUE(s.WaitUntil([&] { return DialogScript::Text(dialog, IDC_PASSWORD_INPUT).empty(); }));
        EXPECT_TRUE(s.WaitUntil([&] { return s.Focus() == GetDlgItem(dialog, IDC_PASSWORD_INPUT); }));

        DialogScript::Type(dialog, IDC_PASSWORD_INPUT, password);
        DialogScript::Click(dialog, IDOK);
        s.WaitGone(dialog);
    });
    EXPECT_EQ(result, IDOK);

    CEditPassword edit;
    result = RunScripted(edit, [&](DialogScript& s) {
        HWND dialog = s.WaitForWindow(kEditTitle);
        ASSERT_TRUE(dialog);
        DialogScript::Type(dialog, IDC_OLD_PASSWORD, password);
        DialogScript::Click(dialog, IDOK);
        s.WaitGone(dialog);
    });
    EXPECT_EQ(result, IDOK);
    EXPECT_EQ(ReadFile().substr(0, 20), kEmptyRecord);

    g_shown.clear();
    CQueryPassword again;
    EXPECT_EQ(RunUnseen(again), IDOK);
    EXPECT_FALSE(Shown(kQueryTitle));
}

TEST_F(PasswordDialogs, EditRefusesAWrongOldPasswordAndAMismatch) {
    SetPassword("Secret1");
    std::string before = ReadFile();
    CEditPassword edit;
    INT_PTR result = RunScripted(edit, [&](DialogScript& s) {
        HWND dialog = s.WaitForWindow(kEditTitle);
        ASSERT_TRUE(dialog);
        auto fill = [&](const char* old, const char* fresh, const char* repeated) {
            DialogScript::Type(dialog, IDC_OLD_PASSWORD, old);
            DialogScript::Type(dialog, IDC_NEW_PASSWORD, fresh);
            DialogScript::Type(dialog, IDC_REPEAT_PASSWORD, repeated);
            DialogScript::Click(dialog, IDOK);
        };
        auto answer = [&](const std::string& expected) {
            std::string text;
            HWND box = s.WaitForMessage(text);
            ASSERT_TRUE(box);
            EXPECT_EQ(text, expected);
            DialogScript::Click(box, IDOK);
            s.WaitGone(box);
        };

        fill("Secret", "new", "new");
        answer("Неверный старый пароль");
        EXPECT_TRUE(s.WaitUntil([&] { return s.Focus() == GetDlgItem(dialog, IDC_OLD_PASSWORD); }));
        for (int id : {IDC_OLD_PASSWORD, IDC_NEW_PASSWORD, IDC_REPEAT_PASSWORD})
            EXPECT_EQ(DialogScript::Text(dialog, id), "") << id;

        fill("Secret1", "new", "New");
        answer("Не совпадают \"Новый пароль\" и \"Повторите пароль\".");
        EXPECT_TRUE(s.WaitUntil([&] { return s.Focus() == GetDlgItem(dialog, IDC_NEW_PASSWORD); }));
        EXPECT_EQ(DialogScript::Text(dialog, IDC_OLD_PASSWORD), "Secret1");
        EXPECT_EQ(DialogScript::Text(dialog, IDC_NEW_PASSWORD), "");
        EXPECT_EQ(DialogScript::Text(dialog, IDC_REPEAT_PASSWORD), "");

        // A letter "Pass.bin" cannot hold: refused, not stored as '?'.
        fill("Secret1", "Hasło", "Hasło");
        answer(
            "Пароль содержит знаки, которые нельзя сохранить.\rИспользуйте русские, украинские или "
            "латинские буквы, цифры и знаки клавиатуры.");
        EXPECT_TRUE(s.WaitUntil([&] { return s.Focus() == GetDlgItem(dialog, IDC_NEW_PASSWORD); }));
        EXPECT_EQ(DialogScript::Text(dialog, IDC_NEW_PASSWORD), "");

        DialogScript::Click(dialog, IDCANCEL);
        s.WaitGone(dialog);
    });
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(ReadFile(), before);
}

TEST_F(PasswordDialogs, DamagedOrMissingFileKeepsTheDialogOpen) {
    // "pass" stored with a length field of 5.
    SetPassword("pass");
    std::string damaged = ReadFile();
    damaged[damaged.size() - 4] = '\x05';
    WriteFile(damaged);

    CQueryPassword query;
    INT_PTR result = RunScripted(query, [&](DialogScript& s) {
        HWND dialog = s.WaitForWindow(kQueryTitle);
        ASSERT_TRUE(dialog);
        DialogScript::Type(dialog, IDC_PASSWORD_INPUT, "pass");
        DialogScript::Click(dialog, IDOK);
        std::string text;
        HWND box = s.WaitForMessage(text);
        EXPECT_EQ(text, "Файл \"Pass.bin\" поврежден.");
        DialogScript::Click(box, IDOK);
        s.WaitGone(box);
        EXPECT_EQ(DialogScript::Text(dialog, IDC_PASSWORD_INPUT), "pass");

        // Gone meanwhile: the stop-icon box names the file.
        DeleteFileA(File().c_str());
        DialogScript::Click(dialog, IDOK);
        box = s.WaitForMessage(text);
        EXPECT_EQ(text, File() + " was not found.");
        DialogScript::Click(box, IDOK);
        s.WaitGone(box);
        EXPECT_TRUE(IsWindowVisible(dialog));
        DialogScript::Click(dialog, IDCANCEL);
        s.WaitGone(dialog);
    });
    EXPECT_EQ(result, IDCANCEL);
}

TEST_F(PasswordDialogs, FileErrorsOfTheRealFile) {
    DeleteFileA(File().c_str());
    EXPECT_EQ(FileError([] { ReadPasswordFile(App().ExeDir()); }), File() + " was not found.");
    EXPECT_EQ(FileError([] { WritePasswordFile(App().ExeDir(), "x"); }), File() + " was not found.");
    EXPECT_EQ(GetFileAttributesA(File().c_str()), INVALID_FILE_ATTRIBUTES) << "nothing is created";

    // A read-only file can't show the refusal here: the tests may run as
    // root, whom the system lets write anyway. A folder in the file's place
    // is refused to everyone.
    ASSERT_TRUE(CreateDirectoryA(File().c_str(), nullptr));
    const std::string denied = "Access to " + File() + " was denied.";
    EXPECT_EQ(FileError([] { ReadPasswordFile(App().ExeDir()); }), denied);
    EXPECT_EQ(FileError([] { WritePasswordFile(App().ExeDir(), "x"); }), denied);
    RemoveDirectoryA(File().c_str());
    WriteFile(kEmptyRecord);

    HANDLE other = CreateFileA(File().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(other, INVALID_HANDLE_VALUE);
    const std::string sharing = "A sharing violation occurred while accessing " + File() + ".";
    EXPECT_EQ(FileError([] { ReadPasswordFile(App().ExeDir()); }), sharing);
    EXPECT_EQ(FileError([] { WritePasswordFile(App().ExeDir(), "x"); }), sharing);
    CloseHandle(other);

    // A 17-byte password has the prefix 1A, which a C runtime text stream
    // would take for the end of the file.
    WritePasswordFile(App().ExeDir(), "seventeen letters");
    EXPECT_EQ(ReadFile()[15], '\x1A');
    EXPECT_EQ(ReadPasswordFile(App().ExeDir())->m_strPassword, "seventeen letters");
}

}  // namespace
