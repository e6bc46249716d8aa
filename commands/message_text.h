// What a message box says for a value of any type. Portable: the command layer decodes the
// value record's pointer first.
#pragma once
#include <cstddef>
#include <string>

#include "commands/value_conversion.h"

namespace ruvelto::commands {

// The box's text holds at most this many bytes, its terminating zero included.
constexpr size_t kMessageTextCapacity = 100;

// A number as FormatNumber writes it, a logical as "真" or "假", a date-time as FormatDateTime
// writes it, a text as it is; any other type says nothing. At most kMessageTextCapacity - 1
// bytes, cut before a double-byte character that would not fit whole.
std::string MessageText(const ValueView& content);

}  // namespace ruvelto::commands
