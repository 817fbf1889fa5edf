#include "Driver.h"

#include <gtest/gtest.h>
#include <commctrl.h>
#include <shellapi.h>
#include <tlhelp32.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <future>
#include <thread>

#include "TickGate.h"
#include "framework/Text.h"

namespace driver {

Paths& Folders() {
    static Paths paths;
    return paths;
}

std::string CommandLineOption(int argc, char** argv, const std::string& prefix) {
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg.rfind(prefix, 0) == 0) return arg.substr(prefix.size());
    }
    return {};
}

namespace {

// The program's folder copied, with the help files' folder beside it, under
// a folder named as a user named Іван would have it: letters that the ANSI
// code page of an English Windows lacks. Returns the copy's program folder.
std::string CopyToCyrillicFolder() {
    namespace fs = std::filesystem;
    const fs::path built = fs::path(Widen(Folders().exeDir)).parent_path();
    const fs::path root = fs::path(Widen(Folders().artifacts)) / L"Користувач Іван";
    std::error_code error;
    fs::remove_all(root, error);
    fs::create_directories(root / L"bin");
    for (const wchar_t* name : {L"Lumeyra.exe", L"HookKeyUp.dll", L"OnReleaseWarning.wav", L"OnStartWork.wav",
                                L"Pass.bin", L"hhctrl.ocx"})
        fs::copy_file(built / L"bin" / name, root / L"bin" / name);
    fs::copy(built / L"help", root / L"help", fs::copy_options::recursive);
    return Narrow((root / L"bin").wstring());
}

}  // namespace

bool ReadFolders(int argc, char** argv) {
    Folders().exeDir = CommandLineOption(argc, argv, "--exe-dir=");
    Folders().artifacts = CommandLineOption(argc, argv, "--artifacts=");
    if (Folders().exeDir.empty() || Folders().artifacts.empty()) return false;
    CreateDirectoryA(Folders().artifacts.c_str(), nullptr);
    for (int i = 1; i < argc; ++i)
        if (std::string(argv[i]) == "--cyrillic-folder") Folders().exeDir = CopyToCyrillicFolder();
    return true;
}

bool IsHelpViewer(HWND window) {
    wchar_t name[32] = {};
    GetClassNameW(window, name, 32);
    return std::wstring(name) == L"HH Parent";
}

Program::Program(const std::string& exeDir) {
    const std::wstring exe = Widen(exeDir + "\\Lumeyra.exe");
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    std::wstring commandLine = L"\"" + exe + L"\"";
    if (!CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        Widen(exeDir).c_str(), &startup, &m_info))
        m_info = {};
}

Program::~Program() {
    if (m_gate) UnhookWindowsHookEx(m_gate);
    if (m_gateLibrary) FreeLibrary(m_gateLibrary);
    if (!m_info.hProcess) return;
    if (Running()) {
        TerminateProcess(m_info.hProcess, 1);
        WaitForSingleObject(m_info.hProcess, 10000);
    }
    if (m_mainWindow) DeleteNotifyIcon(m_mainWindow);
    CloseHandle(m_info.hThread);
    CloseHandle(m_info.hProcess);
}

bool Program::DriveTime(HWND main) {
    if (!m_gateLibrary) m_gateLibrary = LoadLibraryW(L"tick_gate.dll");
    auto gate = reinterpret_cast<HOOKPROC>(
        reinterpret_cast<void (*)()>(GetProcAddress(m_gateLibrary, "DropOwnTicks")));
    if (!m_gate && gate)
        m_gate = SetWindowsHookExW(WH_GETMESSAGE, gate, m_gateLibrary, GetWindowThreadProcessId(main, nullptr));
    // The first message the program takes loads the gate into it; its answer
    // says it stands.
    return m_gate && Handled(main);
}

long Program::WaitForExit(std::chrono::milliseconds timeout) const {
    DWORD code = 0;
    if (!m_info.hProcess ||
        WaitForSingleObject(m_info.hProcess, static_cast<DWORD>(timeout.count())) != WAIT_OBJECT_0 ||
        !GetExitCodeProcess(m_info.hProcess, &code))
        return -1;
    return static_cast<long>(code);
}

