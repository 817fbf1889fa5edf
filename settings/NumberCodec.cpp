#include "settings/NumberCodec.h"

#include <cstdio>

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
    std::size_t i = 0;
    auto isBlank = [](uint8_t c) { return c == ' ' || (c >= '\t' && c <= '\r'); };
    while (i < size && isBlank(data[i])) ++i;
    bool negative = false;
    if (i < size && (data[i] == '+' || data[i] == '-')) negative = data[i++] == '-';
    // Seven bytes hold at most seven digits, so the sum cannot overflow.
    int32_t value = 0;
    while (i < size && data[i] >= '0' && data[i] <= '9') value = value * 10 + (data[i++] - '0');
    return negative ? -value : value;
}

}  // namespace numbercodec
