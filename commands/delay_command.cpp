// Delay: the calling thread sleeps; its messages wait until it wakes.
#include <windows.h>

#include "commands/system_commands.h"

#include "commands/command_values.h"

namespace ruvelto::core_commands {

void Delay(ValueRecord*, int32_t count, ValueRecord* args) {
    const int32_t milliseconds = commands::Arguments(count, args).Int(0);
    Sleep(milliseconds > 0 ? static_cast<DWORD>(milliseconds) : 0);
}

}  // namespace ruvelto::core_commands
