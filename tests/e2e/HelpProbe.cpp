#include "HelpProbe.h"

#include <gtest/gtest.h>

#include <string>

namespace driver {
namespace {

using namespace std::chrono_literals;

// The build puts the help file and its probes beside the program's folder.
std::string HelpBuilt(const std::string& name) { return Folders().exeDir + "\\..\\help\\" + name; }
std::string HelpBesideProgram() { return Folders().exeDir + "\\Lumeyra.CHM"; }

bool Gone(HWND window) {
    return WaitFor([&] { return !IsWindow(window) || !IsWindowVisible(window); }, 20s);
}

void ExpectViewer(const Program& program) {
    HWND viewer = program.WaitForWindow(L"Справка Lumeyra", 30s);
    ASSERT_TRUE(viewer) << "no help viewer";
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
    explicit Placed(const std::string& file)
        : m_ok(CopyFileA(HelpBuilt(file).c_str(), HelpBesideProgram().c_str(), FALSE) != 0) {}
    // The viewer may hold the file a moment after its window has gone.
    ~Placed() {
        WaitFor([] { return DeleteFileA(HelpBesideProgram().c_str()) != 0; }, 10s);
    }
    Placed(const Placed&) = delete;
    Placed& operator=(const Placed&) = delete;
    bool Ok() const { return m_ok; }

private:
    bool m_ok;
};

}  // namespace

void ExpectHelpAt(const Program& program, DWORD context, const std::function<void()>& press) {
    struct Case {
        std::string file;
        bool opens;
    };
    const Case cases[] = {
        {"Lumeyra.CHM", true},
        context == 0 ? Case{"probe-only0.CHM", true}
                     : Case{"probe-no" + std::to_string(context) + ".CHM", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.file);
        Placed placed(c.file);
        ASSERT_TRUE(placed.Ok()) << HelpBuilt(c.file);
        press();
        if (c.opens)
            ExpectViewer(program);
        else
            ExpectFailure(program);
    }
}

}  // namespace driver
