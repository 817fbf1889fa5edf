#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// Settings numbers live in REG_DWORD values whose four bytes hold decimal
// text, not a machine-order integer. Files and registries written by earlier
// versions depend on these exact bytes.
namespace numbercodec {

constexpr std::size_t kStoredSize = 4;  // bytes written per value
constexpr std::size_t kReadSize = 7;    // bytes read back per value

// "%i" text cut to its first four characters, zero-padded.
std::array<uint8_t, kStoredSize> Encode(int32_t value);

// Parses up to `size` bytes (at most kReadSize are looked at) like atoi:
// blanks, an optional sign, digits up to the first non-digit.
int32_t Decode(const uint8_t* data, std::size_t size);

}  // namespace numbercodec
