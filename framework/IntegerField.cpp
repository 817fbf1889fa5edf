#include "framework/IntegerField.h"

namespace integerfield {

namespace {

// The C library's blanks in the "C" locale; letters of code page 1251 above
// 0x7F, the no-break space included, are not blanks.
bool IsBlank(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

void ReplaceFirst(std::string& text, std::string_view what, const std::string& with) {
    const std::size_t at = text.find(what);
    if (at != std::string::npos) text.replace(at, what.size(), with);
}

}  // namespace

std::optional<int32_t> ParseInteger(std::string_view text) {
    text = text.substr(0, kMaxChars);
    std::size_t i = 0;
    while (i < text.size() && IsBlank(text[i])) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    if (i >= text.size() || !IsDigit(text[i])) return std::nullopt;
    // The magnitude stops growing once past the largest one that fits, so
    // sixty digits neither overflow nor lose the saturation.
    constexpr int64_t kCap = int64_t{INT32_MAX} + 1;
    int64_t magnitude = 0;
    for (; i < text.size() && IsDigit(text[i]); ++i) {
        if (magnitude < kCap) magnitude = magnitude * 10 + (text[i] - '0');
    }
    if (negative) return static_cast<int32_t>(magnitude >= kCap ? INT32_MIN : -magnitude);
    return static_cast<int32_t>(magnitude > INT32_MAX ? INT32_MAX : magnitude);
}

std::string RangeMessage(int32_t minValue, int32_t maxValue) {
    std::string text(kRangeMessageFormat);
    ReplaceFirst(text, "%1", std::to_string(minValue));
    ReplaceFirst(text, "%2", std::to_string(maxValue));
    return text;
}

std::string TakeInteger(std::string_view text, int32_t minValue, int32_t maxValue, int32_t& field) {
    const std::optional<int32_t> value = ParseInteger(text);
    if (!value) return std::string(kNotIntegerMessage);
    field = *value;
    if (*value < minValue || *value > maxValue) return RangeMessage(minValue, maxValue);
    return {};
}

}  // namespace integerfield
