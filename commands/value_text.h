// Numbers and date-times written as text, the way ToText, TimeToText and message boxes show them.
// Portable: numeric value records hold no pointers. Texts are GBK.
#pragma once
#include <cstddef>
#include <cstdint>

#include "runtime/value_record.h"

namespace ruvelto::commands {

constexpr size_t kNumberTextCapacity = 32;    // "-9223372036854775808", "-1.234567890123e-308"
constexpr size_t kDateTimeTextCapacity = 64;  // "9999年12月31日23时59分59秒" is 26 bytes

// Writes the number held by a numeric value record (byte, short, int, long, float, double);
// any other type writes the empty text. Returns the length.
size_t FormatNumber(const ValueRecord& value, char* out);
// The double (or date-time) held in a value record's two data words.
double DoubleOfRecord(uint32_t lo, uint32_t hi);
// A float rounded to 6 significant decimal digits, so that 0.1f shows as 0.1.
double RoundFloatToSixDigits(float f);

// "Y年M月D日", then the time when it is not midnight: "h时m分s秒" when the second is not 0,
// else "h时m分" when the minute is not 0, else "h时". Returns the length.
size_t FormatDateTime(double dateTime, char* out);
// "Y年M月D日" alone.
size_t FormatDate(double dateTime, char* out);
// "h时m分s秒", always all three.
size_t FormatTime(double dateTime, char* out);

}  // namespace ruvelto::commands
