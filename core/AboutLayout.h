#pragma once

#include <cstdint>

#include "core/WindowLayout.h"

// The About box folds to hide its description and unfolds to show it. Only
// the bottom edge moves: the box keeps the place it was moved to, and its
// width.

// The folded box ends just above the description, which starts this many
// dialog units down: in pixels, whatever the dialog font and the screen's
// scale make of them (190 px with an 8-point font 13 px high).
inline constexpr int32_t kDescriptionTop = 117;

// The fold fields of the About box. Bottoms are in the box's client
// coordinates; m_rcWindow, in screen coordinates, is where the box is to be
// moved after each step below.
struct AboutFold {
    bool m_bExpanded = false;
    Rect m_rcWindow{};
    int32_t m_nCollapsedBottom = 0;
    int32_t m_nExpandedBottom = 0;
};

// Initialisation. `window` is the box's window rectangle as created and
// `clientTop` the screen y of its client area's top. The unfolded client
// bottom is the initial window height less one caption; the folded one is
// `collapsedBottom`, the description's top in pixels. The box starts folded.
void InitAboutFold(AboutFold& fold, const Rect& window, int32_t clientTop, int32_t captionHeight,
                   int32_t collapsedBottom);

// The ">>" button, given the box's present window rectangle and client top.
// Returns the button's new caption: "<<" when unfolded, ">>" when folded.
const char* ToggleAboutFold(AboutFold& fold, const Rect& window, int32_t clientTop);
