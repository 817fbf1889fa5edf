// The soak benchmark's hands inside Wine: it prepares the settings, checks
// that every count reads what is made, and drives the running program
// through its everyday cycles, printing the program's objects at each
// sample and waiting for bench/soak to read its memory before it goes on.
//
//   soak_probe seed DIR                          settings and an empty password
//   soak_probe calibrate
//   soak_probe run CYCLES ROUNDS EVERY WARMUP    CYCLES: names joined by ","
//
// A sample line: "sample PHASE ROUND gdi cache windows menus cursors handles
// threads" (cache: the device contexts among the GDI objects, with their
// regions and surfaces); after it the probe reads one line from its input.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "framework/Handles.h"
#include "tests/support/ObjectCounts.h"
#include "tests/support/WinTestSupport.h"

namespace {

using namespace std::chrono_literals;
using testsupport::WaitFor;

constexpr auto kTimeout = 30s;
// The program's ids: its menu's commands, the notification icon, and the
// controls that tell its windows apart.
constexpr UINT kCmdSettings = 170, kCmdExit = 32772, kCmdAbout = 32775;
constexpr UINT kIconId = 128;
constexpr int kPromptMessage = 1004, kRestProgress = 1021, kAboutMail = 1019, kAboutFold = 1013,
              kSettingsAlpha = 1014, kExitQuestion = 1020;

struct Program {
    HWND main = nullptr;
    DWORD pid = 0;
    HANDLE process = nullptr;
    UINT countRequest = 0;
    int step = 0;
};

HWND FindOwn(const Program& p, const std::function<bool(HWND)>& match, bool visibleOnly = true) {
    return testsupport::FindTopWindow(
        [&](HWND hwnd) {
            DWORD owner = 0;
            GetWindowThreadProcessId(hwnd, &owner);
            return owner == p.pid && match(hwnd);
        },
        visibleOnly);
}

HWND WaitOwn(const Program& p, const std::function<bool(HWND)>& match) {
    HWND found = nullptr;
    WaitFor([&] { return (found = FindOwn(p, match)) != nullptr; }, kTimeout, 10ms);
    return found;
}

auto HasItem(int id) {
    return [id](HWND hwnd) { return GetDlgItem(hwnd, id) != nullptr; };
}

bool IsMenuWindow(HWND hwnd) {
    char cls[16] = {};
    GetClassNameA(hwnd, cls, sizeof cls);
    return std::string(cls) == "#32768";
}

bool Sync(HWND hwnd) {
    DWORD_PTR answer = 0;
    return SendMessageTimeoutA(hwnd, WM_NULL, 0, 0, SMTO_BLOCK, 10000, &answer) != 0;
}

void Command(HWND window, int id) { PostMessageA(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

bool Gone(HWND window) {
    return WaitFor([&] { return !IsWindow(window); }, kTimeout, 10ms);
}

// One tick of the main window's timer, posted (its handler ignores the id);
// active when the cursor moved since the one before.
void Tick(Program& p, bool active) {
    if (active) {
        const int x = 300 + (++p.step % 2) * 10;
        SetCursorPos(x, 300);
        WaitFor(
            [x] {
                POINT at{};
                return GetCursorPos(&at) && at.x == x;
            },
            2s, 1ms);
    }
    PostMessageA(p.main, WM_TIMER, 1, 0);
    Sync(p.main);
}

// Active ticks until the rest prompt shows (the limit is a minute); the
// prompt, or null.
HWND WorkUntilPrompt(Program& p) {
    auto prompt = HasItem(kPromptMessage);
    for (int n = 0; n < 400; ++n) {
        Tick(p, true);
        if (FindOwn(p, prompt, false)) return WaitOwn(p, prompt);
    }
    return nullptr;
}

// The cycles. Each leaves the program as it found it: no window open, the
// work count near zero.
bool RestCycle(Program& p) {
    HWND prompt = WorkUntilPrompt(p);
    if (!prompt) return false;
    Command(prompt, IDOK);  // "rest"
    HWND rest = WaitOwn(p, HasItem(kRestProgress));
    if (!rest) return false;
    Command(rest, IDOK);  // back to work at once
    return Gone(rest) && Sync(p.main);
}

bool PostponeCycle(Program& p) {
    HWND prompt = WorkUntilPrompt(p);
    if (!prompt) return false;
    Command(prompt, IDCANCEL);  // five minutes more
    if (!Gone(prompt)) return false;
    // A pause longer than the rest (a minute) ends the postponement.
    for (int n = 0; n < 65; ++n) Tick(p, false);
    return true;
}

bool AboutCycle(Program& p) {
    PostMessageA(p.main, WM_COMMAND, kCmdAbout, 0);
    HWND about = WaitOwn(p, HasItem(kAboutMail));
    if (!about) return false;
    Command(about, kAboutFold);
    Command(about, IDOK);
    return Gone(about);
}

bool SettingsCycle(Program& p) {
    PostMessageA(p.main, WM_COMMAND, kCmdSettings, 0);
    HWND settings = WaitOwn(p, HasItem(kSettingsAlpha));
    if (!settings) return false;
    Command(settings, IDOK);  // applied as they stand
    return Gone(settings) && Sync(p.main);
}

bool ExitCycle(Program& p) {
    PostMessageA(p.main, WM_COMMAND, kCmdExit, 0);
    HWND question = WaitOwn(p, HasItem(kExitQuestion));
    if (!question) return false;
    Command(question, IDCANCEL);  // "no"
    return Gone(question) && Sync(p.main) && IsWindow(p.main);
}

// The menu from the notification icon (its callback is WM_SYSCOMMAND with
// its id) and from the spectacles, each closed with Escape.
bool MenusCycle(Program& p) {
    for (bool fromIcon : {true, false}) {
        if (fromIcon)
            PostMessageA(p.main, WM_SYSCOMMAND, kIconId, WM_RBUTTONUP);
        else
            PostMessageA(p.main, WM_RBUTTONUP, 0, MAKELPARAM(47, 32));
        HWND menu = WaitOwn(p, IsMenuWindow);
        if (!menu) return false;
        PostMessageA(menu, WM_KEYDOWN, VK_ESCAPE, 0);
        if (!WaitFor([&] { return !FindOwn(p, IsMenuWindow); }, kTimeout, 10ms)) return false;
    }
    return Sync(p.main);
}

struct Cycle {
    const char* name;
    bool (*run)(Program&);
};
constexpr Cycle kCycles[] = {{"rest", RestCycle},         {"postpone", PostponeCycle}, {"about", AboutCycle},
                             {"settings", SettingsCycle}, {"exit", ExitCycle},         {"menus", MenusCycle}};

// Windows, menus and cursors as the counter inside the program sees them.
bool CountUser(const Program& p, testsupport::UserObjects& counts) {
    MSG msg{};
    while (PeekMessageA(&msg, nullptr, WM_APP, WM_APP, PM_REMOVE)) {
    }
    PostMessageA(p.main, p.countRequest, GetCurrentThreadId(), 0);
    if (!WaitFor([&] { return PeekMessageA(&msg, nullptr, WM_APP, WM_APP, PM_REMOVE) != FALSE; }, kTimeout,
                 5ms))
        return false;
    counts.windows = LOWORD(msg.wParam);
    counts.menus = HIWORD(msg.wParam);
    counts.cursors = static_cast<int>(msg.lParam);
    return true;
}

bool Sample(const Program& p, const std::string& phase, int round) {
    testsupport::UserObjects user;
    if (!CountUser(p, user)) {
        fprintf(stderr, "the counter inside the program did not answer\n");
        return false;
    }
    const testsupport::GdiCount gdi = testsupport::GdiObjects(p.process);
    printf("sample %s %d %d %d %d %d %d %d %d\n", phase.c_str(), round, gdi.total, gdi.total - gdi.Others(),
           user.windows, user.menus, user.cursors, testsupport::KernelHandles(p.pid),
           testsupport::Threads(p.pid));
    fflush(stdout);
    char line[16];
    return fgets(line, sizeof line, stdin) != nullptr;
}

int Run(const std::string& names, int rounds, int every, int warmup) {
    std::vector<const Cycle*> chosen;
    for (size_t from = 0; from <= names.size();) {
        size_t to = names.find(',', from);
        if (to == std::string::npos) to = names.size();
        const std::string name = names.substr(from, to - from);
        const Cycle* found = nullptr;
        for (const Cycle& c : kCycles)
            if (name == c.name) found = &c;
        if (!found) {
            fprintf(stderr, "no cycle called %s\n", name.c_str());
            return 2;
        }
        chosen.push_back(found);
        from = to + 1;
    }

    Program p;
    p.main = testsupport::FindTopWindow([](HWND hwnd) {
        return testsupport::TextOf(hwnd) == L"Lumeyra" && GetDlgItem(hwnd, 1000) != nullptr;
    });
    if (!p.main) {
        fprintf(stderr, "the program's window is not there\n");
        return 1;
    }
    const DWORD thread = GetWindowThreadProcessId(p.main, &p.pid);
    FileHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, p.pid));
    p.process = process.Get();
    p.countRequest = RegisterWindowMessageA("LumeyraSoakCount");
    LibraryHandle counter(LoadLibraryA("soak_counter.dll"));
    auto hook = reinterpret_cast<HOOKPROC>(
        reinterpret_cast<void (*)()>(GetProcAddress(counter.Get(), "CountOnRequest")));
    HHOOK hooked = hook ? SetWindowsHookExA(WH_GETMESSAGE, hook, counter.Get(), thread) : nullptr;
    testsupport::UserObjects ignored;
    MSG queue{};
    PeekMessageA(&queue, nullptr, 0, 0, PM_NOREMOVE);  // this thread's queue, for the answers
    // The first request loads the counter into the program, for good.
    if (!p.process || !hooked || !CountUser(p, ignored)) {
        fprintf(stderr, "cannot count inside the program\n");
        return 1;
    }

    // The mix first, every cycle in turn each round; then each alone.
    std::vector<std::pair<std::string, std::vector<const Cycle*>>> phases;
    if (chosen.size() > 1) phases.push_back({"mix", chosen});
    for (const Cycle* c : chosen) phases.push_back({c->name, {c}});
    for (const auto& [phase, cycles] : phases) {
        const auto start = std::chrono::steady_clock::now();
        for (int round = -warmup; round <= rounds; ++round) {
            if (round >= 0 && round % every == 0 && !Sample(p, phase, round)) return 1;
            if (round == rounds) break;
            for (const Cycle* c : cycles) {
                if (!c->run(p)) {
                    fprintf(stderr, "%s: round %d of %s did not go through\n", phase.c_str(), round, c->name);
                    return 1;
                }
            }
        }
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        printf("phase %s %.1f\n", phase.c_str(), seconds);
        fflush(stdout);
    }
    UnhookWindowsHookEx(hooked);
    return 0;
}

// Each count against objects made here: it must read exactly as many more.
int Calibrate() {
    constexpr int kMade = 100;
    const DWORD self = GetCurrentProcessId();
    FileHandle process(OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, self));
    struct Reading {
        const char* what;
        std::function<int()> count;
        std::function<void(std::vector<std::function<void()>>&)> make;  // undo steps
    };
    const Reading readings[] = {
        {"GDI objects (brushes)", [&] { return testsupport::GdiObjects(process.Get()).total; },
         [](auto& undo) {
             HBRUSH brush = CreateSolidBrush(RGB(1, 2, 3));
             undo.push_back([brush] { DeleteObject(brush); });
         }},
        {"kernel handles (events)", [&] { return testsupport::KernelHandles(self); },
         [](auto& undo) {
             HANDLE event = CreateEventA(nullptr, FALSE, FALSE, nullptr);
             undo.push_back([event] { CloseHandle(event); });
         }},
        {"windows", [&] { return testsupport::CountUserObjects(self).windows; },
         [](auto& undo) {
             HWND hwnd =
                 CreateWindowExA(0, "Static", "", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
             undo.push_back([hwnd] { DestroyWindow(hwnd); });
         }},
        {"menus", [&] { return testsupport::CountUserObjects(self).menus; },
         [](auto& undo) {
             HMENU menu = CreatePopupMenu();
             undo.push_back([menu] { DestroyMenu(menu); });
         }},
        {"cursors and icons", [&] { return testsupport::CountUserObjects(self).cursors; },
         [](auto& undo) {
             const BYTE and_[32 * 4] = {}, xor_[32 * 4] = {};
             HCURSOR cursor = CreateCursor(nullptr, 0, 0, 32, 32, and_, xor_);
             undo.push_back([cursor] { DestroyCursor(cursor); });
         }},
        {"threads", [&] { return testsupport::Threads(self); },
         [](auto& undo) {
             HANDLE stop = CreateEventA(nullptr, TRUE, FALSE, nullptr);
             HANDLE thread = CreateThread(
                 nullptr, 0, [](void* e) -> DWORD { return WaitForSingleObject(e, INFINITE); }, stop, 0,
                 nullptr);
             undo.push_back([stop, thread] {
                 SetEvent(stop);
                 WaitForSingleObject(thread, INFINITE);
                 CloseHandle(thread);
                 CloseHandle(stop);
             });
         }},
    };
    int failed = 0;
    for (const Reading& r : readings) {
        // Threads are costly: ten of them calibrate as well as a hundred.
        const int made = std::string(r.what) == "threads" ? 10 : kMade;
        // One made first and kept till the end: a thread's first window
        // brings its input method's window along, and its last takes it.
        std::vector<std::function<void()>> first, undo;
        r.make(first);
        const int before = r.count();
        for (int i = 0; i < made; ++i) r.make(undo);
        const int during = r.count();
        for (auto& step : undo) step();
        const int after = r.count();
        first.back()();
        const bool ok = before >= 0 && during - before == made && after == before;
        printf("calibration %s: %d made read +%d, +%d once gone: %s\n", r.what, made, during - before,
               after - before, ok ? "ok" : "WRONG");
        failed += !ok;
    }
    return failed ? 1 : 0;
}

int Seed(const std::string& dir) {
    testsupport::ForgetSettings();
    // A minute of work and a minute of rest: the prompt comes after sixty
    // active ticks, and a pause of sixty-one idle ones ends a postponement.
    const std::pair<const char*, int> settings[] = {{"TimeWork", 1}, {"TimeRelese", 1}, {"WindowType", 0},
                                                    {"xPos", 0},     {"yPos", 0},       {"alpha", 100},
                                                    {"StopTimer", 0}};
    for (const auto& [name, value] : settings)
        if (!testsupport::StoreSetting(name, value)) return 1;
    testsupport::WriteFileBytes(dir + "\\Pass.bin", testsupport::kEmptyPasswordRecord);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "seed" && argc == 3) return Seed(argv[2]);
    if (command == "calibrate") return Calibrate();
    if (command == "run" && argc == 6) return Run(argv[2], atoi(argv[3]), atoi(argv[4]), atoi(argv[5]));
    fprintf(stderr, "usage: soak_probe seed DIR | calibrate | run CYCLES ROUNDS EVERY WARMUP\n");
    return 2;
}
