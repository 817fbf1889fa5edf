#pragma once

#include <cstdint>

// Opacity in percent to the layered window's alpha byte. Values outside
// 0..100 are never stored by the settings dialog; a hand-edited one keeps
// the low 8 bits of the product, as the platform would take it. The product
// is taken in 64 bits: a stored value of seven digits overflows 32.
constexpr uint8_t AlphaByte(int32_t percent) {
    return static_cast<uint8_t>(static_cast<int64_t>(percent) * 255 / 100);
}
