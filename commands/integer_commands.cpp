// Entries of the bit and random-number commands.
#define WIN32_LEAN_AND_MEAN
#include <windows.h>

#include "commands/command_values.h"
#include "commands/random_generator.h"
#include "commands/text_commands.h"

namespace ruvelto::core_commands {
namespace {

using commands::Arguments;

// The first argument combined in turn with every further argument that is given.
template <class Combine>
void Fold(ValueRecord* result, int32_t count, ValueRecord* args, Combine combine) {
    const Arguments a(count, args);
    int32_t value = a.Int(0);
    for (int32_t i = 1; i < a.Count(); ++i) {
        if (a.Given(i)) value = combine(value, a.Int(i));
    }
    commands::SetInt(result, value);
}

}  // namespace

void BitAnd(ValueRecord* result, int32_t count, ValueRecord* args) {
    Fold(result, count, args, [](int32_t x, int32_t y) { return x & y; });
}

void BitOr(ValueRecord* result, int32_t count, ValueRecord* args) {
    Fold(result, count, args, [](int32_t x, int32_t y) { return x | y; });
}

void BitXor(ValueRecord* result, int32_t count, ValueRecord* args) {
    Fold(result, count, args, [](int32_t x, int32_t y) { return x ^ y; });
}

void BitNot(ValueRecord* result, int32_t count, ValueRecord* args) {
    commands::SetInt(result, ~Arguments(count, args).Int(0));
}

void ShiftRight(ValueRecord* result, int32_t count, ValueRecord* args) {
    const Arguments a(count, args);
    commands::SetInt(result, a.Int(0) >> (a.Int(1) & 31));  // arithmetic: the sign bit is copied
}

void SetRandomSeed(ValueRecord*, int32_t count, ValueRecord* args) {
    const Arguments a(count, args);
    if (a.Given(0)) {
        commands::SetRandomSeed(static_cast<uint32_t>(a.Int(0)));
    } else {
        commands::SetRandomSeedFromClock(GetTickCount());
    }
}

void GetRandom(ValueRecord* result, int32_t count, ValueRecord* args) {
    const Arguments a(count, args);
    commands::SetInt(result, commands::GetRandom(a.OptionalInt(0), a.OptionalInt(1)));
}

}  // namespace ruvelto::core_commands
