#include "core/WindowLayout.h"

Placement PlaceMainWindow(int windowType, int xPos, int yPos, const Rect& current, int cx, int cy, int dpi) {
    const int w = current.Width();
    const int h = current.Height();
    if (windowType == 1) return {{xPos, yPos, xPos + w, yPos + h}, true};
    const int right = ScaleToDpi(10, dpi);
    const int bottom = ScaleToDpi(50, dpi);
    return {{cx - w - right, cy - h - bottom, cx - right, cy - bottom}, false};
}

std::array<OutlinePart, 5> OutlineRects(int w, int h) {
    const int half = w / 2;
    return {{
        {10, 10, half - 12, h - 10, 200, 20},
        {110, 10, w - 10, h - 10, 200, 20},
        {half - 12, 27, 110, 35, 300, 10},
        {5, 27, 10, 35, 0, 0},
        {w - 10, 27, w - 5, 35, 0, 0},
    }};
}
