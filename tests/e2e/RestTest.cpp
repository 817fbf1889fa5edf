// The main job: work counted from the mouse and the keyboard, the rest
// prompt past the limit, the postponement, and the rest timer window.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>

#include "Driver.h"
#include "framework/Handles.h"
#include "framework/Text.h"
#include "HelpProbe.h"

namespace {

using namespace std::chrono_literals;
using namespace driver;

constexpr auto kTimeout = 60s;
const wchar_t* const kPromptTitle = L"Отдохните";

// Whether the program reads a sound file beside it: Wine without an audio
// driver plays nothing, but opens and reads the file it is given. The last
// access is set far back first; the file system moves it on at the next read
// (relatime does, as the access is older than the last write).
class SoundFile {
public:
    explicit SoundFile(const std::string& name) : m_path(Widen(Folders().exeDir + "\\" + name)) {
        SetLastAccess(kLongAgo);
    }
    bool Read() const {
        FILETIME access{};
        return Open(GENERIC_READ, [&](HANDLE file) { GetFileTime(file, nullptr, &access, nullptr); }) &&
               Ticks(access) > Ticks(kLongAgo);
    }

private:
    static constexpr FILETIME kLongAgo{0x4FD70000, 0x01BF54B4};  // 2 January 2000
    static uint64_t Ticks(FILETIME t) { return uint64_t{t.dwHighDateTime} << 32 | t.dwLowDateTime; }
    bool Open(DWORD access, const std::function<void(HANDLE)>& use) const {
        HANDLE file = CreateFileW(m_path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                  OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        if (file == INVALID_HANDLE_VALUE) return false;
        use(file);
        CloseHandle(file);
        return true;
    }
    void SetLastAccess(FILETIME when) const {
        Open(FILE_WRITE_ATTRIBUTES, [&](HANDLE file) { SetFileTime(file, nullptr, &when, nullptr); });
    }

    std::wstring m_path;
};

// Starts the program with a one-minute limit and a one-minute rest.
class RestTest : public ::testing::Test {
protected:
    void SetUp() override {
        ForgetSettings();
        StoreSetting("TimeWork", 1);
        StoreSetting("TimeRelese", 1);
        StoreSetting("WindowType", 0);
        StoreSetting("xPos", 0);
        StoreSetting("yPos", 0);
        StoreSetting("alpha", 100);
        StoreSetting("StopTimer", 0);
        main = program.WaitForWindow(L"Lumeyra", kTimeout);
        ASSERT_TRUE(main) << program.State();
        program.SetMainWindow(main);
        ASSERT_TRUE(program.DriveTime(main));
        // From here the journey's ticks are all the program counts.
        Pause();
    }
    // A pause longer than the rest (a minute) ends whatever was counted
    // before: the next minute of work starts from nothing. The first tick
    // may still find a key pressed or the mouse moved before it; the 61
    // after it are the pause.
    void Pause() { EXPECT_EQ(TicksUntilPrompt(62, Input::kNothing), -1); }

    // The prompt is created inside the tick that opens it, so it exists,
    // if not yet shown, by the time that tick has been handled.
    HWND Prompt() const {
        return program.FindOwnWindow([](HWND h) { return TextOf(h) == kPromptTitle; }, false);
    }
    HWND RestTimer() const {
        return program.FindOwnWindow([](HWND h) { return GetDlgItem(h, 1021) != nullptr; });
    }

    // Ticks until the prompt shows, each after `input`; the number it took.
    int TicksUntilPrompt(int most, Input input = Input::kKeyAndMouse) {
        return TicksUntil(main, [&] { return Prompt() != nullptr; }, most, input);
    }
    HWND WaitForPrompt() {
        return program.WaitForWindow([](HWND h) { return TextOf(h) == kPromptTitle; }, kTimeout);
    }
    // Keys go to the foreground window, which the prompt takes when it shows.
    void PressInPrompt(HWND prompt, WORD vk) {
        WaitFor([&] { return GetForegroundWindow() == prompt; }, 10s);
        PressKey(vk);
    }

