#include "core/NumberCodec.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using Bytes = std::array<uint8_t, 4>;

int32_t DecodeText(const std::string& text) {
    return numbercodec::Decode(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

TEST(NumberCodec, EncodesDecimalTextCutToFourBytes) {
    struct Case {
        int32_t value;
        Bytes bytes;
    };
    const Case cases[] = {
        {45, {0x34, 0x35, 0x00, 0x00}},
        {0, {0x30, 0x00, 0x00, 0x00}},
        {-5, {0x2D, 0x35, 0x00, 0x00}},
        {100, {0x31, 0x30, 0x30, 0x00}},
        {9999, {0x39, 0x39, 0x39, 0x39}},  // four characters: no terminator
        {12345, {0x31, 0x32, 0x33, 0x34}},
        {-1000, {0x2D, 0x31, 0x30, 0x30}},
        {INT32_MIN, {0x2D, 0x32, 0x31, 0x34}},
    };
    for (const Case& c : cases) EXPECT_EQ(numbercodec::Encode(c.value), c.bytes) << c.value;
}

TEST(NumberCodec, RoundTripKeepsWhatFourCharactersHold) {
    struct Case {
        int32_t value, readBack;
    };
    const Case cases[] = {{45, 45}, {0, 0},       {-5, -5},       {9999, 9999},
                          {12345, 1234}, {-1000, -100}, {-999, -999}, {1, 1}};
    for (const Case& c : cases) {
        Bytes b = numbercodec::Encode(c.value);
        EXPECT_EQ(numbercodec::Decode(b.data(), b.size()), c.readBack) << c.value;
    }
}

TEST(NumberCodec, DecodesTextLikeAtoi) {
    EXPECT_EQ(DecodeText(std::string("30\0", 3)), 30);  // a REG_SZ typed in by hand
    EXPECT_EQ(DecodeText("  +12"), 12);
    EXPECT_EQ(DecodeText("\t-7x9"), -7);
    EXPECT_EQ(DecodeText("abc"), 0);
    EXPECT_EQ(DecodeText(""), 0);
    EXPECT_EQ(DecodeText("-"), 0);
}

TEST(NumberCodec, MachineOrderIntegerReadsAsZero) {
    const uint8_t machineOrder45[] = {0x2D, 0x00, 0x00, 0x00};
    EXPECT_EQ(numbercodec::Decode(machineOrder45, 4), 0);
}

TEST(NumberCodec, LooksAtNoMoreThanSevenBytes) {
    // Eight digits: the eighth byte lies beyond the read buffer.
    EXPECT_EQ(DecodeText("12345678"), 1234567);
    std::vector<uint8_t> sevenDigits = {'9', '9', '9', '9', '9', '9', '9'};
    EXPECT_EQ(numbercodec::Decode(sevenDigits.data(), sevenDigits.size()), 9999999);
}

}  // namespace
