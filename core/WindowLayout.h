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

// The display scales the eyes are drawn for, each a clip of its own (100,
// 125, 150, 175 and 200 %); on any other the spectacles take the largest
// not above it, and so stay whole and sharp, if a little small.
int SpectaclesDpi(int displayDpi);

// The window at the spectacles' `dpi`: 194 x 65 pixels at 96, the size at
// which the outline frames the eyes.
struct Size {
    int width, height;
    bool operator==(const Size&) const = default;
};
Size SpectaclesSize(int dpi);
// The clip stands this far (logical pixels) above and left of the window,
// so that its grey margin lies outside.
constexpr int kEyesClipMargin = 3;

// Left lens, right lens, bridge, left stub, right stub, at the spectacles'
// `dpi`: the order in which they are combined into the window's region.
// The right lens starts at a fixed x so that it frames the right eye of
// the animation whatever the window's width.
std::array<OutlinePart, 5> OutlineRects(int width, int height, int dpi = 96);
