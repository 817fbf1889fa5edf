#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// Taking a number out of one of the settings dialog's edits, with the check
// of its bounds and the texts the user is shown when either fails. The edits
// accept any characters; nothing is checked until the values are taken. The
// settings' number codec reads its registry bytes with the same parser.
namespace integerfield {

// The edit's text is read through a 64-byte buffer: its first 63 characters.
inline constexpr std::size_t kMaxChars = 63;

inline constexpr std::string_view kNotIntegerMessage = "Please enter an integer.";
inline constexpr std::string_view kRangeMessageFormat = "Please enter an integer between %1 and %2.";

// Reads a signed decimal integer from the start of the text's first
// kMaxChars characters: blanks, an optional sign, at least one digit; the
// first non-digit ends it and the rest is ignored ("12ab" gives 12). Empty
// when there is no digit where one is due. A number beyond the 32-bit range
// reads as the nearest limit, so that it fails any narrower bounds instead
// of wrapping into them.
std::optional<int32_t> ParseInteger(std::string_view text);

// kRangeMessageFormat with %1 and %2 replaced by the bounds in decimal.
std::string RangeMessage(int32_t minValue, int32_t maxValue);

// Takes one edit's text into `field`. A text without a number leaves `field`
// as it was; a number is stored even when it then fails the bounds
// (inclusive). Returns the message to show, empty when the value passed.
std::string TakeInteger(std::string_view text, int32_t minValue, int32_t maxValue, int32_t& field);

}  // namespace integerfield
