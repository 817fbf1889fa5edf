#pragma once

#include <array>

// Where the main window stands and the spectacles outline it is cut to.

struct Rect {
    int left, top, right, bottom;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool operator==(const Rect&) const = default;
};

struct Placement {
    Rect rect;
    bool clickThrough;  // mouse input passes to what lies beneath
};

// Logical pixels (those of a screen at 96 dpi) in pixels at `dpi`, rounded
// to the nearest.
constexpr int ScaleToDpi(int logical, int dpi) {
    const int scaled = logical * dpi;
    return scaled >= 0 ? (scaled + 48) / 96 : -((-scaled + 48) / 96);
}

// Window type 1 stands where the user put it (not kept on screen) and lets
// the mouse through; any other type sits 10 logical px from the right and 50
// above the bottom of the primary screen, scaled to the screen's `dpi`.
Placement PlaceMainWindow(int windowType, int xPos, int yPos, const Rect& current, int screenWidth,
                          int screenHeight, int dpi = 96);

// A rounded rectangle in window coordinates.
struct OutlinePart {
    int left, top, right, bottom;
    int ellipseWidth, ellipseHeight;
    bool operator==(const OutlinePart&) const = default;
};

// Left lens, right lens, bridge, left stub, right stub: the order in which
// they are combined into the window's region. The right lens starts at a
// fixed x so that it frames the right eye of the animation whatever the
// window's width.
std::array<OutlinePart, 5> OutlineRects(int width, int height);
