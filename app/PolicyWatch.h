#pragma once

#include <windows.h>

#include <thread>

#include "framework/Handles.h"

// Tells a window whenever the machine's policy key changes, however it was
// written: Group Policy announces its refresh, but Intune's ingestion, reg.exe,
// a .reg file or a script change the key without a word. A thread of its own
// waits on the key (or, while the key does not exist, on the nearest parent
// that does) and on Group Policy's own signal, and posts the message.
class CPolicyWatch {
public:
    CPolicyWatch() = default;
    ~CPolicyWatch() { Stop(); }
    CPolicyWatch(const CPolicyWatch&) = delete;
    CPolicyWatch& operator=(const CPolicyWatch&) = delete;

    // Posts `message` to `window` on every change from now on. False when
    // the watch could not start; the announced refresh still works then.
    bool Start(HWND window, UINT message);
    // Ends the watch and waits for its thread; nothing is posted after it.
    void Stop();

private:
    void Watch();

    HWND m_hWnd = nullptr;
    UINT m_uMessage = 0;
    EventHandle m_stop;
    // Signalled by Group Policy once it has applied the machine's policies.
    EventHandle m_policyApplied;
    bool m_bGroupPolicy = false;
    std::thread m_thread;
};
