// The packages as a Windows user meets them, one stage of the journey per
// test suite (journey.sh installs, upgrades and uninstalls in between):
// Installed, Upgraded, Uninstalled, Portable.
#include <gtest/gtest.h>

#include <filesystem>

#include "tests/e2e/Driver.h"

namespace {

using namespace std::chrono_literals;
using namespace driver;

constexpr auto kTimeout = 60s;
constexpr UINT kIconId = 128;
constexpr const char* kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Lumeyra";
constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* kPassword = "glasses-1";
const std::string& kEmptyRecord = testsupport::kEmptyPasswordRecord;
// The files both packages hold; the setup adds its uninstaller.
const char* const kFiles[] = {"Lumeyra.exe",
                              "HookKeyUp.dll",
                              "OnReleaseWarning.wav",
                              "OnStartWork.wav",
                              "Lumeyra.CHM",
                              "Pass.bin",
                              "CREDITS",
                              "LICENSE",
                              "policies\\Lumeyra.admx",
                              "policies\\en-US\\Lumeyra.adml",
                              "policies\\ru-RU\\Lumeyra.adml"};

struct Options {
    std::string setup;  // the setup exe
    std::string state;  // a folder kept between the stages
};
Options& Given() {
    static Options options;
    return options;
}

std::string InstallDir() { return Folders().exeDir; }
bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }
std::string Str(const RawValue& v) { return {v.data.begin(), v.data.end()}; }
bool KeyExists(HKEY root, const char* path) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, path, 0, KEY_READ | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}
void Click(HWND dialog, int id) { PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }
bool WaitGone(HWND window) {
    return WaitFor([&] { return !IsWindow(window) || !IsWindowVisible(window); }, 20s);
}
// Runs a program to its end; its exit code, or -1 when it did not end.
long RunToEnd(std::string commandLine) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &info))
        return -1;
    DWORD code = static_cast<DWORD>(-1);
    if (WaitForSingleObject(info.hProcess, 120000) == WAIT_OBJECT_0) GetExitCodeProcess(info.hProcess, &code);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    return static_cast<long>(code);
}

// The installed program: started, its window and icon up.
class Started : public ::testing::Test {
protected:
    void SetUp() override {
        m_program = std::make_unique<Program>(InstallDir());
        main = m_program->WaitForWindow(L"Lumeyra", kTimeout);
        ASSERT_TRUE(main) << "the program in " << InstallDir() << " shows no window";
        m_program->SetMainWindow(main);
    }
    Program& program() { return *m_program; }
    HWND main = nullptr;

private:
    std::unique_ptr<Program> m_program;
};

// Help from the icon's menu opens the viewer on the help file beside the
// program (a missing or broken file gives "Failed to launch help." instead).
void ExpectHelpOpens(Program& program, HWND main) {
    PostMessageA(main, WM_COMMAND, 102, 0);
    HWND viewer = program.WaitForWindow(IsHelpViewer, kTimeout);
    ASSERT_TRUE(viewer) << "no help viewer";
    PostMessageA(viewer, WM_CLOSE, 0, 0);
    EXPECT_TRUE(WaitGone(viewer));
}

class Installed : public Started {};

