#include "core/AboutLayout.h"

namespace {

// The window rectangle whose client area ends at `clientBottom`: to client
// coordinates and back changes nothing but the bottom.
Rect WithClientBottom(const Rect& window, int32_t clientTop, int32_t clientBottom) {
    return {window.left, window.top, window.right, clientTop + clientBottom};
}

}  // namespace

void InitAboutFold(AboutFold& fold, const Rect& window, int32_t clientTop, int32_t captionHeight,
                   int32_t collapsedBottom) {
    fold.m_bExpanded = false;
    fold.m_nExpandedBottom = window.Height() - captionHeight;
    fold.m_nCollapsedBottom = collapsedBottom;
    fold.m_rcWindow = WithClientBottom(window, clientTop, fold.m_nCollapsedBottom);
}

const char* ToggleAboutFold(AboutFold& fold, const Rect& window, int32_t clientTop) {
    fold.m_bExpanded = !fold.m_bExpanded;
    const int32_t bottom = fold.m_bExpanded ? fold.m_nExpandedBottom : fold.m_nCollapsedBottom;
    fold.m_rcWindow = WithClientBottom(window, clientTop, bottom);
    return fold.m_bExpanded ? "<<" : ">>";
}
