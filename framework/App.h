#pragma once

#include <windows.h>

#include <string>
#include <utility>

class CDialog;

// The base of the one application object. The framework's WinMain hands the
// process to it; the program derives from it once, defines that object and
// is the one that hands it out. The framework itself reaches it only through
// the static services below, which also work while there is none.
class CAppBase {
public:
    CAppBase();
    virtual ~CAppBase();
    CAppBase(const CAppBase&) = delete;
    CAppBase& operator=(const CAppBase&) = delete;

    // The start step: the process's whole run; its result is the exit code.
    static int Start(HINSTANCE instance);
    // The part of the start step that learns the module and its paths; the
    // Windows tests call it alone to run the program's dialogs.
    void Init(HINSTANCE instance);

    // The one application object, for the program's windows, which need
    // its services but not the program's own class of it.
    static CAppBase& Current() { return *s_app; }
    // The program's own module: where its resources live.
    static HINSTANCE Module() { return s_app ? s_app->m_hInstance : nullptr; }
    const std::string& ExePath() const { return m_strExePath; }
    // The executable's directory, ending with its separator: where the files
    // that ship beside it are looked for.
    const std::string& ExeDir() const { return m_strExeDir; }
    // Looks for those files in `dir` instead (ending with a separator): the
    // Windows tests give the program a folder of their own.
    void SetExeDir(std::string dir) { m_strExeDir = std::move(dir); }
    // The executable's name without extension: the caption of message boxes.
    const std::string& AppName() const { return m_strAppName; }
    // The compiled help file beside the executable.
    const std::string& HelpFile() const { return m_strHelpFile; }

    // The application's message box: captioned with the application's name,
    // owned by the active window of this thread. Returns the button pressed.
    static int ShowMessage(const char* text, UINT type = MB_OK | MB_ICONEXCLAMATION);
    // Reports an error that escaped a window's handler, in the stop-icon box;
    // works before and after the application object exists, too.
    static void ReportError(const char* text);
    // Opens the help file at a context number, or says that it could not.
    void ShowHelp(DWORD context) const;
    // Starts playing a WAV file and returns at once; a file that cannot be
    // read plays nothing.
    void PlaySoundFile(const std::string& path);

    // The main window: the owner of dialogs run without one.
    static CDialog* MainWindow() { return s_app ? s_app->m_pMainWnd : nullptr; }
    void SetMainWindow(CDialog* window) { m_pMainWnd = window; }

protected:
    // Runs the program once the paths are known.
    virtual int Run() = 0;

private:
    static CAppBase* s_app;
    HINSTANCE m_hInstance = nullptr;
    std::string m_strExePath;
    std::string m_strExeDir;
    std::string m_strAppName;
    std::string m_strHelpFile;
    CDialog* m_pMainWnd = nullptr;
    // The sound playing, read whole: the system plays it from here.
    std::string m_strSound;
};

// The program's own module: where its resources live.
inline HINSTANCE AppInstance() { return CAppBase::Module(); }
// The one application object, as every window may reach it.
inline CAppBase& AppBase() { return CAppBase::Current(); }
