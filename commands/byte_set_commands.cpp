// Entries of the byte-set commands.
#include "commands/byte_set_algorithms.h"
#include "commands/command_values.h"
#include "commands/text_commands.h"

namespace ruvelto::core_commands {

using commands::Arguments;

void ByteSetLength(ValueRecord* result, int32_t count, ValueRecord* args) {
    commands::SetInt(result, static_cast<int32_t>(Arguments(count, args).ByteSet(0).size()));
}

void FindBytes(ValueRecord* result, int32_t count, ValueRecord* args) {
    const Arguments a(count, args);
    commands::SetInt(result, commands::FindBytes(a.ByteSet(0), a.ByteSet(1), a.OptionalInt(2)));
}

void LeftBytes(ValueRecord* result, int32_t count, ValueRecord* args) {
    const Arguments a(count, args);
    commands::SetByteSet(result, commands::LeftBytes(a.ByteSet(0), a.Int(1)));
}

void MiddleBytes(ValueRecord* result, int32_t count, ValueRecord* args) {
    const Arguments a(count, args);
    commands::SetByteSet(result, commands::MiddleBytes(a.ByteSet(0), a.Int(1), a.Int(2)));
}

}  // namespace ruvelto::core_commands
