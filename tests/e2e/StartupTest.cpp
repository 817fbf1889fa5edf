// The program as a user meets it: started on a fresh account, and again with
// settings of the user's own.
#include "Driver.h"

#include <gtest/gtest.h>
#include <shellapi.h>

#include <algorithm>
#include <atomic>
#include <filesystem>
#include <future>
#include <thread>

#include "framework/Dpi.h"
#include "framework/Text.h"

namespace {

using namespace std::chrono_literals;
using namespace driver;

constexpr auto kStartTimeout = 60s;
constexpr UINT kIconId = 128;

std::vector<uint8_t> Text(const char* s, size_t n) { return {s, s + n}; }

bool IsAboutBox(HWND hwnd) { return TextOf(hwnd) == L"About Lumeyra"; }

// The spectacles' outline as at 100 % times `scale`, to within the
// rounding, and the eyes' clip covering all of it: a clip drawn for
// another scale leaves a grey block or stands past the lenses.
void ExpectOutlineFilled(HWND hwnd, double scale) {
    auto at = [scale](int logical) { return static_cast<int>(logical * scale + 0.5); };
    HRGN outline = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(hwnd, outline), COMPLEXREGION);
    RECT box{};
    GetRgnBox(outline, &box);
    const int logicalBox[] = {5, 10, 188, 54};  // a rounded part leaves out its far edges
    const LONG actualBox[] = {box.left, box.top, box.right, box.bottom};
    for (int i = 0; i < 4; ++i) EXPECT_NEAR(actualBox[i], logicalBox[i] * scale, 1.0) << i << " at " << scale;
    EXPECT_TRUE(PtInRegion(outline, at(47), at(32)));   // left lens
    EXPECT_TRUE(PtInRegion(outline, at(97), at(31)));   // bridge
    EXPECT_FALSE(PtInRegion(outline, at(97), at(15)));  // above the bridge
    EXPECT_FALSE(PtInRegion(outline, at(1), at(1)));
    DeleteObject(outline);
    HWND eyes = FindWindowExW(hwnd, nullptr, L"SysAnimate32", nullptr);
    ASSERT_TRUE(eyes);
    RECT clip{};
    GetWindowRect(eyes, &clip);
    MapWindowPoints(nullptr, hwnd, reinterpret_cast<POINT*>(&clip), 2);
    RECT covered{};
    EXPECT_TRUE(IntersectRect(&covered, &clip, &box) && EqualRect(&covered, &box))
        << "clip " << clip.left << "," << clip.top << "-" << clip.right << "," << clip.bottom << " at " << scale;
}

