#include "framework/IntegerField.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

using integerfield::ParseInteger;
using integerfield::TakeInteger;

TEST(IntegerField, ReadsBlanksSignDigitsAndIgnoresTheRest) {
    struct Case {
        std::string text;
        std::optional<int32_t> value;
    };
    const Case cases[] = {
        {"45", 45},
        {"12ab", 12},
        {"  +7", 7},
        {"\t\r\n-30", -30},
        {"-0", 0},
        {"007", 7},
        {"0x1F", 0},
        {"5 6", 5},
        {"", std::nullopt},
        {"   ", std::nullopt},
        {"abc", std::nullopt},
        {"+", std::nullopt},
        {"-", std::nullopt},
        {"- 5", std::nullopt},
        {"+-5", std::nullopt},
        {"x12", std::nullopt},
        {std::string(1, '\xA0') + "5", std::nullopt},  // the no-break space of code page 1251 is no blank
    };
    for (const Case& c : cases) EXPECT_EQ(ParseInteger(c.text), c.value) << '"' << c.text << '"';
}

TEST(IntegerField, LooksAtTheFirstSixtyThreeCharactersOnly) {
    EXPECT_EQ(ParseInteger(std::string(61, ' ') + "123"), 12);
    EXPECT_EQ(ParseInteger(std::string(62, '0') + "78"), 7);
    EXPECT_EQ(ParseInteger(std::string(63, ' ') + "5"), std::nullopt);
    EXPECT_EQ(ParseInteger(std::string(62, ' ') + "-5"), std::nullopt);
}

TEST(IntegerField, NumbersBeyondThirtyTwoBitsStopAtTheLimitInsteadOfWrapping) {
    struct Case {
        std::string text;
        int32_t value;
    };
    const Case cases[] = {
        {"2147483647", INT32_MAX},
        {"-2147483648", INT32_MIN},
        {"2147483648", INT32_MAX},
        {"-2147483649", INT32_MIN},
        {"4294967297", INT32_MAX},
        {std::string(63, '9'), INT32_MAX},
        {"-" + std::string(62, '9'), INT32_MIN},
        {std::string(55, '0') + "00009999", 9999},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseInteger(c.text), c.value) << c.text;
}

TEST(IntegerField, MessagesReadExactly) {
    EXPECT_EQ(integerfield::kNotIntegerMessage, "Please enter an integer.");
    EXPECT_EQ(integerfield::RangeMessage(1, 9999), "Please enter an integer between 1 and 9999.");
    EXPECT_EQ(integerfield::RangeMessage(0, 100), "Please enter an integer between 0 and 100.");
    EXPECT_EQ(integerfield::RangeMessage(-5, 5), "Please enter an integer between -5 and 5.");
}

// A failed text leaves the field as it was; a number out of bounds is kept.
TEST(IntegerField, TakingChecksInclusiveBoundsAndUpdatesTheField) {
    const std::string notInteger(integerfield::kNotIntegerMessage);
    const std::string workRange = "Please enter an integer between 1 and 9999.";
    const std::string alphaRange = "Please enter an integer between 0 and 100.";
    const std::string posRange = "Please enter an integer between 0 and 9999.";
    struct Case {
        std::string text;
        int32_t min, max;
        std::string message;
        int32_t field;
    };
    const Case cases[] = {
        {"", 1, 9999, notInteger, 77},
        {"ab", 0, 100, notInteger, 77},
        {"1", 1, 9999, "", 1},
        {"9999", 1, 9999, "", 9999},
        {"12ab", 1, 9999, "", 12},
        {"0", 1, 9999, workRange, 0},
        {"10000", 1, 9999, workRange, 10000},
        {"100", 0, 100, "", 100},
        {"0", 0, 100, "", 0},
        {"101", 0, 100, alphaRange, 101},
        {"-1", 0, 9999, posRange, -1},
        {"99999999999", 1, 9999, workRange, INT32_MAX},
    };
    for (const Case& c : cases) {
        int32_t field = 77;
        EXPECT_EQ(TakeInteger(c.text, c.min, c.max, field), c.message) << c.text;
        EXPECT_EQ(field, c.field) << c.text;
    }
}

}  // namespace
