#pragma once

#include <windows.h>

// Adds (`on`) or removes style bits of the window's GWL_STYLE or GWL_EXSTYLE
// (`index`), writing the style back only when it changes. A window not made
// yet has no style to change.
inline void SetStyleBits(HWND hwnd, int index, LONG bits, bool on) {
    if (!hwnd) return;
    const LONG style = GetWindowLong(hwnd, index);
    const LONG wanted = on ? style | bits : style & ~bits;
    if (wanted != style) SetWindowLong(hwnd, index, wanted);
}