TEST(Startup, FirstRunShowsSpectaclesAtBottomRightAndWritesDefaults) {
    ForgetSettings();
    Program program;
    HWND hwnd = program.WaitForWindow(L"Lumeyra", kStartTimeout);
    ASSERT_TRUE(hwnd) << "no window titled Lumeyra";
    program.SetMainWindow(hwnd);

    char cls[64] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    EXPECT_STREQ(cls, "#32770");
    LONG ex = ExStyle(hwnd);
    EXPECT_TRUE(ex & WS_EX_TOPMOST);
    EXPECT_TRUE(ex & WS_EX_LAYERED);
    EXPECT_TRUE(ex & WS_EX_TOOLWINDOW);
    EXPECT_FALSE(ex & WS_EX_TRANSPARENT);
    EXPECT_EQ(Alpha(hwnd), 127);  // the first run's opacity of 50 %

    // At 100 % to the pixel; on a screen of another scale (the stage at
    // 150 %) all of it as much larger, to within the rounding.
    const double scale = ScreenDpi() / 96.0;
    RECT r{};
    GetWindowRect(hwnd, &r);
    EXPECT_NEAR(r.right - r.left, 194 * scale, 0.5);
    EXPECT_NEAR(r.bottom - r.top, 65 * scale, 0.5);
    EXPECT_NEAR(r.right, GetSystemMetrics(SM_CXSCREEN) - 10 * scale, 0.5);
    EXPECT_NEAR(r.bottom, GetSystemMetrics(SM_CYSCREEN) - 50 * scale, 0.5);

    // The spectacles: two lenses, the bridge and the two stubs.
    HRGN actual = CreateRectRgn(0, 0, 0, 0);
    EXPECT_EQ(GetWindowRgn(hwnd, actual), COMPLEXREGION);
    if (scale == 1) {
        HRGN expected = CreateRoundRectRgn(10, 10, 85, 55, 200, 20);
        const int parts[][6] = {{110, 10, 184, 55, 200, 20},
                                {85, 27, 110, 35, 300, 10},
                                {5, 27, 10, 35, 0, 0},
                                {184, 27, 189, 35, 0, 0}};
        for (const auto& p : parts) {
            HRGN part = CreateRoundRectRgn(p[0], p[1], p[2], p[3], p[4], p[5]);
            CombineRgn(expected, expected, part, RGN_OR);
            DeleteObject(part);
        }
        EXPECT_TRUE(EqualRgn(actual, expected));
        DeleteObject(expected);
    }
    DeleteObject(actual);
    ExpectOutlineFilled(hwnd, scale);

    EXPECT_TRUE(HasNotifyIcon(hwnd, kIconId));
    EXPECT_FALSE(HasNotifyIcon(hwnd, kIconId + 1));
    EXPECT_TRUE(WaitFor([] { return YellowTrayPixels() > 0; }, 10s)) << "running icon not shown";
    // Explorer restarted: the icon comes back as it was.
    DeleteNotifyIcon(hwnd);
    EXPECT_TRUE(WaitFor([] { return YellowTrayPixels() == 0; }, 10s));
    AnnounceTaskbar();
    EXPECT_TRUE(WaitFor([&] { return HasNotifyIcon(hwnd, kIconId) && YellowTrayPixels() > 0; }, 10s))
        << "the icon did not come back after a restart of the taskbar";

    // The eyes move: the lenses change within a few frames.
    auto first = CaptureLenses(hwnd);
    EXPECT_TRUE(WaitFor([&] { return !SamePixels(first, CaptureLenses(hwnd)); }, 5s));
    SaveWindowShot(hwnd, "first-run-window.bmp");
    SaveDesktopShot("first-run-desktop.bmp");

    auto product = [](const char* name) { return ReadRaw(HKEY_CURRENT_USER, "Software\\Lumeyra", name); };
    const std::pair<const char*, std::vector<uint8_t>> defaults[] = {
        {"TimeWork", Text("45\0\0", 4)}, {"TimeRelese", Text("15\0\0", 4)}, {"WindowType", Text("0\0\0\0", 4)},
        {"xPos", Text("0\0\0\0", 4)},    {"yPos", Text("0\0\0\0", 4)},      {"alpha", Text("50\0\0", 4)},
        {"StopTimer", Text("0\0\0\0", 4)}};
    for (const auto& [name, bytes] : defaults) {
        RawValue v = product(name);
        EXPECT_EQ(v.type, static_cast<DWORD>(REG_DWORD)) << name;
        EXPECT_EQ(v.data, bytes) << name;
    }
    constexpr char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
    RawValue run = ReadRaw(HKEY_LOCAL_MACHINE, kRunKey, "Lumeyra");
    EXPECT_EQ(run.type, static_cast<DWORD>(REG_SZ));
    // Read as UTF-16: the path may have letters the ANSI code page lacks.
    const std::wstring exe = Widen(Folders().exeDir + "\\Lumeyra.exe");
    EXPECT_EQ(_wcsicmp(testsupport::ReadString(HKEY_LOCAL_MACHINE, kRunKey, "Lumeyra").c_str(), exe.c_str()), 0);

    // Its monitor's scale now 200 %, as Windows tells it (Wine never does):
    // twice the size, with the clip for it. The rectangle Windows suggests
    // can't cross from another process, so none comes and the window keeps
    // its corner.
    const POINT corner{r.left, r.top};
    SendMessageW(hwnd, WM_DPICHANGED, MAKEWPARAM(192, 192), 0);
    GetWindowRect(hwnd, &r);
    EXPECT_EQ(r.left, corner.x);
    EXPECT_EQ(r.top, corner.y);
    EXPECT_EQ(r.right - r.left, 388);
    EXPECT_EQ(r.bottom - r.top, 130);
    ExpectOutlineFilled(hwnd, 2.0);
}

