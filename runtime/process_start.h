// The runtime application object's life: the process start stores the module directory and
// hands control to the application's entry routine, which starts the runtime, loads the start-up
// window and runs the main loop; when it returns, the exit sequence runs (exit code 0).
#pragma once
#include "runtime/program_image.h"

namespace ruvelto::runtime {

using EntryRoutine = int (*)();

// Never returns: the process ends with exit code 0 after the entry routine returns.
[[noreturn]] void RunApplication(const ProgramImageHeader& image, EntryRoutine entryRoutine);

}  // namespace ruvelto::runtime
