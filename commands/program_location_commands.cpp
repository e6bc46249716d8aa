// GetRunDirectory and GetExecutableName: copies of what start-up took from the module path.
#include <windows.h>

#include "commands/system_commands.h"

#include "commands/command_values.h"
#include "runtime/program_path.h"
#include "runtime/runtime_state.h"

namespace ruvelto::core_commands {

void GetRunDirectory(ValueRecord* result, int32_t, ValueRecord*) {
    runtime::EnsureProgramPath();  // start-up has taken it already; a library host may not have
    commands::SetText(result, runtime::State().programDirectory);
}

void GetExecutableName(ValueRecord* result, int32_t, ValueRecord*) {
    runtime::EnsureProgramPath();
    commands::SetText(result, runtime::State().programFileName);
}

}  // namespace ruvelto::core_commands
