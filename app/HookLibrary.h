#pragma once

#include "framework/Handles.h"
#include "hook/HookKeyUp.h"

// The loaded keyboard-hook library. A missing library or export is not fatal:
// the program runs on, and key presses are simply never reported (mouse
// movement still counts as activity).
class CHookLibrary {
public:
    CHookLibrary() = default;
    ~CHookLibrary() { Unload(); }
    CHookLibrary(const CHookLibrary&) = delete;
    CHookLibrary& operator=(const CHookLibrary&) = delete;

    // Loads the library, looks up its exports and starts the hook.
    void Load(const char* name);
    // Stops the hook and unloads the library; safe to call twice.
    void Unload();

    bool WasKeyDown() const { return m_pReturnWasKeyDown && (m_pReturnWasKeyDown() & 0xFF) != 0; }
    void ResetKeyDown() const {
        if (m_pResetKeyDown) m_pResetKeyDown();
    }

private:
    LibraryHandle m_module;
    RunStopHookFn m_pRunStopHook = nullptr;
    ReturnWasKeyDownFn m_pReturnWasKeyDown = nullptr;
    ResetKeyDownFn m_pResetKeyDown = nullptr;
};
