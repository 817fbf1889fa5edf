// The footprint benchmark's hands inside Wine: it tells the running program
// that the session is locked or unlocked (as Windows would), sets its
// opacity through its settings as a user would, ends it, and times warm
// starts from launch to the visible window.
//
//   footprint_probe lock | unlock
//   footprint_probe opacity PERCENT   (prints the opacity it replaced)
//   footprint_probe end
//   footprint_probe starts N DIR    (prints one start time in ms per line)
#include <windows.h>
// after windows.h, which they build on
#include <shellapi.h>
#include <wtsapi32.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr UINT kIconId = 128;

struct Search {
    DWORD pid;  // 0: any process
    HWND found;
};

// The program's main window: a visible dialog titled "Lumeyra".
HWND FindMain(DWORD pid) {
    Search search{pid, nullptr};
    EnumWindows(
        [](HWND hwnd, LPARAM lParam) -> BOOL {
            auto* s = reinterpret_cast<Search*>(lParam);
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            char title[16] = {}, cls[16] = {};
            GetWindowTextA(hwnd, title, sizeof title);
            GetClassNameA(hwnd, cls, sizeof cls);
            if ((s->pid == 0 || owner == s->pid) && IsWindowVisible(hwnd) &&
                std::string(title) == "Lumeyra" && std::string(cls) == "#32770") {
                s->found = hwnd;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// Ends the program behind `main` and takes down the icon it cannot remove
// itself once killed.
bool End(HWND main) {
    DWORD pid = 0;
    GetWindowThreadProcessId(main, &pid);
    HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid);
    if (!process) return false;
    TerminateProcess(process, 1);
    WaitForSingleObject(process, 10000);
    CloseHandle(process);
    NOTIFYICONDATAA data{};
    data.cbSize = NOTIFYICONDATAA_V2_SIZE;
    data.hWnd = main;
    data.uID = kIconId;
    Shell_NotifyIconA(NIM_DELETE, &data);
    return true;
}

// Waits up to a minute for `done`.
template <class Done>
bool WaitFor(Done done) {
    for (int i = 0; i < 600; ++i) {
        if (done()) return true;
        Sleep(100);
    }
    return false;
}

// The settings opened as from the menu, the opacity typed in and applied.
int SetOpacity(HWND main, const char* percent) {
    constexpr WPARAM kSettingsCommand = 170;
    constexpr int kOpacityField = 1014;
    PostMessageW(main, WM_COMMAND, kSettingsCommand, 0);
    HWND dialog = nullptr;
    if (!WaitFor([&] { return (dialog = FindWindowW(L"#32770", L"Настройки")) != nullptr; })) {
        fprintf(stderr, "the settings did not open\n");
        return 1;
    }
    char old[16] = {};
    GetDlgItemTextA(dialog, kOpacityField, old, sizeof old);
    SetDlgItemTextA(dialog, kOpacityField, percent);
    PostMessageW(dialog, WM_COMMAND, IDOK, 0);
    if (!WaitFor([&] { return !IsWindow(dialog); })) {
        fprintf(stderr, "the settings did not close\n");
        return 1;
    }
    printf("%s\n", old);
    return 0;
}

double Ms(LARGE_INTEGER from, LARGE_INTEGER to, LARGE_INTEGER frequency) {
    return 1000.0 * static_cast<double>(to.QuadPart - from.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

// Launch to visible main window, `count` times, each instance ended before
// the next starts.
int Starts(int count, const std::string& dir) {
    LARGE_INTEGER frequency{};
    QueryPerformanceFrequency(&frequency);
    std::string exe = dir + "\\Lumeyra.exe";
    for (int i = 0; i < count; ++i) {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        std::string commandLine = "\"" + exe + "\"";
        LARGE_INTEGER start{}, now{};
        QueryPerformanceCounter(&start);
        if (!CreateProcessA(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, dir.c_str(),
                            &startup, &info)) {
            fprintf(stderr, "cannot start %s\n", exe.c_str());
            return 1;
        }
        HWND main = nullptr;
        do {
            Sleep(5);
            QueryPerformanceCounter(&now);
            main = FindMain(info.dwProcessId);
        } while (!main && Ms(start, now, frequency) < 60000);
        if (!main) {
            fprintf(stderr, "no window within a minute\n");
            TerminateProcess(info.hProcess, 1);
            return 1;
        }
        printf("%.1f\n", Ms(start, now, frequency));
        fflush(stdout);
        End(main);
        CloseHandle(info.hThread);
        CloseHandle(info.hProcess);
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    std::string command = argc > 1 ? argv[1] : "";
    if (command == "starts" && argc == 4) return Starts(atoi(argv[2]), argv[3]);
    HWND main = FindMain(0);
    if (!main) {
        fprintf(stderr, "the program's window is not there\n");
        return 1;
    }
    if (command == "lock" || command == "unlock") {
        PostMessageA(main, WM_WTSSESSION_CHANGE, command == "lock" ? WTS_SESSION_LOCK : WTS_SESSION_UNLOCK,
                     1);
        return 0;
    }
    if (command == "opacity" && argc == 3) return SetOpacity(main, argv[2]);
    if (command == "end") return End(main) ? 0 : 1;
    fprintf(stderr, "usage: footprint_probe lock|unlock|opacity PERCENT|end|starts N DIR\n");
    return 2;
}
