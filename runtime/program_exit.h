// Ending the program: entry slot 9, service 2028 and the runtime error report all come here.
#pragma once
#include <cstdint>

namespace ruvelto::runtime {

// Runs the exit sequence once and ends the process with exitCode.
[[noreturn]] void ExitProgram(int32_t exitCode);

}  // namespace ruvelto::runtime