    Program program;
    HWND main = nullptr;
};

RECT ClientOnScreen(HWND hwnd) {
    RECT r{};
    GetClientRect(hwnd, &r);
    MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

// The elapsed-time display as the label draws it: 45-point Courier in dark
// green on the button face, left-aligned.
Image RenderClock(const wchar_t* text, int width, int height) {
    testsupport::Canvas canvas(width, height);
    HDC dc = canvas.Dc();
    LOGFONTW font{};
    font.lfHeight = -MulDiv(45, GetDeviceCaps(dc, LOGPIXELSY), 72);
    font.lfWeight = FW_NORMAL;
    font.lfCharSet = ANSI_CHARSET;
    lstrcpyW(font.lfFaceName, L"Courier");
    GdiHandle hfont(CreateFontIndirectW(&font));
    Selection selected(dc, hfont.Get());
    RECT r{0, 0, width, height};
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, RGB(10, 100, 10));
    DrawTextW(dc, text, -1, &r, DT_LEFT | DT_WORDBREAK);
    return canvas.Pixels();
}

int Differences(const Image& a, const Image& b) {
    int n = 0;
    for (size_t i = 0; i < a.pixels.size(); ++i) n += a.pixels[i] != b.pixels[i];
    return n;
}

// The seconds the display shows: the rendering it matches best.
int ShownSeconds(HWND label) {
    RECT r = ClientOnScreen(label);
    Image shot = Capture(nullptr, r);
    int best = -1, bestDiff = 1 << 30, secondDiff = 1 << 30;
    for (int s = 0; s < 60; ++s) {
        wchar_t text[16];
        wsprintfW(text, L"00:00:%02d", s);
        int diff = Differences(shot, RenderClock(text, shot.width, shot.height));
        if (diff < bestDiff) {
            secondDiff = bestDiff;
            bestDiff = diff;
            best = s;
        } else if (diff < secondDiff) {
            secondDiff = diff;
        }
    }
    // A near-exact match that no other time comes close to.
    return bestDiff * 50 < shot.width * shot.height && bestDiff * 4 < secondDiff ? best : -1;
}

TEST_F(RestTest, PromptPostponementAndRestTimerWindow) {
    // One minute of work: the prompt opens on the tick that passes 60 s.
    SoundFile warning("OnReleaseWarning.wav");
    ASSERT_FALSE(warning.Read());
    EXPECT_EQ(TicksUntilPrompt(80), 61);
    HWND prompt = WaitForPrompt();
    ASSERT_TRUE(prompt);
    EXPECT_EQ(TextOf(GetDlgItem(prompt, 1004)),
              L"Вы уже работаете без перерыва (1 мин.) больше 1 мин.\rОтдохните!!!");
    EXPECT_EQ(TextOf(GetDlgItem(prompt, 1)), L"Отдохнуть");
    EXPECT_EQ(TextOf(GetDlgItem(prompt, 2)), L"Работать еще 5 мин.");
    EXPECT_TRUE(GetWindowLongA(prompt, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(WaitFor([&] { return warning.Read(); }, 10s)) << "the warning sound was not played";

    // A landscape fills 300 × 200 pixels from (7, 7): many colours, none
    // of them the dialog's face.
    RECT client = ClientOnScreen(prompt);
    auto pictureColours = [&] {
        Image picture = Capture(nullptr, {client.left + 7, client.top + 7, client.left + 307, client.top + 207});
        std::vector<uint32_t> colours(picture.pixels);
        std::sort(colours.begin(), colours.end());
        return std::unique(colours.begin(), colours.end()) - colours.begin();
    };
    // Painting waits until the prompt's alert (beeps) is over.
    // (One of the twelve is black and white: a couple of hundred greys.)
    EXPECT_TRUE(WaitFor([&] { return pictureColours() > 100; }, 10s));
    Image margin = Capture(nullptr, {client.left + 2, client.top + 2, client.left + 5, client.top + 5});
    uint32_t face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(margin.At(1, 1), (face & 0xFF) << 16 | (face & 0xFF00) | (face >> 16 & 0xFF));
    RECT w{};
    GetWindowRect(prompt, &w);
    SaveBmp(Capture(nullptr, w), "rest-prompt.bmp");

    // Escape: five more minutes; the prompt returns 300 s later.
    PressInPrompt(prompt, VK_ESCAPE);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(prompt); }, 10s));
    EXPECT_EQ(TicksUntilPrompt(340), 300);
    prompt = WaitForPrompt();
    ASSERT_TRUE(prompt);
    EXPECT_EQ(TextOf(GetDlgItem(prompt, 1004)),
              L"Вы уже работаете без перерыва (1 мин.) больше 6 мин.\rОтдохните!!!");

