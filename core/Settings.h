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
    // Not 0: no spectacles and no prompt while the user presents or plays
    // full screen.
    int32_t QuietFullScreen = 0;
};

// What the very first run stores, and says about the start at log-on, which
// it registers.
inline constexpr Settings kFirstRunSettings{.TimeWork = 45,
                                            .TimeRelese = 15,
                                            .WindowType = 0,
                                            .xPos = 0,
                                            .yPos = 0,
                                            .AutoStart = 1,
                                            .alpha = 50,
                                            .StopTimer = 0,
                                            .QuietFullScreen = 1};

// Puts in what the program runs with when the settings could not be read:
// the usual work and rest times, the ordinary window and 70 % opacity. What
// was read before the failure stays.
inline void UseLoadFailureFallback(Settings& s) {
    s.TimeWork = 45;
    s.TimeRelese = 15;
    s.WindowType = 0;
    s.alpha = 70;
}
