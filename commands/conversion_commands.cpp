// Entries of the conversion commands and TimeToText.
#include <cstdio>

#include "commands/command_values.h"
#include "commands/text_commands.h"
#include "commands/value_text.h"

namespace ruvelto::core_commands {

using commands::Arguments;

void ToText(ValueRecord* result, int32_t count, ValueRecord* args) {
    char scratch[commands::kToTextScratch];
    commands::SetText(result, commands::ToText(Arguments(count, args).View(0), scratch));
}

void ToInteger(ValueRecord* result, int32_t count, ValueRecord* args) {
    commands::SetInt(result, commands::ToInteger(Arguments(count, args).View(0)));
}

void ToByte(ValueRecord* result, int32_t count, ValueRecord* args) {
    commands::SetByte(result, commands::ToByte(Arguments(count, args).View(0)));
}

void ToByteSet(ValueRecord* result, int32_t count, ValueRecord* args) {
    uint8_t scratch[8];
    commands::SetByteSet(result, commands::ToByteSet(Arguments(count, args).View(0), scratch));
}

void ToHexText(ValueRecord* result, int32_t count, ValueRecord* args) {
    char hex[12];
    const int n = std::snprintf(hex, sizeof hex, "%X", static_cast<unsigned>(Arguments(count, args).Int(0)));
    commands::SetText(result, {hex, static_cast<size_t>(n)});
}

void TimeToText(ValueRecord* result, int32_t count, ValueRecord* args) {
    const Arguments a(count, args);
    if (a[0].type != kTypeDateTime) {  // not a date-time: nothing to write
        commands::SetText(result, {});
        return;
    }
    const double value = commands::DoubleOfRecord(a[0].lo, a[0].hi);
    int32_t part = a.Given(1) ? a.Int(1) : 1;
    if (part > 3) part = 3;
    if (part < 1) part = 1;
    char text[commands::kDateTimeTextCapacity];
    size_t n = 0;
    switch (part) {
    case 1: n = commands::FormatDateTime(value, text); break;
    case 2: n = commands::FormatDate(value, text); break;
    default: n = commands::FormatTime(value, text); break;
    }
    commands::SetText(result, {text, n});
}

}  // namespace ruvelto::core_commands
