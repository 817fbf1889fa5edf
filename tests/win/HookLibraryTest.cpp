// The keyboard-hook library as the program loads it.
#include <gtest/gtest.h>
#include <windows.h>

#include "app/HookLibrary.h"
#include "tests/support/WinTestSupport.h"

namespace {

std::string BesideTest(const char* name) {
    char path[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string dir(path);
    return dir.substr(0, dir.find_last_of('\\') + 1) + name;
}

using testsupport::PressKey;

// A low-level hook runs on the installing thread while it pumps messages.
void Pump() {
    MSG msg;
    for (int i = 0; i < 20; ++i) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        Sleep(10);
    }
}

TEST(HookLibrary, KeyPressSetsFlagUntilReset) {
    CHookLibrary hook;
    hook.Load(BesideTest("HookKeyUp.dll").c_str());
    EXPECT_FALSE(hook.WasKeyDown());
    PressKey(VK_SHIFT);
    bool seen = false;
    for (int i = 0; i < 50 && !seen; ++i) {
        Pump();
        seen = hook.WasKeyDown();
    }
    EXPECT_TRUE(seen);
    EXPECT_TRUE(hook.WasKeyDown()) << "reading the flag must not clear it";
    hook.ResetKeyDown();
    EXPECT_FALSE(hook.WasKeyDown());
    hook.Unload();
    PressKey(VK_SHIFT);
    Pump();
    EXPECT_FALSE(hook.WasKeyDown());
}

TEST(HookLibrary, MissingLibraryReportsNoKeys) {
    CHookLibrary hook;
    hook.Load(BesideTest("NoSuchHook.dll").c_str());
    EXPECT_FALSE(hook.WasKeyDown());
    hook.ResetKeyDown();
    hook.Unload();
}

TEST(HookLibrary, LibraryLackingAnExportIsNotUsedAtAll) {
    // Its flag always reads set and has no reset: using it would count every
    // second as work.
    CHookLibrary hook;
    hook.Load(BesideTest("HookNoReset.dll").c_str());
    EXPECT_FALSE(hook.WasKeyDown());
    EXPECT_EQ(GetModuleHandleA("HookNoReset.dll"), nullptr) << "the library should be unloaded again";
}

}  // namespace
