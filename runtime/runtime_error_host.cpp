// Native test build: no message box; the text goes to stderr and the process ends with -1.
#include <cstdio>
#include <cstdlib>

#include "runtime/runtime_error.h"

namespace ruvelto {

void RaiseRuntimeError(const char* message, int32_t code) {
    std::fputs(RuntimeErrorText(message, code).c_str(), stderr);
    std::fflush(stderr);
    std::_Exit(-1);
}

}  // namespace ruvelto
