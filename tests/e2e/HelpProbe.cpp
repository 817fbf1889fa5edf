#include "HelpProbe.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "framework/Text.h"

namespace driver {
namespace {

using namespace std::chrono_literals;

// The viewer's caption: the help file's title, readable where the ANSI
// code page is Cyrillic (see IsHelpViewer).
const wchar_t* const kViewerTitle = L"Справка Lumeyra";

// The build puts the help file and its probes beside the program's folder.
std::string HelpBuilt(const std::string& name) { return Folders().exeDir + "\\..\\help\\" + name; }
std::string HelpBesideProgram() { return Folders().exeDir + "\\Lumeyra.CHM"; }

// The calls to the help viewer the recorder beside the program (our
// hhctrl.ocx) noted since the last look, "command data" each.
std::vector<std::string> HelpCalls() {
    const std::wstring log = Widen(Folders().exeDir + "\\hhctrl.log");
    std::vector<std::string> calls;
    std::ifstream in{std::filesystem::path(log)};
    for (std::string line; std::getline(in, line);) calls.push_back(line);
    in.close();
    DeleteFileW(log.c_str());
    return calls;
}

bool Gone(HWND window) {
    return WaitFor([&] { return !IsWindow(window) || !IsWindowVisible(window); }, 20s);
}

void ExpectViewer(const Program& program) {
    HWND viewer = program.WaitForWindow(IsHelpViewer, 30s);
    ASSERT_TRUE(viewer) << "no help viewer";
    if (GetACP() == 1251) {
        EXPECT_EQ(TextOf(viewer), kViewerTitle);
    }
    PostMessageA(viewer, WM_CLOSE, 0, 0);
    EXPECT_TRUE(Gone(viewer));
}

void ExpectFailure(const Program& program) {
    HWND box = program.WaitForWindow([](HWND h) { return GetDlgItem(h, 0xFFFF) != nullptr; }, 30s);
    ASSERT_TRUE(box) << "no message box";
    EXPECT_EQ(TextOf(GetDlgItem(box, 0xFFFF)), L"Failed to launch help.");
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    EXPECT_TRUE(Gone(box));
}

// A help file beside the program for the life of the object.
class Placed {
public:
    Placed(const Program& program, const std::string& file)
        : m_program(program),
          m_ok(CopyFileW(Widen(HelpBuilt(file)).c_str(), Widen(HelpBesideProgram()).c_str(), FALSE) != 0) {}
    // Taken away even after a failed check, or the tests that follow would
    // find help where there should be none. The viewer may hold the file a
    // moment after its window has gone, and one left open holds it on.
    ~Placed() {
        WaitFor(
            [&] {
                if (DeleteFileW(Widen(HelpBesideProgram()).c_str())) return true;
                if (HWND viewer = m_program.FindOwnWindow(IsHelpViewer)) PostMessageA(viewer, WM_CLOSE, 0, 0);
                return false;
            },
            10s);
    }
    Placed(const Placed&) = delete;
    Placed& operator=(const Placed&) = delete;
    bool Ok() const { return m_ok; }

private:
    const Program& m_program;
    bool m_ok;
};

}  // namespace

void ExpectHelpAt(const Program& program, DWORD context, const std::function<void()>& press) {
    struct Case {
        std::string file;
        bool opens;
    };
    std::vector<Case> cases = {{"Lumeyra.CHM", true}};
    if (context != 0) cases.push_back({"probe-no" + std::to_string(context) + ".CHM", false});
    // 0 opens the default topic (HH_DISPLAY_TOPIC naming none), the rest
    // their number (HH_HELP_CONTEXT).
    const std::string call = context == 0 ? "0 0" : "15 " + std::to_string(context);
    HelpCalls();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        Placed placed(program, c.file);
        ASSERT_TRUE(placed.Ok()) << HelpBuilt(c.file);
        press();
        if (c.opens)
            ExpectViewer(program);
        else
            ExpectFailure(program);
        EXPECT_EQ(HelpCalls(), std::vector<std::string>{call});
    }
}

}  // namespace driver
