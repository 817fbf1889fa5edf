#include <gtest/gtest.h>

#include "core/Opacity.h"
#include "core/WindowLayout.h"

namespace {

TEST(Outline, FramesTheEyesOfTheStandardWindow) {
    auto r = OutlineRects(194, 65);
    EXPECT_EQ(r[0], (OutlinePart{10, 10, 85, 55, 200, 20}));
    EXPECT_EQ(r[1], (OutlinePart{110, 10, 184, 55, 200, 20}));
    EXPECT_EQ(r[2], (OutlinePart{85, 27, 110, 35, 300, 10}));
    EXPECT_EQ(r[3], (OutlinePart{5, 27, 10, 35, 0, 0}));
    EXPECT_EQ(r[4], (OutlinePart{184, 27, 189, 35, 0, 0}));
}

TEST(Outline, RightLensStartsAtFixedXForOtherWidths) {
    auto r = OutlineRects(201, 70);  // odd width: half rounds toward zero
    EXPECT_EQ(r[0].right, 100 - 12);
    EXPECT_EQ(r[1].left, 110);
    EXPECT_EQ(r[2].right, 110);
    EXPECT_EQ(r[1].right, 191);
    EXPECT_EQ(r[0].bottom, 60);
    EXPECT_EQ(r[4].right, 196);
}

// The spectacles take the largest scale drawn for, and at it every part of
// the outline stands where the 100 % one does, scaled, to the pixel.
TEST(Outline, ScalesWithTheSpectacles) {
    const std::pair<int, int> scales[] = {{72, 96},   {96, 96},   {110, 96},  {120, 120}, {144, 144},
                                          {167, 144}, {168, 168}, {192, 192}, {288, 192}};
    for (auto [display, drawn] : scales) EXPECT_EQ(SpectaclesDpi(display), drawn) << display;
    EXPECT_EQ(SpectaclesSize(96), (Size{194, 65}));
    EXPECT_EQ(OutlineRects(194, 65, 96), OutlineRects(194, 65));
    const auto standard = OutlineRects(194, 65);
    for (int dpi : {120, 144, 168, 192}) {
        const Size size = SpectaclesSize(dpi);
        EXPECT_NEAR(size.width, 194.0 * dpi / 96, 0.5) << dpi;
        EXPECT_NEAR(size.height, 65.0 * dpi / 96, 0.5) << dpi;
        const auto scaled = OutlineRects(size.width, size.height, dpi);
        for (size_t i = 0; i < scaled.size(); ++i) {
            const int a[] = {scaled[i].left, scaled[i].top, scaled[i].right, scaled[i].bottom,
                             scaled[i].ellipseWidth, scaled[i].ellipseHeight};
            const int b[] = {standard[i].left, standard[i].top, standard[i].right, standard[i].bottom,
                             standard[i].ellipseWidth, standard[i].ellipseHeight};
            for (int k = 0; k < 6; ++k) EXPECT_NEAR(a[k], b[k] * dpi / 96.0, 1.0) << dpi << " part " << i;
        }
    }
}

const Rect kDialog{0, 0, 194, 65};

TEST(Placement, OrdinaryWindowSitsAtTheBottomRightIgnoringPosition) {
    Placement p = PlaceMainWindow(0, 300, 400, kDialog, 1280, 1024);
    EXPECT_EQ(p.rect, (Rect{1280 - 194 - 10, 1024 - 65 - 50, 1270, 974}));
    EXPECT_FALSE(p.clickThrough);
}

// The distances from the screen's edges are logical pixels: at 125, 150
// and 200 % the window stands as far off the edges as it looks at 100 %.
// A stored position is the user's own, in pixels, at every scale.
TEST(Placement, DistancesFromTheEdgesScaleWithTheScreen) {
    struct Row {
        int dpi;
        Rect window;
        int cx, cy;
        Rect expected;
    };
    for (const Row& row : {Row{96, kDialog, 1280, 1024, {1076, 909, 1270, 974}},
                           Row{120, {0, 0, 243, 81}, 2560, 1440, {2304, 1296, 2547, 1377}},
                           Row{144, {0, 0, 291, 98}, 1920, 1080, {1614, 907, 1905, 1005}},
                           Row{192, {0, 0, 388, 130}, 3840, 2160, {3432, 1930, 3820, 2060}}}) {
        EXPECT_EQ(PlaceMainWindow(0, 300, 400, row.window, row.cx, row.cy, row.dpi).rect, row.expected) << row.dpi;
        EXPECT_EQ(PlaceMainWindow(1, 300, 400, row.window, row.cx, row.cy, row.dpi).rect,
                  (Rect{300, 400, 300 + row.window.Width(), 400 + row.window.Height()}))
            << row.dpi;
    }
    EXPECT_EQ(ScaleToDpi(65, 144), 98);  // 97.5 rounds up
    EXPECT_EQ(ScaleToDpi(-3, 144), -5);
}

TEST(Placement, ClickThroughWindowStandsAtStoredPositionEvenOffScreen) {
    Placement p = PlaceMainWindow(1, 100, 200, {40, 40, 234, 105}, 1280, 1024);
    EXPECT_EQ(p.rect, (Rect{100, 200, 294, 265}));
    EXPECT_TRUE(p.clickThrough);
    EXPECT_EQ(PlaceMainWindow(1, 5000, -30, kDialog, 1280, 1024).rect, (Rect{5000, -30, 5194, 35}));
}

TEST(Placement, AnyTypeButOneIsOrdinary) {
    for (int type : {2, -1, 7}) {
        Placement p = PlaceMainWindow(type, 100, 200, kDialog, 800, 600);
        EXPECT_EQ(p.rect, (Rect{596, 485, 790, 550})) << type;
        EXPECT_FALSE(p.clickThrough) << type;
    }
}

TEST(Opacity, PercentToAlphaByteTruncates) {
    EXPECT_EQ(AlphaByte(0), 0);
    EXPECT_EQ(AlphaByte(50), 127);
    EXPECT_EQ(AlphaByte(70), 178);
    EXPECT_EQ(AlphaByte(100), 255);
    EXPECT_EQ(AlphaByte(200), 254);  // 510 keeps its low 8 bits
    // Hand-edited values as the registry decoder reads them (up to seven
    // characters), and beyond: the product no longer fits 32 bits.
    EXPECT_EQ(AlphaByte(8421504), 19);
    EXPECT_EQ(AlphaByte(8421505), 21);
    EXPECT_EQ(AlphaByte(9999999), 93);
    EXPECT_EQ(AlphaByte(-999999), 19);
    EXPECT_EQ(AlphaByte(-1), 254);
    EXPECT_EQ(AlphaByte(INT32_MAX), 99);
    EXPECT_EQ(AlphaByte(INT32_MIN), 154);
}

}  // namespace
