#include "app/LumeyraApp.h"

#include <windows.h>
#include <commctrl.h>

#include "app/LumeyraDlg.h"
#include "framework/Handles.h"

namespace {
// Held while the program runs: the setup and the uninstaller look for it,
// as their window check sees only their own session and the program may be
// running for another user. The name is theirs too (installer/Lumeyra.nsi).
constexpr wchar_t kRunningMutex[] = L"Global\\Lumeyra.Running";
CLumeyraApp theApp;
}  // namespace

CLumeyraApp& App() { return theApp; }

int CLumeyraApp::Run() {
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
