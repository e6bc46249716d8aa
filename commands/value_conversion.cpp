#include "commands/value_conversion.h"

#include <climits>
#include <cstring>

#include "commands/text_algorithms.h"

namespace ruvelto::commands {
namespace {

constexpr std::string_view kTrue = "\xD5\xE6";   // 真
constexpr std::string_view kFalse = "\xBC\xD9";  // 假

// The bytes of a byte set, or of an array of a numeric type.
std::span<const uint8_t> NumericArrayBytes(const ValueView& value) {
    const size_t size = value.type == kTypeBytes ? 1 : NumericSize(value.type & ~kArrayBit);
    const ArrayContents array = ReadArray(value.data);
    if (size == 0 || array.count == 0) return {};
    return {array.elements, static_cast<size_t>(array.count * size)};
}

bool IsAsciiSpace(int c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

// atoi over the half-width form of a text: white space, an optional sign, decimal digits up to
// the first other character; saturates at the int range as the platform's atoi does.
int32_t ParseInteger(std::string_view text) {
    HalfWidthReader reader(text);
    int c = reader.Next();
    while (c >= 0 && IsAsciiSpace(c)) c = reader.Next();
    bool negative = false;
    if (c == '+' || c == '-') {
        negative = c == '-';
        c = reader.Next();
    }
    int64_t magnitude = 0;
    for (; c >= '0' && c <= '9'; c = reader.Next()) {
        magnitude = magnitude * 10 + (c - '0');
        if (magnitude > int64_t{INT32_MAX} + 1) magnitude = int64_t{INT32_MAX} + 1;
    }
    if (negative) return static_cast<int32_t>(-magnitude);
    return magnitude > INT32_MAX ? INT32_MAX : static_cast<int32_t>(magnitude);
}

float FloatOfRecord(uint32_t lo) {
    float f;
    std::memcpy(&f, &lo, sizeof f);
    return f;
}

}  // namespace

size_t NumericSize(uint32_t type) {
    switch (type) {
    case kTypeByte: return 1;
    case kTypeShort: return 2;
    case kTypeInt: return 4;
    case kTypeLong: return 8;
    case kTypeFloat: return 4;
    case kTypeDouble: return 8;
    default: return 0;
    }
}

ArrayContents ReadArray(const uint8_t* block) {
    if (block == nullptr) return {};
    uint32_t dimensions;
    std::memcpy(&dimensions, block, 4);
    if (dimensions == 0) return {};
    uint64_t count = 1;
    for (uint32_t d = 0; d < dimensions; ++d) {
        uint32_t size;
        std::memcpy(&size, block + 4 + 4 * size_t{d}, 4);
        count *= size;
        if (count == 0) return {};
    }
    return {count, block + 4 + 4 * size_t{dimensions}};
}

std::span<const uint8_t> ByteSetBytes(const ValueView& value) {
    if (value.type != kTypeBytes && value.type != kTypeByteArray) return {};
    return NumericArrayBytes(value);
}

std::string_view TextOf(const ValueView& value) {
    if (value.type != kTypeText || value.data == nullptr) return {};
    return reinterpret_cast<const char*>(value.data);
}

int32_t TruncateToInt(double value) {
    if (!(value > -2147483649.0 && value < 2147483648.0)) return INT32_MIN;
    return static_cast<int32_t>(value);
}

std::string_view ToText(const ValueView& value, char (&scratch)[kToTextScratch]) {
    if (value.type == kTypeBytes || IsArrayType(value.type)) {
        const std::span<const uint8_t> bytes = NumericArrayBytes(value);  // other arrays: empty
        const void* zero = bytes.empty() ? nullptr : std::memchr(bytes.data(), 0, bytes.size());
        const size_t n = zero ? static_cast<size_t>(static_cast<const uint8_t*>(zero) - bytes.data()) : bytes.size();
        return {reinterpret_cast<const char*>(bytes.data()), n};
    }
    if (NumericSize(value.type) != 0) {
        const ValueRecord record{value.lo, value.hi, value.type};
        return {scratch, FormatNumber(record, scratch)};
    }
    switch (value.type) {
    case kTypeText: return TextOf(value);
    case kTypeBool: return value.lo != 0 ? kTrue : kFalse;
    case kTypeDateTime: return {scratch, FormatDateTime(DoubleOfRecord(value.lo, value.hi), scratch)};
    default: return {};
    }
}

int32_t ToInteger(const ValueView& value) {
    switch (value.type) {
    case kTypeBool:
    case kTypeInt:
    case kTypeLong:  // its low 32 bits
    case kTypeSubProgram: return static_cast<int32_t>(value.lo);
    case kTypeByte: return static_cast<int32_t>(value.lo & 0xFF);
    case kTypeShort: return static_cast<int16_t>(value.lo);
    case kTypeFloat: return TruncateToInt(FloatOfRecord(value.lo));
    case kTypeDouble: return TruncateToInt(DoubleOfRecord(value.lo, value.hi));
    case kTypeText: return ParseInteger(TextOf(value));
    default: return 0;
    }
}

uint8_t ToByte(const ValueView& value) { return static_cast<uint8_t>(ToInteger(value) & 0xFF); }

std::span<const uint8_t> ToByteSet(const ValueView& value, uint8_t (&scratch)[8]) {
    if (value.type == kTypeBytes || IsArrayType(value.type)) return NumericArrayBytes(value);
    if (value.type == kTypeText) {
        const std::string_view text = TextOf(value);
        return {reinterpret_cast<const uint8_t*>(text.data()), text.size()};
    }
    size_t size = NumericSize(value.type);
    if (value.type == kTypeBool || value.type == kTypeSubProgram) size = 4;
    if (value.type == kTypeDateTime) size = 8;
    if (size == 0) return {};
    // Stored little-endian: data lo first, then data hi.
    for (size_t k = 0; k < 4; ++k) {
        scratch[k] = static_cast<uint8_t>(value.lo >> (8 * k));
        scratch[4 + k] = static_cast<uint8_t>(value.hi >> (8 * k));
    }
    return {scratch, size};
}

}  // namespace ruvelto::commands