    // Enter: the rest timer window, counting from 00:00:00.
    PressInPrompt(prompt, VK_RETURN);
    HWND rest = program.WaitForWindow([](HWND h) { return GetDlgItem(h, 1021) != nullptr; }, kTimeout);
    ASSERT_TRUE(rest);
    auto opened = std::chrono::steady_clock::now();
    EXPECT_FALSE(IsWindow(prompt) && IsWindowVisible(prompt));
    HWND label = GetDlgItem(rest, 1005);
    EXPECT_EQ(TextOf(label), L"") << "the label keeps its text to itself";
    for (int i = 0; i < 5; ++i) {
        PostMessageA(rest, WM_TIMER, 1, 0);
        Sync(rest);
    }
    // The screen may show the last change a moment late.
    int shown = -1;
    WaitFor([&] { return (shown = ShownSeconds(label)) >= 5; }, 5s);
    // Its own one-second timer may have ticked meanwhile on a slow machine.
    int drift = static_cast<int>(
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - opened).count());
    EXPECT_GE(shown, 5);
    EXPECT_LE(shown, 5 + drift);
    BYTE alpha = 0;
    EXPECT_TRUE(GetLayeredWindowAttributes(rest, nullptr, &alpha, nullptr));
    EXPECT_EQ(alpha, 250);
    GetWindowRect(rest, &w);
    SaveBmp(Capture(nullptr, w), "rest-timer.bmp");
    // Half a minute of rest, so that what it leaves as work stands out.
    for (int i = 0; i < 25; ++i) {
        PostMessageA(rest, WM_TIMER, 1, 0);
        Sync(rest);
    }
    WaitFor([&] { return (shown = ShownSeconds(label)) >= 30; }, 5s);
    EXPECT_GE(shown, 30);

    // Back to work before the rest is over: the seconds rested count as
    // work, so the next prompt comes that much sooner. The rest timer
    // window's own clock goes on meanwhile: what it counted lies between
    // what it last showed and that plus the seconds since.
    PostMessageA(GetDlgItem(rest, 1), BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(rest); }, 10s));
    drift = static_cast<int>(
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - opened).count());
    int restedAsWork = 61 - TicksUntilPrompt(80);
    EXPECT_GE(restedAsWork, shown);
    EXPECT_LE(restedAsWork, shown + drift + 1);
    prompt = WaitForPrompt();
    ASSERT_TRUE(prompt);
    // The postponement ended with the rest: the limit is one minute again.
    EXPECT_EQ(TextOf(GetDlgItem(prompt, 1004)),
              L"Вы уже работаете без перерыва (1 мин.) больше 1 мин.\rОтдохните!!!");
}