std::set<DWORD> Program::Threads() const {
    std::set<DWORD> threads;
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        if (entry.th32OwnerProcessID == Id()) threads.insert(entry.th32ThreadID);
    CloseHandle(snapshot);
    return threads;
}

bool Program::SendPowerSetting(HWND hwnd, const GUID& setting, DWORD value) const {
    std::vector<uint8_t> bytes(offsetof(POWERBROADCAST_SETTING, Data) + sizeof value);
    auto* record = reinterpret_cast<POWERBROADCAST_SETTING*>(bytes.data());
    record->PowerSetting = setting;
    record->DataLength = sizeof value;
    memcpy(record->Data, &value, sizeof value);
    void* remote = VirtualAllocEx(m_info.hProcess, nullptr, bytes.size(), MEM_COMMIT, PAGE_READWRITE);
    if (!remote) return false;
    DWORD_PTR answer = 0;
    bool sent = WriteProcessMemory(m_info.hProcess, remote, bytes.data(), bytes.size(), nullptr) &&
                SendMessageTimeoutA(hwnd, WM_POWERBROADCAST, PBT_POWERSETTINGCHANGE,
                                    reinterpret_cast<LPARAM>(remote), SMTO_BLOCK, 10000, &answer);
    VirtualFreeEx(m_info.hProcess, remote, 0, MEM_RELEASE);
    return sent;
}

bool Program::Running() const {
    return m_info.hProcess && WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT;
}

std::string Program::State() const {
    if (!m_info.hProcess) return "the program did not start";
    DWORD code = 0;
    if (!Running())
        return GetExitCodeProcess(m_info.hProcess, &code) ? "the program ended with code " + std::to_string(code)
                                                          : "the program ended";
    std::string titles;
    FindOwnWindow(
        [&titles](HWND hwnd) {
            titles += " \"" + Narrow(TextOf(hwnd)) + (IsWindowVisible(hwnd) ? "\"" : "\" (hidden)");
            return false;
        },
        false);
    return "the program runs; its windows:" + (titles.empty() ? std::string(" none") : titles);
}

HWND Program::FindOwnWindow(const std::function<bool(HWND)>& match, bool visibleOnly) const {
    return testsupport::FindTopWindow(
        [&](HWND hwnd) {
            DWORD pid = 0;
            GetWindowThreadProcessId(hwnd, &pid);
            return pid == Id() && match(hwnd);
        },
        visibleOnly);
}

HWND Program::WaitForWindow(const std::function<bool(HWND)>& match, std::chrono::milliseconds timeout) const {
    HWND found = nullptr;
    WaitFor([&] { return (found = FindOwnWindow(match)) != nullptr; }, timeout);
    return found;
}

HWND Program::WaitForWindow(const wchar_t* title, std::chrono::milliseconds timeout) const {
    return WaitForWindow([title](HWND hwnd) { return TextOf(hwnd) == title; }, timeout);
}

bool Sync(HWND hwnd) {
    DWORD_PTR answer = 0;
    return SendMessageTimeoutA(hwnd, WM_NULL, 0, 0, SMTO_BLOCK, 10000, &answer) != 0;
}

void MoveCursor() {
    POINT p{};
    GetCursorPos(&p);
    const int x = p.x == 300 ? 301 : 300;
    SetCursorPos(x, 300);
    // The position travels through the X server; wait till it lands.
    WaitFor([x] {
        POINT now{};
        return GetCursorPos(&now) && now.x == x;
    }, std::chrono::seconds(2));
}

bool Handled(HWND main) {
    MSG msg{};
    PeekMessageW(&msg, nullptr, 0, 0, PM_NOREMOVE);  // this thread's queue, for the answer
    PostMessageW(main, RegisterWindowMessageW(kTickGateMarker), GetCurrentThreadId(), 0);
    // Woken by the answer itself: a journey posts hundreds of ticks.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!PeekMessageW(&msg, nullptr, WM_APP, WM_APP, PM_REMOVE)) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(left.count()), QS_POSTMESSAGE);
    }
    return true;
}

void PostTick(HWND main) {
    PostMessageA(main, WM_TIMER, kDrivenTickId, 0);
    Handled(main);
}

