#pragma once

#include <cstdint>
#include <string>
#include <vector>

// The label's choices that need no window: how its text is laid out and how
// its gradient background is cut into bands. The numbers are the system's
// own (the Win32 side checks them against its headers), repeated here so
// that this file builds without the platform.

namespace label {

// Static control styles.
constexpr uint32_t kSsCenter = 0x1;
constexpr uint32_t kSsRight = 0x2;
constexpr uint32_t kSsLeftNoWordWrap = 0xC;
constexpr uint32_t kSsTypeMask = 0x1F;
constexpr uint32_t kSsCenterImage = 0x200;

// Text drawing formats.
constexpr unsigned kDtLeft = 0x0;
constexpr unsigned kDtCenter = 0x1;
constexpr unsigned kDtRight = 0x2;
constexpr unsigned kDtVCenter = 0x4;
constexpr unsigned kDtWordBreak = 0x10;
constexpr unsigned kDtSingleLine = 0x20;

}  // namespace label

// The text format for a label of this control style: the style's alignment,
// wrapped at words unless the style forbids it. A centred-image style centres
// instead, and also vertically when the text is one line (a text holding
// "\r\n" cannot be centred vertically on a single line).
unsigned LabelTextFormat(uint32_t style, const std::string& text);

// One vertical stripe of a gradient, as the rectangle to fill: from `left`
// up to, not including, `right`.
struct GradientBand {
    int left, right;
    uint8_t r, g, b;
    bool operator==(const GradientBand&) const = default;
};

// The stripes that fade from colour `from` at `left` to colour `to` at
// `right` (colours as 0x00BBGGRR), at most 100 of them. Each reaches one
// pixel past its neighbour's start because it is drawn as a rectangle with no
// outline, which leaves out its last column and row.
std::vector<GradientBand> GradientBands(int left, int right, uint32_t from, uint32_t to);
