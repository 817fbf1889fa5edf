#pragma once

#include <string>

#include "core/WorkTimer.h"

// What the notification icon shows of the work timer's state.
struct NotifyIconLook {
    // The stopped timer's picture instead of the program's own.
    bool stoppedPicture = false;
    // The program's name, and under it the minutes to the prompt (rounded
    // up), the stopped timer, the rest, or the prompt held back.
    std::string tip;
};

NotifyIconLook NotifyIconFor(const WorkTimerState& state);
