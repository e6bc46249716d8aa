// The core library's text, number and time commands, as command entries: (result record,
// argument count, argument records). Each reads its arguments, builds a fresh result and touches
// no window, file or global state (random numbers aside). Optional arguments may be omitted with
// type code 0 or left off the end. Texts and byte sets returned are new runtime-heap blocks owned
// by the caller, or 0 when empty.
#pragma once
#include <cstdint>

#include "runtime/value_record.h"

// The common dialogs header maps FindText to FindTextA; here the name is the command. Files that
// include windows.h after this header should define WIN32_LEAN_AND_MEAN (which leaves it out).
#ifdef FindText
#undef FindText
#endif

namespace ruvelto::core_commands {

#define RUVELTO_COMMAND(name) void name(ValueRecord* result, int32_t count, ValueRecord* args)

// Conversions
RUVELTO_COMMAND(ToText);      // value -> text
RUVELTO_COMMAND(ToInteger);   // value -> int
RUVELTO_COMMAND(ToByte);      // value -> byte
RUVELTO_COMMAND(ToByteSet);   // value -> byte set
RUVELTO_COMMAND(ToHexText);   // int -> text
RUVELTO_COMMAND(TimeToText);  // date-time, [kind: 1 full, 2 date, 3 time] -> text

// Texts
RUVELTO_COMMAND(TextLength);        // text -> int
RUVELTO_COMMAND(FindText);          // text, sought, [start], [ignore case] -> int
RUVELTO_COMMAND(FindTextBackward);  // text, sought, [start], [ignore case] -> int
RUVELTO_COMMAND(LeftText);          // text, count -> text
RUVELTO_COMMAND(RightText);         // text, count -> text
RUVELTO_COMMAND(MiddleText);        // text, start, count -> text
RUVELTO_COMMAND(SpaceText);         // count -> text
RUVELTO_COMMAND(TrimBoth);          // text -> text
RUVELTO_COMMAND(ToLowerCase);       // text -> text
RUVELTO_COMMAND(ReplaceSubtext);    // text, sought, [replacement], [start], [count], [case sensitive] -> text
RUVELTO_COMMAND(SplitText);         // text, [separator], [maximum parts] -> array of texts

// Byte sets
RUVELTO_COMMAND(ByteSetLength);  // byte set -> int
RUVELTO_COMMAND(FindBytes);      // byte set, sought, [start] -> int
RUVELTO_COMMAND(LeftBytes);      // byte set, count -> byte set
RUVELTO_COMMAND(MiddleBytes);    // byte set, start, count -> byte set

// Integers
RUVELTO_COMMAND(BitAnd);      // int, int, [int ...] -> int
RUVELTO_COMMAND(BitOr);       // int, int, [int ...] -> int
RUVELTO_COMMAND(BitXor);      // int, int, [int ...] -> int
RUVELTO_COMMAND(BitNot);      // int -> int
RUVELTO_COMMAND(ShiftRight);  // int, count -> int (arithmetic, by count AND 31)

// Random numbers
RUVELTO_COMMAND(SetRandomSeed);  // [seed] -> none
RUVELTO_COMMAND(GetRandom);      // [minimum], [maximum] -> int

#undef RUVELTO_COMMAND

}  // namespace ruvelto::core_commands
