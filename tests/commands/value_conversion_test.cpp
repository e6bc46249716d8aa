#include "commands/value_conversion.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

namespace ruvelto::commands {
namespace {

// Blocks laid out as the runtime holds them: dimension count, sizes, elements.
std::vector<uint8_t> ArrayBlock(std::vector<uint32_t> sizes, const std::vector<uint8_t>& elements) {
    std::vector<uint8_t> block(4 + 4 * sizes.size());
    const auto dimensions = static_cast<uint32_t>(sizes.size());
    std::memcpy(block.data(), &dimensions, 4);
    std::memcpy(block.data() + 4, sizes.data(), 4 * sizes.size());
    block.insert(block.end(), elements.begin(), elements.end());
    return block;
}

ValueView Scalar(uint32_t type, uint32_t lo, uint32_t hi = 0) { return {type, lo, hi, nullptr}; }
ValueView Text(const char* text) { return {kTypeText, 0, 0, reinterpret_cast<const uint8_t*>(text)}; }
ValueView Block(uint32_t type, const std::vector<uint8_t>& block) { return {type, 0, 0, block.data()}; }

ValueView Double(double d, uint32_t type = kTypeDouble) {
    uint64_t bits;
    std::memcpy(&bits, &d, 8);
    return Scalar(type, static_cast<uint32_t>(bits), static_cast<uint32_t>(bits >> 32));
}

ValueView Float(float f) {
    uint32_t bits;
    std::memcpy(&bits, &f, 4);
    return Scalar(kTypeFloat, bits);
}

std::string TextOfValue(const ValueView& v) {
    char scratch[kToTextScratch];
    return std::string(ToText(v, scratch));
}

std::vector<uint8_t> BytesOfValue(const ValueView& v) {
    uint8_t scratch[8];
    const std::span<const uint8_t> bytes = ToByteSet(v, scratch);
    return {bytes.begin(), bytes.end()};
}

const std::vector<uint8_t> kByteSet = ArrayBlock({5}, {'a', 'b', 0, 'c', 'd'});
const std::vector<uint8_t> kIntArray = ArrayBlock({2}, {'A', 'B', 'C', 'D', 'E', 0, 0, 0});
const std::vector<uint8_t> kShortMatrix = ArrayBlock({2, 1}, {'x', 'y', 'z', 'w'});
const std::vector<uint8_t> kEmptyIntArray = ArrayBlock({0}, {});
const std::vector<uint8_t> kTextArray = ArrayBlock({1}, {1, 2, 3, 4});

TEST(ToText, EveryKindOfValue) {
    const struct {
        const char* name;
        ValueView value;
        std::string text;
    } cases[] = {
        {"int", Scalar(kTypeInt, static_cast<uint32_t>(-42)), "-42"},
        {"float 0.1", Float(0.1f), "0.1"},
        {"double one third", Double(1.0 / 3), "0.3333333333333"},
        {"true", Scalar(kTypeBool, 1), "\xD5\xE6"},
        {"false", Scalar(kTypeBool, 0), "\xBC\xD9"},
        {"date at midnight", Double(45000, kTypeDateTime), "2023\xC4\xEA" "3\xD4\xC2" "15\xC8\xD5"},
        {"date with seconds", Double(45000 + 30.0 / 86400, kTypeDateTime),
         "2023\xC4\xEA" "3\xD4\xC2" "15\xC8\xD5" "0\xCA\xB1" "0\xB7\xD6" "30\xC3\xEB"},
        {"text", Text("abc"), "abc"},
        {"empty text", {kTypeText, 0, 0, nullptr}, ""},
        {"byte set cut at a zero byte", Block(kTypeBytes, kByteSet), "ab"},
        {"byte array", Block(kTypeByteArray, kByteSet), "ab"},
        {"empty byte set", {kTypeBytes, 0, 0, nullptr}, ""},
        {"int array bytes", Block(kTypeInt | kArrayBit, kIntArray), "ABCDE"},
        {"two-dimensional short array", Block(kTypeShort | kArrayBit, kShortMatrix), "xyzw"},
        {"array without elements", Block(kTypeInt | kArrayBit, kEmptyIntArray), ""},
        {"text array", Block(kTypeText | kArrayBit, kTextArray), ""},
        {"sub-program", Scalar(kTypeSubProgram, 0x401000), ""},
        {"window", Scalar(kTypeWindow, 0x52000001, 0x06000001), ""},
        {"omitted", Scalar(kTypeNone, 0), ""},
    };
    for (const auto& c : cases) EXPECT_EQ(TextOfValue(c.value), c.text) << c.name;
}

TEST(ToInteger, EveryKindOfValue) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        const char* name;
        ValueView value;
        int32_t integer;
    } cases[] = {
        {"full-width digits", Text("\xA3\xB1\xA3\xB2\xA3\xB3"), 123},
        {"digits then letters", Text("12abc"), 12},
        {"leading white space and sign", Text(" \t-42x"), -42},
        {"full-width space and minus", Text("\xA1\xA1\xA3\xAD\xA3\xB5"), -5},
        {"plus sign", Text("+7"), 7},
        {"no digits", Text("abc"), 0},
        {"sign alone", Text("-"), 0},
        {"empty text", {kTypeText, 0, 0, nullptr}, 0},
        {"overflow saturates", Text("99999999999"), INT_MAX},
        {"negative overflow saturates", Text("-99999999999"), INT_MIN},
        {"int minimum as text", Text("-2147483648"), INT_MIN},
        {"double 3.9", Double(3.9), 3},
        {"double -3.9", Double(-3.9), -3},
        {"float 2.5", Float(2.5f), 2},
        {"double out of range", Double(1e10), INT_MIN},
        {"double not a number", Double(nan), INT_MIN},
        {"double just below the range end", Double(2147483647.9), INT_MAX},
        {"byte", Scalar(kTypeByte, 0xFF), 255},
        {"short", Scalar(kTypeShort, 0xFFFF), -1},
        {"long keeps its low half", Scalar(kTypeLong, 5, 1), 5},
        {"logical", Scalar(kTypeBool, 1), 1},
        {"sub-program", Scalar(kTypeSubProgram, 0x401000), 0x401000},
        {"date-time", Double(45000, kTypeDateTime), 0},
        {"byte set", Block(kTypeBytes, kByteSet), 0},
        {"omitted", Scalar(kTypeNone, 0), 0},
    };
    for (const auto& c : cases) EXPECT_EQ(ToInteger(c.value), c.integer) << c.name;
}

