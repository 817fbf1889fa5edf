#include "app/LumeyraApp.h"

#include <windows.h>
#include <commctrl.h>

#include "app/LumeyraDlg.h"
#include "framework/Handles.h"
#include "framework/Text.h"
#include "framework/Win32File.h"

namespace {
constexpr char kPasswordFile[] = "Pass.bin";
constexpr UINT kPasswordCodePage = 1251;
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
    m_pPassword.reset();
    return 0;
}

CPassword* CLumeyraApp::ReadPassword() {
    CWin32File file(ExeDir() + kPasswordFile, CWin32File::kRead);
    m_pPassword = LoadPassword(file);
    return m_pPassword.get();
}

void CLumeyraApp::WritePassword(std::string recordText) {
    CWin32File file(ExeDir() + kPasswordFile, CWin32File::kReadWrite);
    StorePassword(file, recordText);
}

std::optional<std::string> CLumeyraApp::RecordText(const std::string& typed) {
    return ToCodePage(typed, kPasswordCodePage);
}
