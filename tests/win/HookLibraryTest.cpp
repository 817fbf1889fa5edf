// The keyboard-hook library as the program loads it.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <thread>

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

// The rest timer's end signal blocks the program's thread for 1.6 s. A
// hook owned by that thread is not answered meanwhile: Windows skips it after
// LowLevelHooksTimeout (1 s at most) and then removes it for good, Wine waits
// 2 s for it. Keys typed during the block must count all the same.
TEST(HookLibrary, KeysTypedWhileTheProgramsThreadIsBlockedAreSeenAtOnce) {
    CHookLibrary hook;
    hook.Load(BesideTest("HookKeyUp.dll").c_str());
    std::atomic<bool> blockOver{false};
    bool seenDuringBlock = false;
    std::thread typist([&] {
        PressKey(VK_SHIFT);
        while (!blockOver && !(seenDuringBlock = hook.WasKeyDown())) Sleep(10);
    });
    Sleep(2000);  // the thread that started the hook answers no message
    blockOver = true;
    typist.join();
    EXPECT_TRUE(seenDuringBlock) << "the key was seen only once the thread pumped again";

    hook.ResetKeyDown();
    PressKey(VK_SHIFT);
    bool seenAfter = false;
    for (int i = 0; i < 50 && !seenAfter; ++i) {
        Pump();
        seenAfter = hook.WasKeyDown();
    }
    EXPECT_TRUE(seenAfter) << "the hook should still work after the block";
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