void Tick(HWND main, Input input) {
    if (input == Input::kKeyAndMouse || input == Input::kKey) PressKey(VK_SHIFT);
    if (input == Input::kKeyAndMouse || input == Input::kMouse) MoveCursor();
    PostTick(main);
}

int TicksUntil(HWND main, const std::function<bool()>& done, int most, Input input) {
    for (int n = 1; n <= most; ++n) {
        Tick(main, input);
        if (done()) return n;
    }
    return -1;
}

bool OneMissing(const std::set<DWORD>& of, const std::set<DWORD>& in) {
    return std::any_of(of.begin(), of.end(), [&](DWORD id) { return !in.count(id); });
}

bool SetOpacity(const Program& program, HWND main, const char* percent) {
    PostMessageA(main, WM_COMMAND, 170, 0);  // the menu's "Настройки"
    HWND dialog = program.WaitForWindow(L"Настройки", std::chrono::seconds(60));
    if (!dialog) return false;
    SetDlgItemTextA(dialog, 1014, percent);
    PostMessageA(dialog, WM_COMMAND, IDOK, 0);
    if (!WaitFor([&] { return !IsWindow(dialog); }, std::chrono::seconds(60))) return false;
    return Sync(main);
}

HWND FindMenu(const Program& program) {
    return program.FindOwnWindow([](HWND h) {
        char cls[16] = {};
        GetClassNameA(h, cls, sizeof cls);
        return std::string(cls) == "#32768";
    });
}

bool HandledPosted(const Program& program, HWND main) {
    PostMessageA(main, WM_SYSCOMMAND, 128, WM_RBUTTONUP);
    HWND shown = nullptr;
    if (!WaitFor([&] { return (shown = FindMenu(program)) != nullptr; }, std::chrono::seconds(20)))
        return false;
    PostMessageA(shown, WM_KEYDOWN, VK_ESCAPE, 0);
    return WaitFor([&] { return FindMenu(program) == nullptr; }, std::chrono::seconds(20));
}

void SaveBmp(const Image& image, const std::string& name) {
    BITMAPFILEHEADER file{};
    BITMAPINFOHEADER header{sizeof header, image.width, -image.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    DWORD bytes = static_cast<DWORD>(image.pixels.size() * 4);
    file.bfType = 0x4D42;
    file.bfOffBits = sizeof file + sizeof header;
    file.bfSize = file.bfOffBits + bytes;
    // Shots at another scale than 100 % keep those at 100 % beside them:
    // "settings-dialog-144dpi.bmp".
    std::string fileName = name;
    if (const int dpi = ScreenDpi(); dpi != 96) fileName.insert(fileName.rfind('.'), "-" + std::to_string(dpi) + "dpi");
    std::ofstream out(Folders().artifacts + "\\" + fileName, std::ios::binary);
    out.write(reinterpret_cast<const char*>(&file), sizeof file);
    out.write(reinterpret_cast<const char*>(&header), sizeof header);
    out.write(reinterpret_cast<const char*>(image.pixels.data()), bytes);
}

LONG ExStyle(HWND hwnd) { return GetWindowLongA(hwnd, GWL_EXSTYLE); }

int ScreenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi;
}

BYTE Alpha(HWND hwnd) {
    COLORREF key = 1;
    BYTE alpha = 0;
    DWORD flags = 0;
    EXPECT_TRUE(GetLayeredWindowAttributes(hwnd, &key, &alpha, &flags));
    EXPECT_EQ(key, 0u);
    EXPECT_EQ(flags, static_cast<DWORD>(LWA_ALPHA));
    return alpha;
}

// The notification area answers NIM_MODIFY only for an icon it holds.
bool HasNotifyIcon(HWND hwnd, UINT id) {
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V2_SIZE;
    data.hWnd = hwnd;
    data.uID = id;
    // Nothing changed: the icon's tip stays the program's.
    data.uFlags = 0;
    return Shell_NotifyIconA(NIM_MODIFY, &data) != FALSE;
}

void DeleteNotifyIcon(HWND hwnd) {
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V2_SIZE;
    data.hWnd = hwnd;
    data.uID = 128;
    Shell_NotifyIconA(NIM_DELETE, &data);
}

