#pragma once

#include <windows.h>

#include "framework/Handles.h"

// One copy of the program per session. The first copy holds a mutex in the
// session's own namespace (Local\); a copy started after it finds the name
// taken, tells the running one and ends. Another user's session, on a
// terminal server for one, keeps a copy of its own: its Local\ names are
// its own, and the Global\ name the setup looks for is not asked here.
class CSessionInstance {
public:
    // Takes Local\<name>, or finds it taken.
    explicit CSessionInstance(const wchar_t* name);
    bool AnotherRuns() const { return m_bAnotherRuns; }

private:
    MutexHandle m_mutex;
    bool m_bAnotherRuns = false;
};

// The message a second start posts to the running copy's main window, which
// then shows where it is.
UINT StartedAgainMessage();

// Posts StartedAgainMessage to the running copy's main window in this
// session, waiting a few seconds at most for that window to come (the copy
// may itself be starting). Posting never waits for the copy to answer: a
// copy that hangs leaves this start free to end.
void TellRunningCopy();
