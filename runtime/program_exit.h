// Ending the program: entry slot 9, service 2028 and the runtime error report all come here.
#pragma once
#include <cstdint>

namespace ruvelto::runtime {

// The message another thread sends to the hidden window to have the main thread end the
// program (wParam: the exit code).
constexpr uint32_t kExitRequestMessage = 0x83E7;

// Runs the exit sequence once and ends the process with exitCode. From a thread other than the
// main thread the request is forwarded to the main thread through the hidden window; it returns
// only there, and only when the main thread is already running the exit sequence.
void ExitProgram(int32_t exitCode);

// The exit sequence without ending the process: what the runtime application object's
// destruction does at a normal shutdown. Runs once; later calls do nothing.
void RunExitSequence();

// The exit steps that release what subsystems above the runtime keep. Each subsystem installs
// its own step when it comes up; a step nobody installed is skipped.
enum class ExitStep {
    kClearChildWindows,     // the window list of services 1012-1013 (the forms engine)
    kReleaseHelperObjects,  // the remaining helper objects (the forms engine's library window objects)
    kReleasePictures,       // every registered picture object and the picture list (the picture registry)
};
void SetExitStep(ExitStep step, void (*release)());

}  // namespace ruvelto::runtime
