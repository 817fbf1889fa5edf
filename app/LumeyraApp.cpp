#include "app/LumeyraApp.h"

#include <windows.h>
#include <commctrl.h>

#include "app/LumeyraDlg.h"
#include "app/SingleInstance.h"
#include "framework/Handles.h"

namespace {
// Held while the program runs: the setup and the uninstaller look for it,
// as their window check sees only their own session and the program may be
// running for another user. The name is theirs too (installer/Lumeyra.nsi).
constexpr wchar_t kRunningMutex[] = L"Global\\Lumeyra.Running";
// The same name in the session's own namespace: one copy per session.
constexpr wchar_t kSessionMutex[] = L"Lumeyra.Running";
CLumeyraApp theApp;
}  // namespace

CLumeyraApp& App() { return theApp; }

int CLumeyraApp::Run() {
    // Started again while a copy runs in this session: the running copy
    // says where it is, and this one ends having shown, written and played
    // nothing.
    CSessionInstance session(kSessionMutex);
    if (session.AnotherRuns()) {
        TellRunningCopy();
        return 0;
    }
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_ANIMATE_CLASS | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);
    MutexHandle running(CreateMutexW(nullptr, FALSE, kRunningMutex));

    // The main window runs modally for the process's whole life.
    CLumeyraDlg mainWindow;
    SetMainWindow(&mainWindow);
    mainWindow.DoModal();
    SetMainWindow(nullptr);
    return 0;
}
