// The core library's commands that reach outside the process's memory: files, the registry,
// child processes, message boxes, delays and the program's own location. Command entries:
// (result record, argument count, argument records). None raises an error for a bad argument or
// a failed platform call: each gives its stated empty result (-1, the earliest date, the empty
// byte set, false, 0 or the given default). Texts and byte sets returned are new runtime-heap
// blocks owned by the caller, or 0 when empty. File names, registry paths and command lines are
// GBK texts.
#pragma once
#include <cstdint>

#include "runtime/value_record.h"

// windows.h maps MessageBox to MessageBoxA; here the name is the command. Include windows.h, if at
// all, before this header.
#ifdef MessageBox
#undef MessageBox
#endif

namespace ruvelto::core_commands {

#define RUVELTO_COMMAND(name) void name(ValueRecord* result, int32_t count, ValueRecord* args)

// Files
RUVELTO_COMMAND(GetFileSize);  // file name (wildcards allowed, first match) -> int, -1 when none
RUVELTO_COMMAND(GetFileTime);  // file name -> local last-write date-time, 0100-01-01 when none
RUVELTO_COMMAND(ReadFile);     // file name -> byte set
RUVELTO_COMMAND(WriteFile);    // file name, byte set, [byte set ...] -> logical

// Registry: root code (1 HKCR, 2 HKCC, 3 HKCU, 4 HKLM, 5 HKU, other HKCU), "key\value" path
RUVELTO_COMMAND(RegistryItemExists);   // root, path -> logical
RUVELTO_COMMAND(ReadIntRegistryItem);  // root, path, [default] -> int (REG_DWORD values only)
RUVELTO_COMMAND(WriteRegistryItem);    // root, path, number, text or byte set -> logical

// Processes and the user-interface thread
RUVELTO_COMMAND(Run);         // command line, [wait], [show mode 1-6] -> logical
RUVELTO_COMMAND(MessageBox);  // content (any type), [buttons and icon], [title] -> int 0-6
RUVELTO_COMMAND(Delay);       // milliseconds -> none; no messages are handled meanwhile

// The program's own location, as start-up recorded it
RUVELTO_COMMAND(GetRunDirectory);    // -> text, without trailing "\"
RUVELTO_COMMAND(GetExecutableName);  // -> text

#undef RUVELTO_COMMAND

}  // namespace ruvelto::core_commands
