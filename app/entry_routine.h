// The application's entry routine: starts the runtime, creates the application state, registers
// its clean-up, loads the main window and runs the main loop.
#pragma once
#include <cstdint>

namespace ruvelto::app {

constexpr uint32_t kMainWindowId = 0x52010001;

int EntryRoutine();

}  // namespace ruvelto::app
