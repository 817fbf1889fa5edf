// hhctrl.ocx for the program under test: it notes each call the program
// makes to the help viewer in hhctrl.log beside itself ("command data" a
// line) and passes the call on to the system's viewer, which opens as usual.
// The tests read the note to see how the program asks for its help.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::wstring Here() {
    HMODULE self = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       reinterpret_cast<LPCWSTR>(&Here), &self);
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(self, path, MAX_PATH);
    std::wstring here = path;
    return here.substr(0, here.find_last_of(L'\\') + 1);
}

void Note(UINT command, DWORD_PTR data) {
    if (FILE* log = _wfopen((Here() + L"hhctrl.log").c_str(), L"a")) {
        // HH_HELP_CONTEXT (15) carries a number; the others a topic or none.
        fprintf(log, "%u %llu\n", command, command == 15 ? static_cast<unsigned long long>(data) : data != 0);
        fclose(log);
    }
}

template <typename Function>
Function Viewer(const char* name) {
    wchar_t system[MAX_PATH] = {};
    GetSystemDirectoryW(system, MAX_PATH);
    // Each call takes a reference: the viewer stays loaded, as it would if the
    // program had loaded it itself.
    HMODULE viewer = LoadLibraryW((std::wstring(system) + L"\\hhctrl.ocx").c_str());
    return viewer ? reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(viewer, name)))
                  : nullptr;
}

}  // namespace

extern "C" __declspec(dllexport) HWND WINAPI
    HtmlHelpA(HWND caller, LPCSTR file, UINT command, DWORD_PTR data) {
    Note(command, data);
    auto viewer = Viewer<HWND(WINAPI*)(HWND, LPCSTR, UINT, DWORD_PTR)>("HtmlHelpA");
    return viewer ? viewer(caller, file, command, data) : nullptr;
}

extern "C" __declspec(dllexport) HWND WINAPI
    HtmlHelpW(HWND caller, LPCWSTR file, UINT command, DWORD_PTR data) {
    Note(command, data);
    auto viewer = Viewer<HWND(WINAPI*)(HWND, LPCWSTR, UINT, DWORD_PTR)>("HtmlHelpW");
    return viewer ? viewer(caller, file, command, data) : nullptr;
}
