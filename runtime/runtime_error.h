// The runtime error report: one error box, then the program ends with exit code -1.
#pragma once
#include <cstdint>
#include <string>

namespace ruvelto {

// code 0 means "no code"; never returns.
[[noreturn]] void RaiseRuntimeError(const char* message, int32_t code);
// The fixed messages of runtime errors 1-11 (entry slot 0); never returns.
[[noreturn]] void RaiseRuntimeErrorCode(int32_t code);

// The fixed message of code 1-11, "" for any other code.
const char* RuntimeErrorMessage(int32_t code);
// The text the error box shows.
std::string RuntimeErrorText(const char* message, int32_t code);

}  // namespace ruvelto
