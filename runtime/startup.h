// Start-up: turns the program image into live runtime state.
#pragma once
#include "runtime/program_image.h"

namespace ruvelto::runtime {

// The image the runtime will start from; set before runtime helper 6 runs.
void UseProgramImage(const ProgramImageHeader* image);

// Runtime helper 6: takes the image set by UseProgramImage through the start-up sequence. A
// template segment that cannot be read raises "载入窗口模板数据段出错!".
void StartRuntime();

}  // namespace ruvelto::runtime
