#include "framework/App.h"

#include <htmlhelp.h>
#include <mmsystem.h>

#include <cstring>

#include "framework/Dialog.h"
#include "framework/ExePaths.h"
#include "framework/Handles.h"
#include "framework/Text.h"

CAppBase* CAppBase::s_app = nullptr;

CAppBase::CAppBase() { s_app = this; }

CAppBase::~CAppBase() {
    PlaySound(nullptr, nullptr, 0);  // before the sound's memory goes
    s_app = nullptr;
}

int CAppBase::Start(HINSTANCE instance) {
    // The windows' thread answers screen readers through COM, and the shell
    // asks for an apartment too before it opens a link.
    ComApartment apartment;
    s_app->Init(instance);
    return s_app->Run();
}

void CAppBase::Init(HINSTANCE instance) {
    m_hInstance = instance;
    // Paths may be longer than MAX_PATH: grow until the whole one fits.
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = GetModuleFileName(nullptr, path.data(), static_cast<DWORD>(path.size()));
        if (length < path.size()) {
            path.resize(length);
            break;
        }
        path.resize(path.size() * 2);
    }
    m_strExePath = Narrow(path);
    m_strExeDir = ExeDirectory(m_strExePath);
    m_strAppName = AppNameFromPath(m_strExePath);
    m_strHelpFile = HelpFilePath(m_strExePath);
}

int CAppBase::ShowMessage(const char* text, UINT type) {
    // Without the application object the system's own caption stands.
    const std::wstring caption = s_app ? Widen(s_app->m_strAppName) : std::wstring();
    return MessageBox(GetActiveWindow(), Widen(text).c_str(), s_app ? caption.c_str() : nullptr, type);
}

void CAppBase::ReportError(const char* text) { ShowMessage(text, MB_OK | MB_ICONSTOP); }

void CAppBase::ShowHelp(DWORD context) const {
    HCURSOR previous = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    HWND owner = m_pMainWnd && m_pMainWnd->Hwnd() ? m_pMainWnd->Hwnd() : GetDesktopWindow();
    // Microsoft's help tools take id 0 for "no id" and the viewer may refuse
    // it, so 0 opens the file's default topic (HH_DISPLAY_TOPIC naming no
    // topic), which is the page 0 stands for.
    UINT command = context == 0 ? HH_DISPLAY_TOPIC : HH_HELP_CONTEXT;
    HWND viewer = HtmlHelp(owner, Widen(m_strHelpFile).c_str(), command, context);
    SetCursor(previous);
    if (!viewer) ShowMessage("Failed to launch help.");
}

namespace {

// A sound played from memory is read as far as its RIFF header says: one
// that claims more than the file holds would be read past the end.
bool IsWholeWave(const std::string& bytes) {
    if (bytes.size() < 12 || bytes.compare(0, 4, "RIFF") != 0 || bytes.compare(8, 4, "WAVE") != 0)
        return false;
    uint32_t length = 0;
    memcpy(&length, bytes.data() + 4, sizeof length);
    return length <= bytes.size() - 8;
}

}  // namespace

void CAppBase::PlaySoundFile(const std::string& path) {
    // Read here and played from memory: the system's own reading of a sound
    // file by name (mmio) went through the ANSI code page under Wine and
    // missed a file in a folder whose name has letters that code page lacks;
    // read here, no code page is involved anywhere.
    constexpr LONGLONG kLargest = 16 << 20;  // ours are under 100 KB
    FileHandle file(CreateFile(Widen(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER size{};
    if (!file || !GetFileSizeEx(file.Get(), &size) || size.QuadPart > kLargest) return;
    std::string wave(static_cast<size_t>(size.QuadPart), '\0');
    DWORD read = 0;
    if (!ReadFile(file.Get(), wave.data(), static_cast<DWORD>(wave.size()), &read, nullptr) ||
        read != wave.size() || !IsWholeWave(wave))
        return;
    // The sound still playing lets go of its memory before that is replaced.
    PlaySound(nullptr, nullptr, 0);
    m_strSound = std::move(wave);
    PlaySound(reinterpret_cast<LPCWSTR>(m_strSound.data()), nullptr, SND_MEMORY | SND_ASYNC | SND_NODEFAULT);
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) { return CAppBase::Start(instance); }
