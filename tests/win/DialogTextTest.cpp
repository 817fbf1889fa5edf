// Every text of every dialog, read in the font its control draws it in: each
// character has a glyph there (a missing one is drawn as a box), and the text
// fits its control whole, wrapped where the control wraps. Runs under each
// code page the Wine stages give it: the right font on one system can be a
// font without Cyrillic letters on another.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "app/AboutDlg.h"
#include "app/ExiteDlg.h"
#include "core/LabelLayout.h"
#include "core/WorkTimer.h"
#include "framework/Dpi.h"
#include "framework/Handles.h"
#include "framework/Text.h"
#include "framework/WindowText.h"
#include "password/EditPassword.h"
#include "password/QueryPassword.h"
#include "prompts/Relese.h"
#include "prompts/ReleseTime.h"
#include "res/resource.h"
#include "settings/OptionsDialog.h"
#include "tests/support/WinTestSupport.h"
#include "tests/win/DialogScript.h"
#include "tests/win/ProgramFolder.h"

namespace {

// One text as a control shows it: in which font, with which format, in
// which part of the control's client area.
struct ShownText {
    std::wstring text;
    HFONT font;
    UINT format;
    RECT room;
};

UINT StaticFormat(LONG style) {
    UINT prefix = (style & SS_NOPREFIX) ? DT_NOPREFIX : 0;
    switch (style & SS_TYPEMASK) {
    case SS_CENTER: return DT_CENTER | DT_WORDBREAK | DT_EXPANDTABS | prefix;
    case SS_RIGHT: return DT_RIGHT | DT_WORDBREAK | DT_EXPANDTABS | prefix;
    case SS_LEFTNOWORDWRAP: return DT_LEFT | DT_EXPANDTABS | prefix;
    case SS_SIMPLE: return DT_LEFT | DT_SINGLELINE | prefix;
    default: return DT_LEFT | DT_WORDBREAK | DT_EXPANDTABS | prefix;
    }
}

int Scaled(HWND window, int pixelsAt96) {
    WindowDc dc(window);
    return MulDiv(pixelsAt96, GetDeviceCaps(dc.Get(), LOGPIXELSX), 96);
}

// Half the width of a digit in the control's font: the gap between a check
// box and its text.
int HalfDigit(HWND control) {
    WindowDc dc(control);
    Selection font(dc.Get(), reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
    INT width = 0;
    GetCharWidth32W(dc.Get(), L'0', L'0', &width);
    return width / 2;
}

// What a button leaves its caption: push buttons lose their frame, check
// boxes and radio buttons the box before the text, a group box its corners.
bool ButtonText(HWND control, LONG style, ShownText& shown) {
    const UINT wrap = (style & BS_MULTILINE) ? DT_WORDBREAK : DT_SINGLELINE;
    shown.format = DT_CENTER | wrap;
    switch (style & BS_TYPEMASK) {
    case BS_PUSHBUTTON:
    case BS_DEFPUSHBUTTON:
        InflateRect(&shown.room, -Scaled(control, 3), 0);
        return true;
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
    case BS_3STATE:
    case BS_AUTO3STATE:
        shown.room.left += Scaled(control, 13) + HalfDigit(control);
        shown.format = DT_LEFT | wrap;
        return true;
    case BS_GROUPBOX:
        InflateRect(&shown.room, -Scaled(control, 8), 0);
        shown.format = DT_LEFT | DT_SINGLELINE;
        return true;
    default: return false;
    }
}

// The texts the dialog's children show; the program's own labels paint
// theirs, in their own fonts.
std::vector<ShownText> TextsOf(HWND dialog, const std::vector<const CLabel*>& labels) {
    std::vector<ShownText> texts;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        ShownText shown{};
        GetClientRect(child, &shown.room);
        shown.font = reinterpret_cast<HFONT>(SendMessageW(child, WM_GETFONT, 0, 0));
        const LONG style = GetWindowLongW(child, GWL_STYLE);
        wchar_t className[32] = {};
        GetClassNameW(child, className, 32);
        const CLabel* label = nullptr;
        for (const CLabel* l : labels) {
            if (l->Hwnd() == child) label = l;
        }
        if (label) {
            shown.text = Widen(label->Text());
            shown.font = label->Font();
            shown.format = LabelTextFormat(static_cast<uint32_t>(style), label->Text());
        } else if (lstrcmpiW(className, L"Static") == 0) {
            const LONG kind = style & SS_TYPEMASK;
            const bool text = kind == SS_LEFT || kind == SS_CENTER || kind == SS_RIGHT || kind == SS_SIMPLE ||
                              kind == SS_LEFTNOWORDWRAP;
            if (!text) continue;
            shown.text = Widen(WindowText(child));
            shown.format = StaticFormat(style);
        } else if (lstrcmpiW(className, L"Button") == 0) {
            shown.text = Widen(WindowText(child));
            if (!ButtonText(child, style, shown)) continue;
        } else {
            continue;
        }
        // A rule drawn with dashes reaches as far as its control does.
        if (shown.text.find_first_not_of(L'-') == std::wstring::npos) continue;
        texts.push_back(shown);
    }
    return texts;
}

// How much of the font's descent no letter of `text` reaches into: a line
// may lose that much at the bottom and still show every letter whole
// (digits, say, sit on the baseline).
int UnusedDescent(HDC dc, const std::wstring& text) {
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    const MAT2 identity{{0, 1}, {0, 0}, {0, 0}, {0, 1}};
    int below = 0;
    for (wchar_t c : text) {
        if (c == L'\r' || c == L'\n' || c == L' ') continue;
        GLYPHMETRICS gm{};
        if (GetGlyphOutlineW(dc, c, GGO_METRICS, &gm, 0, nullptr, &identity) == GDI_ERROR) return 0;
        below = std::max(below, static_cast<int>(gm.gmBlackBoxY) - static_cast<int>(gm.gmptGlyphOrigin.y));
    }
    return std::max(0, static_cast<int>(tm.tmDescent) - below);
}

// The characters of `text` that `font` has no glyph for.
std::wstring Missing(HDC dc, const std::wstring& text) {
    std::wstring letters;
    for (wchar_t c : text) {
        if (c != L'\r' && c != L'\n' && c != L'\t') letters += c;
    }
    std::vector<WORD> glyphs(letters.size());
    GetGlyphIndicesW(dc, letters.c_str(), static_cast<int>(letters.size()), glyphs.data(),
                     GGI_MARK_NONEXISTING_GLYPHS);
    std::wstring missing;
    for (size_t i = 0; i < letters.size(); ++i) {
        if (glyphs[i] == 0xFFFF) missing += letters[i];
    }
    return missing;
}

void ExpectTextsWhole(HWND dialog, const std::vector<const CLabel*>& labels) {
    const std::vector<ShownText> texts = TextsOf(dialog, labels);
    EXPECT_FALSE(texts.empty());
    WindowDc dc(dialog);
    for (const ShownText& shown : texts) {
        const std::string text = Narrow(shown.text);
        SCOPED_TRACE(text);
        ASSERT_TRUE(shown.font);
        Selection font(dc.Get(), shown.font);
        LOGFONTW lf{};
        GetObjectW(shown.font, sizeof lf, &lf);
        EXPECT_EQ(Narrow(Missing(dc.Get(), shown.text)), "")
            << "letters without a glyph in " << Narrow(lf.lfFaceName) << ", character set "
            << int{lf.lfCharSet};

        // The text laid out as the control lays it out, in its width.
        RECT needed = shown.room;
        needed.bottom = needed.top;
        const UINT measure = shown.format & ~(DT_VCENTER | DT_BOTTOM | DT_CENTER | DT_RIGHT);
        DrawTextW(dc.Get(), shown.text.c_str(), -1, &needed, measure | DT_CALCRECT);
        EXPECT_LE(needed.right - needed.left, shown.room.right - shown.room.left)
            << "too wide for its control, in " << Narrow(lf.lfFaceName);
        EXPECT_LE(needed.bottom - needed.top - UnusedDescent(dc.Get(), shown.text),
                  shown.room.bottom - shown.room.top)
            << "too tall for its control, in " << Narrow(lf.lfFaceName);
    }
}

// Every picture fills its frame at this scale: a bitmap static keeps the
// size its template gives it in dialog units (rather than taking its
// picture's), and the picture it holds has that size, so that the static
// draws it pixel for pixel rather than stretching it.
// Whether every picture has its frame's size.
bool PicturesFitFrames(HWND dialog) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) != SS_BITMAP) continue;
        BITMAP picture{};
        RECT frame{};
        if (!GetObjectW(reinterpret_cast<HGDIOBJ>(SendMessageW(child, STM_GETIMAGE, IMAGE_BITMAP, 0)),
                        sizeof picture, &picture) ||
            !GetClientRect(child, &frame) || picture.bmWidth != frame.right ||
            std::abs(picture.bmHeight) != frame.bottom)
            return false;
    }
    return true;
}

