#include "core/NumberCodec.h"

#include <cstdio>
#include <string_view>

#include "framework/IntegerField.h"

namespace numbercodec {

std::array<uint8_t, kStoredSize> Encode(int32_t value) {
    char text[16] = {};
    std::snprintf(text, sizeof text, "%i", static_cast<int>(value));
    std::array<uint8_t, kStoredSize> bytes{};
    for (std::size_t i = 0; i < kStoredSize; ++i) bytes[i] = static_cast<uint8_t>(text[i]);
    return bytes;
}

int32_t Decode(const uint8_t* data, std::size_t size) {
    if (size > kReadSize) size = kReadSize;
    // Read as the settings dialog reads its edits; seven bytes come nowhere
    // near its 32-bit limits, and without a digit atoi gives 0.
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    return integerfield::ParseInteger(text).value_or(0);
}

}  // namespace numbercodec
