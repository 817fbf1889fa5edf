#include "framework/App.h"

#include <htmlhelp.h>

#include "framework/Dialog.h"
#include "framework/ExePaths.h"

CAppBase* CAppBase::s_app = nullptr;

CAppBase::CAppBase() { s_app = this; }

CAppBase::~CAppBase() { s_app = nullptr; }

int CAppBase::Start(HINSTANCE instance) {
    s_app->Init(instance);
    return s_app->Run();
}

void CAppBase::Init(HINSTANCE instance) {
    m_hInstance = instance;
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    m_strExePath = path;
    m_strExeDir = ExeDirectory(m_strExePath);
    m_strAppName = AppNameFromPath(m_strExePath);
    m_strHelpFile = HelpFilePath(m_strExePath);
}

int CAppBase::ShowMessage(const char* text, UINT type) {
    // Without the application object the system's own caption stands.
    return MessageBoxA(GetActiveWindow(), text, s_app ? s_app->m_strAppName.c_str() : nullptr, type);
}

void CAppBase::ReportError(const char* text) { ShowMessage(text, MB_OK | MB_ICONSTOP); }

void CAppBase::ShowHelp(DWORD context) const {
    HCURSOR previous = SetCursor(LoadCursorA(nullptr, IDC_WAIT));
    HWND owner = m_pMainWnd && m_pMainWnd->Hwnd() ? m_pMainWnd->Hwnd() : GetDesktopWindow();
    // Microsoft's help tools take id 0 for "no id" and the viewer may refuse
    // it, so 0 opens the file's default topic (HH_DISPLAY_TOPIC naming no
    // topic), which is the page 0 stands for.
    UINT command = context == 0 ? HH_DISPLAY_TOPIC : HH_HELP_CONTEXT;
    HWND viewer = HtmlHelpA(owner, m_strHelpFile.c_str(), command, context);
    SetCursor(previous);
    if (!viewer) ShowMessage("Failed to launch help.");
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return CAppBase::Start(instance); }