TEST(Startup, StoredClickThroughWindowStandsAtItsPlaceWithTimerStopped) {
    ForgetSettings();
    StoreSetting("TimeWork", 45);
    StoreSetting("TimeRelese", 15);
    StoreSetting("WindowType", 1);
    StoreSetting("xPos", 100);
    StoreSetting("yPos", 200);
    StoreSetting("alpha", 100);
    StoreSetting("StopTimer", 1);
    Program program;
    HWND hwnd = program.WaitForWindow(L"Lumeyra", kStartTimeout);
    ASSERT_TRUE(hwnd);
    program.SetMainWindow(hwnd);

    RECT r{};
    GetWindowRect(hwnd, &r);
    EXPECT_EQ(r.left, 100);
    EXPECT_EQ(r.top, 200);
    EXPECT_EQ(r.right - r.left, 194);
    EXPECT_TRUE(ExStyle(hwnd) & WS_EX_TRANSPARENT);
    EXPECT_TRUE(ExStyle(hwnd) & WS_EX_LAYERED);
    EXPECT_EQ(Alpha(hwnd), 255);
    EXPECT_TRUE(HasNotifyIcon(hwnd, kIconId));
    // The grey icon: dark pixels of the brow, no yellow lid.
    EXPECT_TRUE(WaitFor([] { return DarkTrayPixels() > 0; }, 10s));
    EXPECT_EQ(YellowTrayPixels(), 0);
    DeleteNotifyIcon(hwnd);
    EXPECT_TRUE(WaitFor([] { return DarkTrayPixels() == 0; }, 10s));
    AnnounceTaskbar();
    EXPECT_TRUE(WaitFor([&] { return HasNotifyIcon(hwnd, kIconId) && DarkTrayPixels() > 0; }, 10s))
        << "the stopped icon did not come back after a restart of the taskbar";
    EXPECT_EQ(YellowTrayPixels(), 0);
    // The settings already there are read, not rewritten.
    EXPECT_EQ(ReadRaw(HKEY_CURRENT_USER, "Software\\Lumeyra", "xPos").data, Text("100\0", 4));
    SaveDesktopShot("stored-settings-desktop.bmp");
}

TEST(Startup, EnterEscapeAndCloseLeaveTheWindowOpen) {
    ForgetSettings();
    Program program;
    HWND hwnd = program.WaitForWindow(L"Lumeyra", kStartTimeout);
    ASSERT_TRUE(hwnd);
    program.SetMainWindow(hwnd);
    PostMessageA(hwnd, WM_KEYDOWN, VK_RETURN, 0);
    PostMessageA(hwnd, WM_KEYDOWN, VK_ESCAPE, 0);
    PostMessageA(hwnd, WM_COMMAND, IDOK, 0);
    PostMessageA(hwnd, WM_COMMAND, IDCANCEL, 0);
    PostMessageA(hwnd, WM_CLOSE, 0, 0);
    PostMessageA(hwnd, WM_SYSCOMMAND, SC_CLOSE, 0);
    // Once a command posted after them has opened its box, every message
    // above has been handled. The About box serves as that marker: the
    // notification menu would be closed by the characters that the posted
    // keys become, which are posted behind it.
    PostMessageA(hwnd, WM_COMMAND, 32775, 0);
    HWND about = nullptr;
    WaitFor([&] { return (about = program.FindOwnWindow(IsAboutBox)) || !program.Running(); }, kStartTimeout);
    ASSERT_TRUE(about) << "the window did not live to open the About box";
    EXPECT_TRUE(program.Running());
    EXPECT_TRUE(IsWindow(hwnd) && IsWindowVisible(hwnd));
    PostMessageA(about, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_TRUE(WaitFor([&] { return !IsWindow(about); }, 20s));
}

// A taskbar not ready yet, as at log-on: a window of the taskbar's class,
// found before the real one, that refuses every icon until it is closed.
class RefusingTaskbar {
public:
    RefusingTaskbar() {
        std::promise<void> created;
        m_thread = std::thread([&] {
            m_threadId = GetCurrentThreadId();
            WNDCLASSA wc{};
            wc.lpfnWndProc = Procedure;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.lpszClassName = "Shell_TrayWnd";
            RegisterClassA(&wc);
            m_hwnd = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, wc.lpszClassName, nullptr, WS_POPUP, 0,
                                     0, 0, 0, nullptr, nullptr, wc.hInstance, &m_nRefused);
            created.set_value();
            MSG msg;
            while (GetMessageA(&msg, nullptr, 0, 0) > 0) DispatchMessageA(&msg);
            if (m_hwnd) DestroyWindow(m_hwnd);
        });
        created.get_future().wait();
    }
    ~RefusingTaskbar() { Close(); }
    RefusingTaskbar(const RefusingTaskbar&) = delete;
    RefusingTaskbar& operator=(const RefusingTaskbar&) = delete;

    bool InFront() const { return m_hwnd && FindWindowA("Shell_TrayWnd", nullptr) == m_hwnd; }
    int Refused() const { return m_nRefused; }
    void Close() {
        if (!m_thread.joinable()) return;
        PostThreadMessageA(m_threadId, WM_QUIT, 0, 0);
        m_thread.join();
    }

private:
    // Every notification-icon request reaches the taskbar as WM_COPYDATA.
    static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == WM_NCCREATE)
            SetWindowLongPtrA(
                hwnd, GWLP_USERDATA,
                reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTA*>(lParam)->lpCreateParams));
        if (message != WM_COPYDATA) return DefWindowProcA(hwnd, message, wParam, lParam);
        ++*reinterpret_cast<std::atomic<int>*>(GetWindowLongPtrA(hwnd, GWLP_USERDATA));
        return FALSE;
    }

    std::thread m_thread;
    DWORD m_threadId = 0;
    HWND m_hwnd = nullptr;
    std::atomic<int> m_nRefused{0};
};

