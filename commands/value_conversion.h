// Converting a value of any type: the algorithms of ToText, ToInteger, ToByte and ToByteSet.
// Portable: the command layer decodes a value record's pointer into `data`, so these run (and
// are tested) in the 64-bit host build too.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "runtime/value_record.h"
#include "commands/value_text.h"

namespace ruvelto::commands {

// A value record with its pointer, if it holds one, already decoded: for a text the zero-
// terminated bytes, for a byte set or an array the block (dimension count, sizes, elements).
// data is null for the empty text or byte set and for values that hold no pointer.
struct ValueView {
    uint32_t type = kTypeNone;
    uint32_t lo = 0;
    uint32_t hi = 0;
    const uint8_t* data = nullptr;
};

constexpr bool IsArrayType(uint32_t type) {
    return type >= 0x80000000u && type <= 0xBFFFFFFFu && (type & kArrayBit) != 0;
}
// 1, 2, 4 or 8 for byte, short, int, long, float and double; 0 for any other type.
size_t NumericSize(uint32_t type);

// The elements of an array block (a byte set is a one-dimensional byte array): the element count
// is the product of the dimension sizes, the elements follow the sizes.
struct ArrayContents {
    uint64_t count = 0;
    const uint8_t* elements = nullptr;
};
ArrayContents ReadArray(const uint8_t* block);

// The bytes of a byte set value (type byte set or byte array); empty for any other type.
std::span<const uint8_t> ByteSetBytes(const ValueView& value);
// The text of a text value; empty for any other type.
std::string_view TextOf(const ValueView& value);

// Large enough for any text that ToText builds itself rather than taking from the value.
constexpr size_t kToTextScratch = kDateTimeTextCapacity;

// The text of a value: a view into the value itself (texts, byte sets, numeric arrays, cut at the
// first zero byte) or into scratch (numbers, logicals, dates).
std::string_view ToText(const ValueView& value, char (&scratch)[kToTextScratch]);
int32_t ToInteger(const ValueView& value);
uint8_t ToByte(const ValueView& value);
// The stored bytes of a value: a view into the value itself or into scratch (scalars).
std::span<const uint8_t> ToByteSet(const ValueView& value, uint8_t (&scratch)[8]);

// Float and double to int: truncated toward zero; out of range or not a number gives 0x80000000.
int32_t TruncateToInt(double value);

}  // namespace ruvelto::commands
