#include "core/WindowLayout.h"

Placement PlaceMainWindow(int windowType, int xPos, int yPos, const Rect& current, int cx, int cy, int dpi) {
    const int w = current.Width();
    const int h = current.Height();
    if (windowType == 1) return {{xPos, yPos, xPos + w, yPos + h}, true};
    const int right = ScaleToDpi(10, dpi);
    const int bottom = ScaleToDpi(50, dpi);
    return {{cx - w - right, cy - h - bottom, cx - right, cy - bottom}, false};
}

int SpectaclesDpi(int displayDpi) {
    int chosen = 96;
    for (int dpi : {120, 144, 168, 192})
        if (displayDpi >= dpi) chosen = dpi;
    return chosen;
}

Size SpectaclesSize(int dpi) { return {ScaleToDpi(194, dpi), ScaleToDpi(65, dpi)}; }

std::array<OutlinePart, 5> OutlineRects(int w, int h, int dpi) {
    auto s = [dpi](int logical) { return ScaleToDpi(logical, dpi); };
    const int half = w / 2;
    return {{
        {s(10), s(10), half - s(12), h - s(10), s(200), s(20)},
        {s(110), s(10), w - s(10), h - s(10), s(200), s(20)},
        {half - s(12), s(27), s(110), s(35), s(300), s(10)},
        {s(5), s(27), s(10), s(35), 0, 0},
        {w - s(10), s(27), w - s(5), s(35), 0, 0},
    }};
}
