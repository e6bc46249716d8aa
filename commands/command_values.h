// Reading command arguments from value records and writing command results, for the command
// entries. Value records hold addresses in 32-bit words (runtime heap blocks below 4 GB), so this
// is Win32-build only.
//
// Arguments stay owned by the caller. Every text or byte set written as a result is a new runtime
// heap block owned by the caller; an empty one is the empty value 0, never an allocation.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "commands/value_conversion.h"
#include "runtime/value_record.h"

namespace ruvelto::commands {

// The argument records of one call; an argument beyond the count reads as omitted (type 0).
class Arguments {
public:
    Arguments(int32_t count, const ValueRecord* args) : count_(args ? count : 0), args_(args) {}

    const ValueRecord& operator[](int32_t i) const;
    bool Given(int32_t i) const { return (*this)[i].type != kTypeNone; }
    int32_t Count() const { return count_ > 0 ? count_ : 0; }

    ValueView View(int32_t i) const;
    // Any value as an int, by the rules of ToInteger; 0 when omitted.
    int32_t Int(int32_t i) const;
    std::optional<int32_t> OptionalInt(int32_t i) const;
    // A logical argument: true when given and non-zero.
    bool Flag(int32_t i) const;
    // The text of a text argument; empty for the empty text or another type.
    std::string_view Text(int32_t i) const;
    std::optional<std::string_view> OptionalText(int32_t i) const;
    // The bytes of a byte-set argument; empty for the empty byte set or another type.
    std::span<const uint8_t> ByteSet(int32_t i) const;

private:
    int32_t count_;
    const ValueRecord* args_;
};

ValueView ViewOf(const ValueRecord& record);

void SetInt(ValueRecord* result, int32_t value);
void SetByte(ValueRecord* result, uint8_t value);
// A new heap text holding the bytes, or 0 when there are none.
void SetText(ValueRecord* result, std::string_view text);
// A new heap text of `length` bytes (plus the terminating zero) for the caller to fill, or null
// (and the result 0) when length is 0.
char* SetNewText(ValueRecord* result, uint64_t length);
// A new heap byte set holding the bytes, or 0 when there are none.
void SetByteSet(ValueRecord* result, std::span<const uint8_t> bytes);

// The heap block size for a header plus n bytes; an impossible size asks for 0xFFFFFFFF bytes, so
// the heap's memory failure path reports it.
uint32_t BlockSize(uint64_t header, uint64_t n);

}  // namespace ruvelto::commands
