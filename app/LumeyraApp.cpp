#include "app/LumeyraApp.h"

#include <windows.h>
#include <commctrl.h>

#include "app/ExePaths.h"
#include "app/LumeyraDlg.h"

namespace {
CLumeyraApp theApp;
}

CLumeyraApp& App() { return theApp; }

int CLumeyraApp::Run() {
    m_strExeDir = ExeDirectory(CAppBase::ExePath());
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_ANIMATE_CLASS | ICC_PROGRESS_CLASS};
    InitCommonControlsEx(&controls);

    // The main window runs modally for the process's whole life.
    CLumeyraDlg mainWindow;
    SetMainWindow(&mainWindow);
    mainWindow.DoModal();
    SetMainWindow(nullptr);
    return 0;
}
