#include "core/AboutLayout.h"

#include <gtest/gtest.h>

namespace {

// A box 370 px high whose client area starts 22 px below its top (a 19 px
// caption and a 3 px frame).
constexpr int kCaption = 19;
const Rect kCreated{100, 50, 450, 420};
constexpr int kClientTop = 72;

TEST(AboutFold, OpensFoldedToOneHundredNinetyPixelsOfClient) {
    AboutFold fold;
    InitAboutFold(fold, kCreated, kClientTop, kCaption, 190);
    EXPECT_FALSE(fold.m_bExpanded);
    EXPECT_EQ(fold.m_nCollapsedBottom, 190);
    EXPECT_EQ(fold.m_nExpandedBottom, 370 - 19);
    EXPECT_EQ(fold.m_rcWindow, (Rect{100, 50, 450, 72 + 190}));
}

TEST(AboutFold, ButtonAlternatesBetweenUnfoldedAndFolded) {
    AboutFold fold;
    InitAboutFold(fold, kCreated, kClientTop, kCaption, 190);
    const Rect folded = fold.m_rcWindow;
    const Rect unfolded{100, 50, 450, 72 + 351};
    for (int round = 0; round < 2; ++round) {
        EXPECT_STREQ(ToggleAboutFold(fold, fold.m_rcWindow, kClientTop), "<<");
        EXPECT_TRUE(fold.m_bExpanded);
        EXPECT_EQ(fold.m_rcWindow, unfolded) << round;
        EXPECT_STREQ(ToggleAboutFold(fold, fold.m_rcWindow, kClientTop), ">>");
        EXPECT_FALSE(fold.m_bExpanded);
        EXPECT_EQ(fold.m_rcWindow, folded) << round;
    }
}

TEST(AboutFold, MovedBoxKeepsItsPlaceAndOnlyTheBottomEdgeMoves) {
    AboutFold fold;
    InitAboutFold(fold, kCreated, kClientTop, kCaption, 190);
    // Dragged 300 px left, partly off the screen, and 40 px down.
    const Rect moved{-200, 90, 150, 302};
    ToggleAboutFold(fold, moved, 112);
    EXPECT_EQ(fold.m_rcWindow, (Rect{-200, 90, 150, 112 + 351}));
    ToggleAboutFold(fold, fold.m_rcWindow, 112);
    EXPECT_EQ(fold.m_rcWindow, (Rect{-200, 90, 150, 112 + 190}));
}

}  // namespace