namespace {

// Memory in another process, for a control's messages whose records hold
// pointers the control writes through.
class RemoteBlock {
public:
    RemoteBlock(DWORD process, SIZE_T size)
        : m_process(OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, process)),
          m_address(m_process ? VirtualAllocEx(m_process, nullptr, size, MEM_COMMIT, PAGE_READWRITE) : nullptr) {}
    ~RemoteBlock() {
        if (m_address) VirtualFreeEx(m_process, m_address, 0, MEM_RELEASE);
        if (m_process) CloseHandle(m_process);
    }
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;
    char* Address() const { return static_cast<char*>(m_address); }
    bool Write(SIZE_T offset, const void* data, SIZE_T size) const {
        return WriteProcessMemory(m_process, Address() + offset, data, size, nullptr);
    }
    bool Read(SIZE_T offset, void* data, SIZE_T size) const {
        return ReadProcessMemory(m_process, Address() + offset, data, size, nullptr);
    }

private:
    HANDLE m_process;
    void* m_address;
};

// The texts of a tooltip control's tools.
std::vector<std::wstring> ToolTexts(HWND tooltip) {
    DWORD process = 0;
    GetWindowThreadProcessId(tooltip, &process);
    constexpr SIZE_T kTextAt = 256, kTextChars = 1024;  // the control copies up to 1024
    RemoteBlock block(process, kTextAt + kTextChars * sizeof(wchar_t));
    std::vector<std::wstring> texts;
    if (!block.Address()) return texts;
    const auto count = static_cast<UINT>(SendMessageW(tooltip, TTM_GETTOOLCOUNT, 0, 0));
    for (UINT i = 0; i < count; ++i) {
        TTTOOLINFOW info{};
        info.cbSize = sizeof info;
        info.lpszText = reinterpret_cast<wchar_t*>(block.Address() + kTextAt);
        std::vector<wchar_t> text(kTextChars);
        if (!block.Write(0, &info, sizeof info) || !block.Write(kTextAt, text.data(), sizeof(wchar_t)) ||
            !SendMessageW(tooltip, TTM_ENUMTOOLSW, i, reinterpret_cast<LPARAM>(block.Address())) ||
            !block.Read(kTextAt, text.data(), text.size() * sizeof(wchar_t)))
            continue;
        text.back() = 0;
        texts.emplace_back(text.data());
    }
    return texts;
}

}  // namespace

std::wstring NotifyIconTip(const std::wstring& start) {
    HWND taskbar = FindWindowW(L"Shell_TrayWnd", nullptr);
    if (!taskbar) return {};
    DWORD shell = 0;
    GetWindowThreadProcessId(taskbar, &shell);
    std::wstring found;
    testsupport::FindTopWindow(
        [&](HWND h) {
            DWORD process = 0;
            GetWindowThreadProcessId(h, &process);
            wchar_t cls[32] = {};
            GetClassNameW(h, cls, ARRAYSIZE(cls));
            if (process != shell || lstrcmpiW(cls, TOOLTIPS_CLASSW) != 0) return false;
            for (const std::wstring& text : ToolTexts(h))
                if (text.compare(0, start.size(), start) == 0) found = text;
            return !found.empty();
        },
        false);
    return found;
}

namespace {
constexpr UINT kDestroyForeground = WM_APP;
constexpr UINT kShowOwned = WM_APP + 1;
}  // namespace

ForegroundWindow::ForegroundWindow(Kind kind) {
    std::promise<HWND> made;
    std::future<HWND> hwnd = made.get_future();
    m_thread = std::thread([kind, &made] {
        const bool full = kind == Kind::kFullScreen;
        const bool bare = kind == Kind::kMaximisedBare;
        const bool windowed = kind == Kind::kWindowed;
        const int cx = GetSystemMetrics(SM_CXSCREEN), cy = GetSystemMetrics(SM_CYSCREEN);
        HWND window = CreateWindowExW(0, L"Static", L"Lumeyra test: in front",
                                      full || bare || windowed ? WS_POPUP : WS_OVERLAPPEDWINDOW, 0, 0,
                                      full ? cx : 640, full ? cy : 480, nullptr, nullptr, nullptr, nullptr);
        ShowWindow(window, full || windowed ? SW_SHOW : SW_SHOWMAXIMIZED);
        // Wherever the system stops a maximised window, this one covers
        // the screen and stays maximised.
        if (bare) SetWindowPos(window, nullptr, 0, 0, cx, cy, SWP_NOZORDER | SWP_NOACTIVATE);
        SetForegroundWindow(window);
        made.set_value(window);
        MSG msg;
        while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            if (msg.message == kDestroyForeground) DestroyWindow(window);
            if (msg.message == kShowOwned) {
                auto* result = reinterpret_cast<std::promise<HWND>*>(msg.lParam);
                HWND owned = CreateWindowExW(0, L"Static", L"Lumeyra test: owned", WS_POPUP | WS_CAPTION, 200, 200,
                                             320, 160, window, nullptr, nullptr, nullptr);
                ShowWindow(owned, SW_SHOW);
                SetForegroundWindow(owned);
                result->set_value(owned);
            }
            DispatchMessageW(&msg);
            if (!IsWindow(window)) break;
        }
    });
    m_hwnd = hwnd.get();
}