TEST(ToByte, LowEightBitsOfTheInteger) {
    EXPECT_EQ(ToByte(Scalar(kTypeInt, 0x1234)), 0x34);
    EXPECT_EQ(ToByte(Scalar(kTypeInt, static_cast<uint32_t>(-1))), 0xFF);
    EXPECT_EQ(ToByte(Text("300")), 44);
    EXPECT_EQ(ToByte(Double(258.7)), 2);
    EXPECT_EQ(ToByte(Scalar(kTypeBool, 1)), 1);
    EXPECT_EQ(ToByte(Double(45000, kTypeDateTime)), 0);
    EXPECT_EQ(ToByte(Block(kTypeBytes, kByteSet)), 0);
}

TEST(ToByteSet, StoredBytesOfEveryKindOfValue) {
    using B = std::vector<uint8_t>;
    const struct {
        const char* name;
        ValueView value;
        B bytes;
    } cases[] = {
        {"byte", Scalar(kTypeByte, 0x7F), {0x7F}},
        {"short", Scalar(kTypeShort, 0xFFFFBEEF), {0xEF, 0xBE}},
        {"int", Scalar(kTypeInt, 0x04030201), {1, 2, 3, 4}},
        {"long", Scalar(kTypeLong, 0x04030201, 0x08070605), {1, 2, 3, 4, 5, 6, 7, 8}},
        {"float", Float(1.0f), {0, 0, 0x80, 0x3F}},
        {"double", Double(1.0), {0, 0, 0, 0, 0, 0, 0xF0, 0x3F}},
        {"date-time", Double(1.0, kTypeDateTime), {0, 0, 0, 0, 0, 0, 0xF0, 0x3F}},
        {"logical", Scalar(kTypeBool, 1), {1, 0, 0, 0}},
        {"sub-program", Scalar(kTypeSubProgram, 0x401000), {0, 0x10, 0x40, 0}},
        {"text without its zero", Text("ab"), {'a', 'b'}},
        {"empty text", {kTypeText, 0, 0, nullptr}, {}},
        {"byte set copy keeps zero bytes", Block(kTypeBytes, kByteSet), {'a', 'b', 0, 'c', 'd'}},
        {"int array", Block(kTypeInt | kArrayBit, kIntArray), {'A', 'B', 'C', 'D', 'E', 0, 0, 0}},
        {"text array", Block(kTypeText | kArrayBit, kTextArray), {}},
        {"library type", Scalar(kTypeListView, 1, 2), {}},
        {"omitted", Scalar(kTypeNone, 0), {}},
    };
    for (const auto& c : cases) EXPECT_EQ(BytesOfValue(c.value), c.bytes) << c.name;
}

}  // namespace
}  // namespace ruvelto::commands
