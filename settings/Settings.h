#pragma once

#include <cstdint>

// The user's settings as the registry keeps them. The store writes whatever
// the fields hold; the settings dialog is what keeps them within bounds.
struct Settings {
    int32_t TimeWork = 0;    // minutes of continuous work before a rest
    int32_t TimeRelese = 0;  // minutes of rest
    int32_t WindowType = 0;  // 0 ordinary window, 1 click-through at xPos, yPos
    int32_t xPos = 0;
    int32_t yPos = 0;
    int32_t AutoStart = 0;  // 1 when the Run value exists
    int32_t alpha = 0;      // opacity in percent
    int32_t StopTimer = 0;  // 1 when the user stopped the work timer
};
