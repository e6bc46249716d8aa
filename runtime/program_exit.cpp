// The exit sequence. Only what the runtime spine owns so far: events stop, the clean-up routine
// runs once, the process ends with the code.
#include "runtime/program_exit.h"

#include <windows.h>

#include "runtime/runtime_state.h"

namespace ruvelto::runtime {

void ExitProgram(int32_t exitCode) {
    RuntimeState& state = State();
    ++state.eventSuppression;
    if (!state.exiting) {
        state.exiting = true;
        if (auto cleanup = state.cleanupRoutine) {
            state.cleanupRoutine = nullptr;
            cleanup();
        }
    }
    ExitProcess(static_cast<UINT>(exitCode));
}

}  // namespace ruvelto::runtime