void ExpectPicturesFill(HWND dialog) {
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        const LONG style = GetWindowLongW(child, GWL_STYLE);
        if ((style & SS_TYPEMASK) != SS_BITMAP) continue;
        SCOPED_TRACE("picture " + std::to_string(GetDlgCtrlID(child)));
        EXPECT_TRUE(style & SS_REALSIZECONTROL) << "the static takes its picture's size, not its frame's";
        BITMAP picture{};
        ASSERT_TRUE(GetObjectW(reinterpret_cast<HGDIOBJ>(SendMessageW(child, STM_GETIMAGE, IMAGE_BITMAP, 0)),
                               sizeof picture, &picture));
        RECT frame{};
        GetClientRect(child, &frame);
        EXPECT_EQ(picture.bmWidth, frame.right);
        EXPECT_EQ(std::abs(picture.bmHeight), frame.bottom);
    }
}

// Opens `dialog`, lets `prepare` bring it into the state to look at, checks
// every text it shows and every picture, then closes it with `close`.
void CheckDialog(CDialog& dialog, const std::string& title, const std::vector<const CLabel*>& labels,
                 const std::function<void(DialogScript&, HWND)>& prepare = {}, int close = IDCANCEL) {
    SCOPED_TRACE(title);
    RunScripted(dialog, [&](DialogScript& s) {
        // The rest timer window has no title: it is the one with a bar.
        HWND window = nullptr;
        if (title.empty()) {
            s.WaitUntil([&] {
                return (window = testsupport::FindTopWindow([](HWND h) {
                            DWORD process = 0;
                            GetWindowThreadProcessId(h, &process);
                            return process == GetCurrentProcessId() && GetDlgItem(h, IDC_REST_PROGRESS);
                        }));
            });
        } else {
            window = s.WaitForWindow(title);
        }
        ASSERT_TRUE(window);
        if (prepare) prepare(s, window);
        ExpectTextsWhole(window, labels);
        ExpectPicturesFill(window);
        DialogScript::Click(window, close);
        s.WaitGone(window);
    });
}

