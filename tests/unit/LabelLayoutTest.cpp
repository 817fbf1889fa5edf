#include <gtest/gtest.h>

#include "core/LabelLayout.h"

namespace {

using namespace label;

TEST(LabelTextFormat, AlignmentStylesWrapAtWordsButNoWrapLeft) {
    EXPECT_EQ(LabelTextFormat(0x0, "a"), kDtLeft | kDtWordBreak);  // SS_LEFT
    EXPECT_EQ(LabelTextFormat(kSsCenter, "a"), kDtCenter | kDtWordBreak);
    EXPECT_EQ(LabelTextFormat(kSsRight, "a"), kDtRight | kDtWordBreak);
    EXPECT_EQ(LabelTextFormat(kSsLeftNoWordWrap, "a"), kDtLeft);
    // Other kinds of static, and bits outside the type, fall back to left.
    EXPECT_EQ(LabelTextFormat(0xB, "a"), kDtLeft | kDtWordBreak);  // SS_SIMPLE
    EXPECT_EQ(LabelTextFormat(0x50000100 | kSsRight, "a"), kDtRight | kDtWordBreak);
}

TEST(LabelTextFormat, CentredImageCentresOneLineBothWaysButSeveralOnlyAcross) {
    EXPECT_EQ(LabelTextFormat(kSsCenterImage, "00:00:00"), kDtCenter | kDtVCenter | kDtSingleLine);
    EXPECT_EQ(LabelTextFormat(kSsCenterImage | kSsRight, ""), kDtCenter | kDtVCenter | kDtSingleLine);
    EXPECT_EQ(LabelTextFormat(kSsCenterImage | kSsLeftNoWordWrap, "one\r\ntwo"), kDtCenter);
    // A bare line feed is not a line break to the single-line rule.
    EXPECT_EQ(LabelTextFormat(kSsCenterImage, "one\ntwo"), kDtCenter | kDtVCenter | kDtSingleLine);
}

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;

TEST(GradientBands, EmptyOrInvertedWidthHasNoBands) {
    EXPECT_TRUE(GradientBands(10, 10, kBlack, kWhite).empty());
    EXPECT_TRUE(GradientBands(10, 4, kBlack, kWhite).empty());
}

TEST(GradientBands, OnePixelIsOneBandOfTheStartColour) {
    auto bands = GradientBands(7, 8, 0x302010, kWhite);
    ASSERT_EQ(bands.size(), 1u);
    EXPECT_EQ(bands[0], (GradientBand{7, 9, 0x10, 0x20, 0x30}));
}

TEST(GradientBands, WideAreaHasAHundredBandsAndTheLastTakesTheRest) {
    auto bands = GradientBands(5, 255, kBlack, kWhite);
    ASSERT_EQ(bands.size(), 100u);
    EXPECT_EQ(bands[0], (GradientBand{5, 8, 0, 0, 0}));
    // Each band is 255 * 256 / 100 = 652 (in 1/256ths) lighter than the one before.
    EXPECT_EQ(bands[1], (GradientBand{7, 10, 2, 2, 2}));
    EXPECT_EQ(bands[2], (GradientBand{9, 12, 5, 5, 5}));
    EXPECT_EQ(bands[98], (GradientBand{201, 204, 249, 249, 249}));
    EXPECT_EQ(bands[99], (GradientBand{203, 256, 252, 252, 252}));
    for (size_t i = 1; i < bands.size(); ++i) EXPECT_EQ(bands[i].left, bands[i - 1].right - 1) << i;
}

TEST(GradientBands, FallingComponentStepsTruncateTowardZero) {
    // Red falls 200 -> 10, green rises 0 -> 100, blue stays at 50.
    auto bands = GradientBands(0, 100, 0x320000 | 200, 0x320000 | (100 << 8) | 10);
    ASSERT_EQ(bands.size(), 100u);
    // (10 - 200) * 256 / 100 = -486.4 -> -486; rounding down would give 180.
    EXPECT_EQ(bands[10], (GradientBand{10, 12, 181, 10, 50}));
    EXPECT_EQ(bands[99], (GradientBand{99, 101, 12, 99, 50}));
}

TEST(GradientBands, NarrowAreaHasOneBandPerPixel) {
    auto bands = GradientBands(10, 15, 0x000000, 0x0000FF);
    ASSERT_EQ(bands.size(), 5u);
    const uint8_t red[] = {0, 51, 102, 153, 204};  // step 255 * 256 / 5 = 13056
    for (int i = 0; i < 5; ++i) EXPECT_EQ(bands[i], (GradientBand{10 + i, 12 + i, red[i], 0, 0})) << i;
}

}  // namespace