HWND ForegroundWindow::ShowOwned() {
    std::promise<HWND> made;
    std::future<HWND> owned = made.get_future();
    PostMessageW(m_hwnd, kShowOwned, 0, reinterpret_cast<LPARAM>(&made));
    return owned.get();
}

ForegroundWindow::~ForegroundWindow() {
    PostMessageW(m_hwnd, kDestroyForeground, 0, 0);
    m_thread.join();
}

void AnnounceTaskbar() { PostMessageA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0); }

// Pixels in the notification area (the right third of the taskbar) that
// `match` accepts; -1 when there is no taskbar.
template <class Match>
int TrayPixels(Match match) {
    HWND tray = FindWindowA("Shell_TrayWnd", nullptr);
    if (!tray) return -1;
    RECT r{};
    GetWindowRect(tray, &r);
    r.left = r.right - (r.right - r.left) / 3;
    Image image = Capture(nullptr, r);
    int count = 0;
    for (uint32_t p : image.pixels) count += match(p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF);
    return count;
}

// The running icon's yellow lid; the stopped icon is drawn in greys only.
int YellowTrayPixels() {
    return TrayPixels([](int red, int green, int blue) { return red > 200 && green > 200 && blue < 100; });
}

int DarkTrayPixels() {
    return TrayPixels([](int red, int green, int blue) { return red < 64 && green < 64 && blue < 64; });
}

void SaveWindowShot(HWND hwnd, const std::string& name) {
    RECT w{};
    GetWindowRect(hwnd, &w);
    // A capture reaching past the screen's edge comes back black.
    RECT area{std::max(0L, w.left - 40), std::max(0L, w.top - 30),
              std::min<LONG>(GetSystemMetrics(SM_CXSCREEN), w.right + 40),
              std::min<LONG>(GetSystemMetrics(SM_CYSCREEN), w.bottom + 30)};
    // A window just shown may still be painting its controls: keep the
    // first capture that a second one 200 ms later agrees with (an animated
    // window never settles; the deadline ends the wait then).
    Image shot = Capture(nullptr, area);
    WaitFor(
        [&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            Image again = Capture(nullptr, area);
            bool settled = again.pixels == shot.pixels;
            shot = std::move(again);
            return settled;
        },
        std::chrono::milliseconds(2000));
    SaveBmp(shot, name);
}

void SaveDesktopShot(const std::string& name) {
    SaveBmp(Capture(nullptr, {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}), name);
}

std::vector<Image> CaptureLenses(HWND hwnd) {
    RECT w{};
    GetWindowRect(hwnd, &w);
    return {Capture(nullptr, {w.left + 20, w.top + 15, w.left + 75, w.top + 50}),
            Capture(nullptr, {w.left + 120, w.top + 15, w.left + 175, w.top + 50})};
}

bool SamePixels(const std::vector<Image>& a, const std::vector<Image>& b) {
    for (size_t i = 0; i < a.size(); ++i)
        if (a[i].pixels != b[i].pixels) return false;
    return true;
}

bool LensesSettle(HWND hwnd) {
    return WaitFor(
        [&] {
            const std::vector<Image> first = CaptureLenses(hwnd);
            Sleep(500);
            return SamePixels(first, CaptureLenses(hwnd));
        },
        std::chrono::seconds(10));
}

}  // namespace driver
