#pragma once

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/WinTestSupport.h"

// Drives Lumeyra.exe from outside, as a user and the system would see it:
// starts it, finds its windows, reads their state, captures the screen and
// prepares the registry.
namespace driver {

// Folders given on the command line, as UTF-8: where Lumeyra.exe lies and
// where the screenshots go. With --cyrillic-folder the program runs from a
// copy in a folder with a Cyrillic name.
struct Paths {
    std::string exeDir;
    std::string artifacts;
};
Paths& Folders();
// The value of the command line's "--name=value" option (`prefix` is
// "--name="), or empty.
std::string CommandLineOption(int argc, char** argv, const std::string& prefix);
// Takes the folders from --exe-dir= and --artifacts= and makes the artifacts
// folder; false when either is missing.
bool ReadFolders(int argc, char** argv);

using testsupport::Capture;
using testsupport::ForgetSettings;
using testsupport::Image;
using testsupport::PressKey;
using testsupport::RawValue;
using testsupport::ReadRaw;
using testsupport::RemovePolicy;
using testsupport::StoreSetting;
using testsupport::TextOf;
using testsupport::WaitFor;
using testsupport::WritePolicy;

// The help viewer's window. The viewer is not Unicode: it shows the help
// file's title in the system's ANSI code page, readable only where that is
// Cyrillic, so it is known by its window class.
bool IsHelpViewer(HWND window);

// The program started by a test; ended by its id when the test is done.
class Program {
public:
    // Starts Lumeyra.exe from `exeDir` (the build's folder by default).
    explicit Program(const std::string& exeDir = Folders().exeDir);
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    DWORD Id() const { return m_info.dwProcessId; }
    bool Running() const;
    // For a failure's message: not started, ended (with its code), or
    // running, with the titles of its top-level windows, hidden ones too.
    std::string State() const;
    // The exit code once the program has ended within `timeout`; -1 if not.
    long WaitForExit(std::chrono::milliseconds timeout) const;
    // The program's visible top-level window with this title.
    HWND WaitForWindow(const wchar_t* title, std::chrono::milliseconds timeout) const;
    // The program's first visible top-level window that `match` accepts.
    HWND WaitForWindow(const std::function<bool(HWND)>& match, std::chrono::milliseconds timeout) const;
    // The same without waiting, hidden windows included unless
    // `visibleOnly`; null when there is none.
    HWND FindOwnWindow(const std::function<bool(HWND)>& match, bool visibleOnly = true) const;
    // The notification icon of this window is taken down when the program
    // is ended, which a killed process cannot do itself.
    void SetMainWindow(HWND hwnd) { m_mainWindow = hwnd; }
    // From here on the test drives the program's time alone: the main
    // window's own one-second tick is kept from it (by a hook of the test's
    // inside the program; the program itself is unchanged), and only the
    // ticks posted with PostTick count. False when the hook did not take.
    bool DriveTime(HWND main);
    // The ids of the program's threads: the animation control plays on one
    // of its own, which ends when the animation stops.
    std::set<DWORD> Threads() const;
    // Sends a power setting's new value to a window of the program, as the
    // system does for a registered notification: the record lives in the
    // program's memory, which the window's handler reads.
    bool SendPowerSetting(HWND hwnd, const GUID& setting, DWORD value) const;

private:
    PROCESS_INFORMATION m_info{};
    HWND m_mainWindow = nullptr;
    HMODULE m_gateLibrary = nullptr;
    HHOOK m_gate = nullptr;
};

// Returns once `hwnd`'s thread answers a sent message. A sent message is
// handled before the posted ones waiting in the queue, so this does not
// mean that those have been handled.
bool Sync(HWND hwnd);
// Returns true once the main window's thread has handled everything posted
// to it before (or opened a modal loop on it): the tick gate, which
// DriveTime has put in, answers a marker posted after them.
bool Handled(HWND main);
// A second as the program sees it: what the user does (a key pressed, the
// mouse moved to a new place once it has landed there), then one tick of
// the main window's timer, posted (the handler ignores the id) and handled.
enum class Input { kKeyAndMouse, kMouse, kKey, kNothing };
void MoveCursor();
void PostTick(HWND main);
void Tick(HWND main, Input input);
// An active second: a key pressed and the mouse moved.
inline void ActiveTick(HWND main) { Tick(main, Input::kKeyAndMouse); }
// Posts up to `most` ticks, each after `input`, until `done` holds once a
// tick has been handled; the number of ticks it took, or -1.
int TicksUntil(HWND main, const std::function<bool()>& done, int most, Input input = Input::kKeyAndMouse);
// Sets the opacity through the settings dialog, opened as from the menu and
// applied; true once it has closed.
bool SetOpacity(const Program& program, HWND main, const char* percent);
// The program's open popup menu (class #32768); null when none is open.
HWND FindMenu(const Program& program);
// Returns true once the main window has handled everything posted to it
// before: the notification icon's right click, posted after them, opens the
// menu only then (and is closed again). Not while a prompt or the exit
// question is open, which refuse the menu, nor after posted keys: the
// characters they are translated into come after it and close the menu.
bool HandledPosted(const Program& program, HWND main);
void SaveBmp(const Image& image, const std::string& name);

// The main window's extended style and its layered alpha byte (the colour
// key and flags are checked on the way).
LONG ExStyle(HWND hwnd);
BYTE Alpha(HWND hwnd);
// The screen's scale in dots per inch, as Wine hands it to every program.
int ScreenDpi();
// Whether the notification area holds this icon (it answers NIM_MODIFY only
// then).
bool HasNotifyIcon(HWND hwnd, UINT id);
// The tip of the notification icon whose tip starts with `start`, as the
// notification area shows it: read from the tooltip Wine's taskbar keeps
// for each icon. Empty when there is none.
std::wstring NotifyIconTip(const std::wstring& start);
// A window of the test's own in front of everything, on a thread of its own
// that answers its messages: borderless over the whole screen (a slide show,
// a film, a game), an ordinary window maximised, or a maximised one without
// a caption (a frameless application), stretched over the whole screen.
class ForegroundWindow {
public:
    // kWindowed: a player's borderless window, 640 by 480, not maximised.
    enum class Kind { kFullScreen, kMaximised, kMaximisedBare, kWindowed };
    explicit ForegroundWindow(Kind kind);
    ~ForegroundWindow();
    ForegroundWindow(const ForegroundWindow&) = delete;
    ForegroundWindow& operator=(const ForegroundWindow&) = delete;
    HWND Hwnd() const { return m_hwnd; }
    // A small dialog it owns (a player's or a browser's), shown in front;
    // it goes with its owner.
    HWND ShowOwned();

private:
    std::thread m_thread;
    HWND m_hwnd = nullptr;
};
// A restart of Explorer, in its two halves: the program's icon (id 128) is
// gone, and the new taskbar announces itself to every top-level window with
// the registered "TaskbarCreated".
void DeleteNotifyIcon(HWND hwnd);
void AnnounceTaskbar();
// Pixels of the notification area: the running icon's yellow lid, and the
// dark pixels of either icon; -1 when there is no taskbar.
int YellowTrayPixels();
int DarkTrayPixels();
// Screenshots, kept as artefacts: around a window, or the whole screen.
void SaveWindowShot(HWND hwnd, const std::string& name);
void SaveDesktopShot(const std::string& name);
// The inner parts of the main window's two lenses, where the eyes move.
std::vector<Image> CaptureLenses(HWND hwnd);
bool SamePixels(const std::vector<Image>& a, const std::vector<Image>& b);
// True once the lenses stay the same for six frames' time (the last frame
// drawn may still be on its way to the screen); false if they never do
// within ten seconds.
bool LensesSettle(HWND hwnd);
// Whether a thread of `of` is not in `in`: one that has ended, or, with the
// sets the other way round, one that has begun.
bool OneMissing(const std::set<DWORD>& of, const std::set<DWORD>& in);

}  // namespace driver