TEST(Startup, IconRefusedAtStartIsAddedOnALaterTick) {
    ForgetSettings();
    RefusingTaskbar notReady;
    ASSERT_TRUE(notReady.InFront());
    Program program;
    HWND hwnd = program.WaitForWindow(L"Lumeyra", kStartTimeout);
    ASSERT_TRUE(hwnd);
    program.SetMainWindow(hwnd);
    // Refused at start-up, and again on a tick.
    EXPECT_TRUE(WaitFor([&] { return notReady.Refused() >= 3; }, 20s));
    notReady.Close();
    EXPECT_TRUE(WaitFor([&] { return HasNotifyIcon(hwnd, kIconId) && YellowTrayPixels() > 0; }, 20s))
        << "the icon never came once the taskbar was ready";
}

TEST(Startup, FullyTransparentWindowStartsWithTheEyesStill) {
    ForgetSettings();
    StoreSetting("TimeWork", 45);
    StoreSetting("TimeRelese", 15);
    StoreSetting("WindowType", 0);
    StoreSetting("alpha", 0);
    StoreSetting("StopTimer", 0);
    Program program;
    HWND hwnd = program.WaitForWindow(L"Lumeyra", kStartTimeout);
    ASSERT_TRUE(hwnd);
    program.SetMainWindow(hwnd);
    EXPECT_EQ(Alpha(hwnd), 0);
    // Wine draws the window whatever its opacity: once its first painting
    // has reached the screen, the frame can be seen standing still.
    EXPECT_TRUE(LensesSettle(hwnd));
    // What stood still was the animation stopped, not a pause between two
    // blinks: made visible, the eyes start, on a thread of their own.
    const std::set<DWORD> still = program.Threads();
    ASSERT_TRUE(SetOpacity(program, hwnd, "100"));
    EXPECT_TRUE(WaitFor([&] { return OneMissing(program.Threads(), still); }, 10s));
}

TEST(Startup, RunsWithoutTheHookLibrary) {
    // A copy of the program in a folder of its own, without HookKeyUp.dll.
    namespace fs = std::filesystem;
    fs::path dir = fs::path(Folders().artifacts) / "without-hook";
    fs::create_directories(dir);
    ASSERT_TRUE(CopyFileW(Widen(Folders().exeDir + "\\Lumeyra.exe").c_str(), (dir / "Lumeyra.exe").c_str(), FALSE));
    ASSERT_FALSE(fs::exists(dir / "HookKeyUp.dll"));
    ForgetSettings();
    Program program(Narrow(dir.wstring()));
    HWND hwnd = program.WaitForWindow(L"Lumeyra", kStartTimeout);
    ASSERT_TRUE(hwnd);
    program.SetMainWindow(hwnd);
    // It keeps running and answering while its timer ticks.
    DWORD_PTR answer = 0;
    for (int i = 0; i < 3; ++i) {
        PostMessageA(hwnd, WM_TIMER, 1, 0);
        EXPECT_TRUE(SendMessageTimeoutA(hwnd, WM_NULL, 0, 0, SMTO_BLOCK, 10000, &answer));
    }
    EXPECT_TRUE(program.Running());
}

// Started again while it runs (the Start menu, a shortcut, the setup's last
// page): the new copy ends at once, and the running one says where it is
// and goes on counting.
TEST(Startup, SecondStartHandsOverToTheRunningCopy) {
    ForgetSettings();
    Program running;
    HWND hwnd = running.WaitForWindow(L"Lumeyra", kStartTimeout);
    ASSERT_TRUE(hwnd);
    running.SetMainWindow(hwnd);
    ASSERT_TRUE(running.DriveTime(hwnd));
    {
        Program again;
        EXPECT_EQ(again.WaitForExit(3s), 0);
    }
    EXPECT_TRUE(running.Running());
    EXPECT_TRUE(WaitFor(
        [] { return !NotifyIconTip(L"Lumeyra уже запущена. Её значок — в области уведомлений.").empty(); },
        10s))
        << "no balloon from the running copy's icon";
    SaveDesktopShot("second-start-balloon.bmp");
    for (int i = 0; i < 61; ++i) ActiveTick(hwnd);
    EXPECT_TRUE(WaitFor([] { return NotifyIconTip(L"Lumeyra\n") == L"Lumeyra\nДо отдыха: 44 мин."; }, 10s));
}

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    if (!ReadFolders(argc, argv)) {
        fprintf(stderr, "usage: e2e_tests --exe-dir=DIR --artifacts=DIR\n");
        return 2;
    }
    return RUN_ALL_TESTS();
}