// Nobody sees the eyes while the session is locked, the display is off or
// the window fully transparent: they stand still and the program rests,
// while the work timer goes on counting; once seen they move again.
TEST_F(RestTest, EyesStandStillWhileNobodyCanSeeThemAndWorkStillCounts) {
    // The animation control plays on a thread of its own: stopped, the
    // thread is gone and no frame is drawn any more. (What that saves is
    // bench/footprint's to measure.)
    std::set<DWORD> playing;
    auto still = [&] {
        return WaitFor([&] { return OneMissing(playing, program.Threads()); }, 10s) && LensesSettle(main);
    };
    auto moving = [&] {
        auto first = CaptureLenses(main);
        if (!WaitFor([&] { return !SamePixels(first, CaptureLenses(main)); }, 5s)) return false;
        playing = program.Threads();
        return true;
    };
    auto session = [&](WPARAM event) {
        DWORD_PTR answer = 0;
        SendMessageTimeoutA(main, WM_WTSSESSION_CHANGE, event, 1, SMTO_BLOCK, 10000, &answer);
    };
    auto display = [&](DWORD state) {
        EXPECT_TRUE(program.SendPowerSetting(main, GUID_CONSOLE_DISPLAY_STATE, state));
    };
    auto opacity = [&](const char* percent) { ASSERT_TRUE(SetOpacity(program, main, percent)); };
    ASSERT_TRUE(moving());

    struct Case {
        const char* name;
        std::function<void()> hide, show;
    };
    const Case cases[] = {
        {"locked", [&] { session(WTS_SESSION_LOCK); }, [&] { session(WTS_SESSION_UNLOCK); }},
        {"display off", [&] { display(0); }, [&] { display(1); }},
        {"opacity 0", [&] { opacity("0"); }, [&] { opacity("100"); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        c.hide();
        EXPECT_TRUE(still());

        // A minute of work brings the prompt as ever.
        Pause();
        EXPECT_EQ(TicksUntilPrompt(80), 61);
        HWND prompt = WaitForPrompt();
        ASSERT_TRUE(prompt);
        PressInPrompt(prompt, VK_RETURN);
        HWND rest = program.WaitForWindow([](HWND h) { return GetDlgItem(h, 1021) != nullptr; }, kTimeout);
        ASSERT_TRUE(rest);
        PostMessageA(GetDlgItem(rest, 1), BM_CLICK, 0, 0);
        ASSERT_TRUE(WaitFor([&] { return !IsWindow(rest); }, 10s));

        c.show();
        EXPECT_TRUE(moving());
    }
}

// A slide show, a film or a game over the whole screen: the spectacles keep
// out of its way and the prompt waits, silent, until it has gone. The work
// counts on meanwhile.
TEST_F(RestTest, FullScreenProgramKeepsTheSpectaclesAndThePromptAway) {
    SoundFile warning("OnReleaseWarning.wav");
    {
        ForegroundWindow film(ForegroundWindow::Kind::kFullScreen);
        ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == film.Hwnd(); }, 10s));
        // Seen on one tick it may be a passing window of the shell's; on the
        // second the spectacles step aside.
        ActiveTick(main);
        EXPECT_TRUE(IsWindowVisible(main)) << "the spectacles stepped aside on the first tick";
        ActiveTick(main);
        EXPECT_FALSE(IsWindowVisible(main)) << "the spectacles stay over the full-screen window";
        // The film's own dialog in front leaves the film full screen.
        HWND owned = film.ShowOwned();
        ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == owned; }, 10s));
        EXPECT_EQ(TicksUntilPrompt(70), -1);
        EXPECT_FALSE(IsWindowVisible(main)) << "back over the film for its dialog";
        EXPECT_FALSE(warning.Read());
        EXPECT_EQ(NotifyIconTip(L"Lumeyra"), L"Lumeyra\nОтдых отложен: полноэкранная программа");
    }
    EXPECT_NE(TicksUntilPrompt(2), -1) << "no prompt once the full-screen window has gone";
    EXPECT_TRUE(IsWindowVisible(main));
    HWND prompt = WaitForPrompt();
    ASSERT_TRUE(prompt);
    EXPECT_EQ(TextOf(GetDlgItem(prompt, 1004)),
              L"Вы уже работаете без перерыва (1 мин.) больше 1 мин.\rОтдохните!!!");
    EXPECT_TRUE(WaitFor([&] { return warning.Read(); }, 10s));
    PressInPrompt(prompt, VK_ESCAPE);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(prompt); }, 10s));

    // A maximised window is no full-screen program: under Wine it covers
    // the screen as it would where the taskbar hides itself.
    // Nor is one without a caption stretched over the whole screen.
    for (auto kind : {ForegroundWindow::Kind::kMaximised, ForegroundWindow::Kind::kMaximisedBare}) {
        ForegroundWindow editor(kind);
        ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == editor.Hwnd(); }, 10s));
        ActiveTick(main);
        ActiveTick(main);
        EXPECT_TRUE(IsWindowVisible(main));
        EXPECT_TRUE(ExStyle(main) & WS_EX_TOPMOST);
    }

    // A player goes full screen in its own window and back, in front all
    // the while: no window comes or goes, and the spectacles follow all the
    // same. Away within a few ticks (where the system tells of no resize,
    // as Wine, the program checks the window in front every few), back on
    // the first.
    ForegroundWindow player(ForegroundWindow::Kind::kWindowed);
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == player.Hwnd(); }, 10s));
    ActiveTick(main);
    ActiveTick(main);
    ASSERT_TRUE(IsWindowVisible(main));
    auto resize = [&](int cx, int cy) {
        ASSERT_TRUE(SetWindowPos(player.Hwnd(), nullptr, 0, 0, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE));
    };
    resize(GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN));
    EXPECT_NE(TicksUntil(main, [&] { return !IsWindowVisible(main); }, 8), -1)
        << "the spectacles stay over the player gone full screen";
    resize(640, 480);
    ActiveTick(main);
    EXPECT_TRUE(IsWindowVisible(main)) << "the spectacles wait for the player back in its window";
}

