// The runtime error box: nothing more runs after it, not even the application's clean-up.
#include "runtime/runtime_error.h"

#include <windows.h>

#include "runtime/program_exit.h"
#include "runtime/runtime_state.h"

namespace ruvelto {

void RaiseRuntimeError(const char* message, int32_t code) {
    runtime::RuntimeState& state = runtime::State();
    ++state.eventSuppression;
    std::string text = RuntimeErrorText(message, code);
    MessageBoxA(nullptr, text.c_str(), "\xB4\xED\xCE\xF3", MB_ICONERROR);  // 错误
    state.cleanupRoutine = nullptr;
    runtime::ExitProgram(-1);
    // Only another thread's request during exit comes back: that thread goes no further.
    ExitThread(static_cast<DWORD>(-1));
}

}  // namespace ruvelto
