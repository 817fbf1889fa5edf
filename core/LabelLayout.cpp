#include "core/LabelLayout.h"

#include <algorithm>

unsigned LabelTextFormat(uint32_t style, const std::string& text) {
    using namespace label;
    if (style & kSsCenterImage) {
        if (text.find("\r\n") != std::string::npos) return kDtCenter;
        return kDtCenter | kDtVCenter | kDtSingleLine;
    }
    switch (style & kSsTypeMask) {
        case kSsCenter:
            return kDtCenter | kDtWordBreak;
        case kSsRight:
            return kDtRight | kDtWordBreak;
        case kSsLeftNoWordWrap:
            return kDtLeft;
        default:
            return kDtLeft | kDtWordBreak;
    }
}

namespace {

int Component(uint32_t colour, int shift) { return static_cast<int>((colour >> shift) & 0xFF); }

}  // namespace

std::vector<GradientBand> GradientBands(int left, int right, uint32_t from, uint32_t to) {
    std::vector<GradientBand> bands;
    const int width = right - left;
    if (width <= 0) return bands;
    const int count = std::min(100, width);
    const int divisor = count > 1 ? count : 1;
    // Fixed point, 8 fraction bits; each step truncates toward zero, so the
    // last band may stop short of the end colour.
    int value[3], step[3];
    for (int c = 0; c < 3; ++c) {
        value[c] = Component(from, 8 * c) * 256;
        step[c] = (Component(to, 8 * c) - Component(from, 8 * c)) * 256 / divisor;
    }
    const int bandWidth = width / divisor;
    bands.reserve(static_cast<size_t>(count));
    int x = left;
    for (int i = 0; i < count; ++i) {
        // The last band takes what the even split leaves over.
        const int end = i == count - 1 ? right : x + bandWidth;
        bands.push_back({x, end + 1, static_cast<uint8_t>(value[0] / 256),
                         static_cast<uint8_t>(value[1] / 256), static_cast<uint8_t>(value[2] / 256)});
        x = end;
        for (int c = 0; c < 3; ++c) value[c] += step[c];
    }
    return bands;
}
