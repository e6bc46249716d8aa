#include "runtime/process_start.h"

#include <windows.h>

#include "runtime/program_exit.h"
#include "runtime/program_path.h"
#include "runtime/startup.h"

namespace ruvelto::runtime {

void RunApplication(const ProgramImageHeader& image, EntryRoutine entryRoutine) {
    EnsureProgramPath();  // the module directory is the program's own
    UseProgramImage(&image);
    entryRoutine();
    RunExitSequence();
    ExitProcess(0);
}

}  // namespace ruvelto::runtime