class DialogTexts : public ::testing::Test, protected ProgramFolder {
protected:
    DialogTexts() : ProgramFolder("lumeyra-dialog-text-test") {}
};

TEST_F(DialogTexts, EveryLetterHasItsGlyphAndEveryTextFitsItsControl) {
    COptionsDialog options;
    options.m_nTimeWork = 45;
    options.m_nTimeRelese = 15;
    options.m_nAlpha = 70;
    CheckDialog(options, "Настройки", {&options.m_labelPassword}, [](DialogScript&, HWND window) {
        // The administrator's note too, which shows only where a policy set
        // something.
        ShowWindow(GetDlgItem(window, IDC_POLICY_NOTE), SW_SHOWNA);
    });

    CAboutDlg about;
    CheckDialog(about, "About Lumeyra", {&about.m_labelTitle, &about.m_labelMail}, [](DialogScript& s, HWND window) {
        DialogScript::Click(window, IDC_ABOUT_FOLD);
        EXPECT_TRUE(s.WaitUntil([&] { return DialogScript::Text(window, IDC_ABOUT_FOLD) == "<<"; }));
    }, IDOK);

    CExiteDlg question;
    CheckDialog(question, "Завершить работу?", {&question.m_labelQuestion});

    // The rest prompt's messages, under an hour and over.
    for (int limit : {45, 125}) {
        CRelese prompt;
        prompt.m_strMessage = RestMessage(15, limit);
        CheckDialog(prompt, "Отдохните", {});
    }

    CReleseTime restTimer;
    restTimer.m_nRestSeconds = 15 * 60;
    CheckDialog(restTimer, "", {&restTimer.m_timeLabel}, {}, IDOK);

    // The edit dialog sets a password, so that the query shows.
    CEditPassword edit;
    CheckDialog(edit, "Установка / Изменение / Удаление  Пароля", {}, [](DialogScript&, HWND window) {
        DialogScript::Type(window, IDC_NEW_PASSWORD, "x");
        DialogScript::Type(window, IDC_REPEAT_PASSWORD, "x");
    }, IDOK);
    CQueryPassword query;
    CheckDialog(query, "Введите пароль", {&query.m_labelPrompt});
}

// Moved to a monitor of another scale, a dialog scales itself and its
// controls (Windows does so for dialogs; Wine scales nothing on the message,
// so the frames are grown here first); the pictures follow their frames.
TEST_F(DialogTexts, PicturesFollowTheirFramesToAnotherScale) {
    const auto growAndRescale = [](DialogScript& s, HWND window) {
        for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
            if ((GetWindowLongW(child, GWL_STYLE) & SS_TYPEMASK) != SS_BITMAP) continue;
            RECT frame{};
            GetClientRect(child, &frame);
            SetWindowPos(child, nullptr, 0, 0, frame.right * 3 / 2, frame.bottom * 3 / 2,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        }
        RECT place{};
        GetWindowRect(window, &place);
        SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&place));
        // The pictures follow once the dialog manager has laid the dialog out.
        s.WaitUntil([window] { return PicturesFitFrames(window); });
    };
    CAboutDlg about;
    CheckDialog(about, "About Lumeyra", {&about.m_labelTitle, &about.m_labelMail}, growAndRescale, IDOK);
    CRelese prompt;
    prompt.m_strMessage = RestMessage(15, 45);
    CheckDialog(prompt, "Отдохните", {}, growAndRescale);
}

}  // namespace