// The user who wants the prompt whatever runs turns the choice off.
TEST_F(RestTest, WithQuietOffThePromptOpensOverAFullScreenProgram) {
    PostMessageA(main, WM_COMMAND, 170, 0);  // "Настройки"
    HWND settings = program.WaitForWindow(L"Настройки", kTimeout);
    ASSERT_TRUE(settings);
    HWND quiet = GetDlgItem(settings, 1031);
    EXPECT_EQ(TextOf(quiet), L"Не мешать полноэкранным программам");
    EXPECT_EQ(SendMessageW(quiet, BM_GETCHECK, 0, 0), BST_CHECKED);
    PostMessageA(quiet, BM_CLICK, 0, 0);
    ASSERT_TRUE(WaitFor([&] { return SendMessageW(quiet, BM_GETCHECK, 0, 0) == BST_UNCHECKED; }, 10s));
    PostMessageA(settings, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    ASSERT_TRUE(WaitFor([&] { return !IsWindow(settings); }, 20s));
    // Stored once the dialog has gone, and applied with it.
    EXPECT_TRUE(WaitFor(
        [] {
            return ReadRaw(HKEY_CURRENT_USER, "Software\\Lumeyra", "QuietFullScreen").data ==
                   std::vector<uint8_t>{'0', 0, 0, 0};
        },
        10s));

    ForegroundWindow film(ForegroundWindow::Kind::kFullScreen);
    ASSERT_TRUE(WaitFor([&] { return GetForegroundWindow() == film.Hwnd(); }, 10s));
    EXPECT_EQ(TicksUntilPrompt(80), 61);
    EXPECT_TRUE(IsWindowVisible(main));
}

TEST_F(RestTest, TypingWithTheMouseStillCountsAsWork) {
    // Keys pressed before each tick, the cursor never moving.
    EXPECT_EQ(TicksUntilPrompt(90, Input::kKey), 61);
}

}  // namespace

namespace {

// The "?" buttons open help at their own contexts: 3 on the rest prompt, 4
// on the rest timer window.
TEST_F(RestTest, HelpButtonsOpenTheirTopics) {
    ASSERT_GT(TicksUntilPrompt(80), 0);
    HWND prompt = WaitForPrompt();
    ASSERT_TRUE(prompt);
    ExpectHelpAt(program, 3, [&] { PostMessageA(GetDlgItem(prompt, 1013), BM_CLICK, 0, 0); });
    PostMessageA(GetDlgItem(prompt, 1), BM_CLICK, 0, 0);
    HWND rest = program.WaitForWindow([](HWND h) { return GetDlgItem(h, 1021) != nullptr; }, kTimeout);
    ASSERT_TRUE(rest);
    ExpectHelpAt(program, 4, [&] { PostMessageA(GetDlgItem(rest, 1013), BM_CLICK, 0, 0); });
}

}  // namespace