TEST(InstalledFiles, AreInProgramFilesWithTheRunValueAndTheUninstallEntry) {
    for (const char* name : kFiles) EXPECT_TRUE(Exists(InstallDir() + "\\" + name)) << name;
    EXPECT_TRUE(Exists(InstallDir() + "\\uninstall.exe"));
    EXPECT_EQ(testsupport::ReadFileBytes(InstallDir() + "\\Pass.bin"), kEmptyRecord);

    // As the program itself registers: the full path, unquoted, REG_SZ.
    RawValue run = ReadRaw(HKEY_LOCAL_MACHINE, kRunKey, "Lumeyra");
    EXPECT_EQ(run.type, static_cast<DWORD>(REG_SZ));
    EXPECT_EQ(Str(run), InstallDir() + "\\Lumeyra.exe" + std::string(1, '\0'));

    EXPECT_EQ(Str(ReadRaw(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayName")), std::string("Lumeyra\0", 8));
    EXPECT_EQ(Str(ReadRaw(HKEY_LOCAL_MACHINE, kUninstallKey, "DisplayVersion")),
              std::string(LUMEYRA_VERSION) + std::string(1, '\0'));
    EXPECT_EQ(Str(ReadRaw(HKEY_LOCAL_MACHINE, kUninstallKey, "Publisher")),
              std::string("Lumeyra developers\0", 19));
    EXPECT_EQ(Str(ReadRaw(HKEY_LOCAL_MACHINE, kUninstallKey, "UninstallString")),
              "\"" + InstallDir() + "\\uninstall.exe\"" + std::string(1, '\0'));
    RawValue size = ReadRaw(HKEY_LOCAL_MACHINE, kUninstallKey, "EstimatedSize");
    ASSERT_EQ(size.type, static_cast<DWORD>(REG_DWORD));
    DWORD kb = 0;
    memcpy(&kb, size.data.data(), sizeof kb);
    EXPECT_GE(kb, std::filesystem::file_size(InstallDir() + "\\Lumeyra.exe") / 1024);

    char programs[MAX_PATH] = {};
    ExpandEnvironmentStringsA("%ProgramData%\\Microsoft\\Windows\\Start Menu\\Programs\\Lumeyra.lnk",
                              programs, MAX_PATH);
    EXPECT_TRUE(Exists(programs)) << programs;
}

// The version resource and the manifest, read back from the installed exe.
TEST(InstalledFiles, ExeCarriesItsVersionAndManifest) {
    std::string exe = InstallDir() + "\\Lumeyra.exe";
    DWORD handle = 0;
    std::vector<char> info(GetFileVersionInfoSizeA(exe.c_str(), &handle));
    ASSERT_FALSE(info.empty());
    ASSERT_TRUE(GetFileVersionInfoA(exe.c_str(), 0, static_cast<DWORD>(info.size()), info.data()));
    auto text = [&](const char* name) {
        char* value = nullptr;
        UINT length = 0;
        std::string path = std::string("\\StringFileInfo\\041904E3\\") + name;
        return VerQueryValueA(info.data(), path.c_str(), reinterpret_cast<void**>(&value), &length) && value
                   ? std::string(value)
                   : std::string();
    };
    EXPECT_EQ(text("CompanyName"), "Lumeyra developers");
    EXPECT_EQ(text("ProductName"), "Lumeyra");
    EXPECT_EQ(text("FileVersion"), LUMEYRA_VERSION);
    EXPECT_EQ(text("ProductVersion"), LUMEYRA_VERSION);
    EXPECT_NE(text("FileDescription"), "");
    EXPECT_NE(text("LegalCopyright").find("Lumeyra developers"), std::string::npos);
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueA(info.data(), "\\", reinterpret_cast<void**>(&fixed), &length));
    unsigned major = 0, minor = 0, patch = 0;
    sscanf(LUMEYRA_VERSION, "%u.%u.%u", &major, &minor, &patch);
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(minor, major));
    EXPECT_EQ(fixed->dwFileVersionLS, MAKELONG(0, patch));

    HMODULE module =
        LoadLibraryExA(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_TRUE(module);
    HRSRC resource = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_TRUE(resource) << "no manifest";
    const char* bytes = static_cast<const char*>(LockResource(LoadResource(module, resource)));
    std::string manifest(bytes, SizeofResource(module, resource));
    FreeLibrary(module);
    EXPECT_NE(manifest.find("level=\"asInvoker\""), std::string::npos);
    for (const char* os : {"35138b9a-5d96-4fbd-8e2d-a2440225f93a", "4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38",
                           "1f676c76-80e1-4239-95bb-83d0f6d0da78", "8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a"})
        EXPECT_NE(manifest.find(os), std::string::npos) << os;
    // Common controls 6 (the system's visual style); aware of each
    // monitor's scale, with the older form for Windows before 10 1703.
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
    EXPECT_NE(manifest.find(">PerMonitorV2, PerMonitor</dpiAwareness>"), std::string::npos);
    EXPECT_NE(manifest.find(">true/pm</dpiAware>"), std::string::npos);
}

// Shows its window and icon, opens the installed help, and takes a password
// through its settings, kept for the upgrade.
TEST_F(Installed, RunsOpensItsHelpAndTakesAPassword) {
    EXPECT_TRUE(WaitFor([&] { return HasNotifyIcon(main, kIconId); }, 10s));
    ExpectHelpOpens(program(), main);
    SaveDesktopShot("installed.bmp");

    PostMessageA(main, WM_COMMAND, 170, 0);
    HWND settings = program().WaitForWindow(L"Настройки", kTimeout);
    ASSERT_TRUE(settings);
    Click(settings, 1024);
    HWND edit = program().WaitForWindow(L"Установка / Изменение / Удаление  Пароля", kTimeout);
    ASSERT_TRUE(edit);
    SetDlgItemTextA(edit, 1026, kPassword);
    SetDlgItemTextA(edit, 1027, kPassword);
    Click(edit, IDOK);
    ASSERT_TRUE(WaitGone(edit));
    Click(settings, IDCANCEL);
    ASSERT_TRUE(WaitGone(settings));
    std::string record = testsupport::ReadFileBytes(InstallDir() + "\\Pass.bin");
    ASSERT_NE(record, kEmptyRecord);
    testsupport::WriteFileBytes(Given().state + "\\Pass.bin", record);
}

class Upgraded : public Started {};

// The upgrade kept the password file byte for byte, and the password still
// guards the timer.
TEST_F(Upgraded, KeepsThePasswordThatStillWorks) {
    std::string kept = testsupport::ReadFileBytes(Given().state + "\\Pass.bin");
    ASSERT_FALSE(kept.empty());
    EXPECT_EQ(testsupport::ReadFileBytes(InstallDir() + "\\Pass.bin"), kept);

    PostMessageA(main, WM_COMMAND, 103, 0);
    HWND query = program().WaitForWindow(L"Введите пароль", kTimeout);
    ASSERT_TRUE(query);
    SetDlgItemTextA(query, 1022, kPassword);
    Click(query, IDOK);
    ASSERT_TRUE(WaitGone(query));
    EXPECT_TRUE(WaitFor(
        [] {
            return ReadRaw(HKEY_CURRENT_USER, "Software\\Lumeyra", "StopTimer").data ==
                   std::vector<uint8_t>{'1', 0, 0, 0};
        },
        10s));
}

// While the program runs, neither the setup nor the uninstaller goes on:
// silently they give up (the user would be asked to exit it first).
TEST_F(Upgraded, SetupAndUninstallerRefuseWhileTheProgramRuns) {
    std::string before = testsupport::ReadFileBytes(InstallDir() + "\\Pass.bin");
    EXPECT_EQ(RunToEnd("\"" + Given().setup + "\" /S"), 2);
    EXPECT_EQ(RunToEnd("\"" + InstallDir() + "\\uninstall.exe\" /S _?=" + InstallDir()), 2);
    for (const char* name : kFiles) EXPECT_TRUE(Exists(InstallDir() + "\\" + name)) << name;
    EXPECT_EQ(testsupport::ReadFileBytes(InstallDir() + "\\Pass.bin"), before);
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
}

// The last write of each of the package's files.
std::vector<FILETIME> WriteTimes() {
    std::vector<FILETIME> times;
    for (const char* name : kFiles) {
        WIN32_FILE_ATTRIBUTE_DATA data{};
        GetFileAttributesExA((InstallDir() + "\\" + name).c_str(), GetFileExInfoStandard, &data);
        times.push_back(data.ftLastWriteTime);
    }
    return times;
}

// The program's main window on another desktop; null when there is none.
HWND MainWindowOn(HDESK desktop) {
    HWND found = nullptr;
    EnumDesktopWindows(
        desktop,
        [](HWND hwnd, LPARAM found) {
            char cls[16] = {}, title[16] = {};
            GetClassNameA(hwnd, cls, sizeof cls);
            GetWindowTextA(hwnd, title, sizeof title);
            if (std::string(cls) != "#32770" || std::string(title) != "Lumeyra") return TRUE;
            *reinterpret_cast<HWND*>(found) = hwnd;
            return FALSE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found;
}

// Lumeyra running where the setup's window check cannot see it: on Windows,
// for another user of the computer (fast user switching), in a session of
// its own; here on a second Wine desktop, which FindWindow does not reach
// either. Silently the setup and the uninstaller give up all the same.
TEST(UpgradedElsewhere, SetupAndUninstallerRefuseWhileTheProgramRunsOutOfSight) {
    std::string before = testsupport::ReadFileBytes(InstallDir() + "\\Pass.bin");
    std::vector<FILETIME> written = WriteTimes();
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION explorer{};
    std::string commandLine =
        "explorer.exe /desktop=LumeyraElsewhere,800x600 \"" + InstallDir() + "\\Lumeyra.exe\"";
    ASSERT_TRUE(CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               InstallDir().c_str(), &startup, &explorer));
    HDESK desktop = nullptr;
    HWND main = nullptr;
    WaitFor(
        [&] {
            if (!desktop)
                desktop = OpenDesktopA("LumeyraElsewhere", 0, FALSE, DESKTOP_READOBJECTS | DESKTOP_ENUMERATE);
            return desktop && (main = MainWindowOn(desktop)) != nullptr;
        },
        kTimeout);
    DWORD id = 0;
    if (main) GetWindowThreadProcessId(main, &id);
    HANDLE lumeyra = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, id);
    EXPECT_TRUE(main && lumeyra) << "no Lumeyra on the second desktop";
    EXPECT_FALSE(FindWindowA("#32770", "Lumeyra")) << "the window check sees it: the test proves nothing";

    EXPECT_EQ(RunToEnd("\"" + Given().setup + "\" /S"), 2);
    EXPECT_EQ(RunToEnd("\"" + InstallDir() + "\\uninstall.exe\" /S _?=" + InstallDir()), 2);
    std::vector<FILETIME> after = WriteTimes();
    for (size_t i = 0; i < after.size(); ++i)
        EXPECT_EQ(CompareFileTime(&after[i], &written[i]), 0) << kFiles[i] << " was written";
    EXPECT_EQ(testsupport::ReadFileBytes(InstallDir() + "\\Pass.bin"), before);
    EXPECT_TRUE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
    EXPECT_FALSE(ReadRaw(HKEY_LOCAL_MACHINE, kRunKey, "Lumeyra").data.empty());

    if (lumeyra) {
        TerminateProcess(lumeyra, 1);
        WaitForSingleObject(lumeyra, 10000);
        CloseHandle(lumeyra);
    }
    TerminateProcess(explorer.hProcess, 0);
    WaitForSingleObject(explorer.hProcess, 10000);
    CloseHandle(explorer.hThread);
    CloseHandle(explorer.hProcess);
    if (desktop) CloseDesktop(desktop);
}

// The silent uninstall (which goes on from a copy of itself) removed the
// files, the Run value and its entry, and kept the user's settings.
TEST(Uninstalled, LeavesNothingButTheUsersSettings) {
    EXPECT_TRUE(WaitFor([] { return !Exists(InstallDir()) && !KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey); },
                        kTimeout))
        << InstallDir() << " or the uninstall entry is still there";
    EXPECT_TRUE(ReadRaw(HKEY_LOCAL_MACHINE, kRunKey, "Lumeyra").data.empty());
    char programs[MAX_PATH] = {};
    ExpandEnvironmentStringsA("%ProgramData%\\Microsoft\\Windows\\Start Menu\\Programs\\Lumeyra.lnk",
                              programs, MAX_PATH);
    EXPECT_FALSE(Exists(programs));
    EXPECT_TRUE(KeyExists(HKEY_CURRENT_USER, "Software\\Lumeyra"));
}

// Unpacked anywhere, the zip's folder runs, with its help.
class Portable : public Started {};

TEST_F(Portable, RunsFromItsFolderWithItsHelp) {
    for (const char* name : kFiles) EXPECT_TRUE(Exists(InstallDir() + "\\" + name)) << name;
    EXPECT_EQ(testsupport::ReadFileBytes(InstallDir() + "\\Pass.bin"), kEmptyRecord);
    EXPECT_TRUE(WaitFor([&] { return HasNotifyIcon(main, kIconId); }, 10s));
    ExpectHelpOpens(program(), main);
}

}  // namespace

int main(int argc, char** argv) {
    testing::InitGoogleTest(&argc, argv);
    Given().setup = CommandLineOption(argc, argv, "--setup=");
    Given().state = CommandLineOption(argc, argv, "--state=");
    if (!ReadFolders(argc, argv) || Given().state.empty()) {
        fprintf(stderr, "usage: package_tests --exe-dir=DIR --artifacts=DIR --state=DIR [--setup=EXE]\n");
        return 2;
    }
    return RUN_ALL_TESTS();
}
