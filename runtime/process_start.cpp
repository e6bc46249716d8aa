#include "runtime/process_start.h"

#include <windows.h>

#include "runtime/program_exit.h"
#include "runtime/program_path.h"
#include "runtime/runtime_state.h"
#include "runtime/startup.h"

namespace ruvelto::runtime {

void RunApplication(const ProgramImageHeader& image, EntryRoutine entryRoutine) {
    char path[MAX_PATH + 1] = {};
    DWORD n = GetModuleFileNameA(nullptr, path, MAX_PATH);
    State().moduleDirectory = SplitProgramPath(std::string(path, n < MAX_PATH ? n : MAX_PATH)).directory + "\\";
    UseProgramImage(&image);
    entryRoutine();
    ExitProgram(0);
}

}  // namespace ruvelto::runtime
