// Running a companion's installer to its end without freezing the program: the windows keep
// painting and answering messages, but take no input until it has ended, so clicks made
// meanwhile are not replayed afterwards and an installer that broadcasts a message is answered.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace ruvelto::app {

// Disables the given windows that are enabled now, and enables them again when it goes.
class WindowsHeld {
public:
    explicit WindowsHeld(const std::vector<void*>& windows);
    ~WindowsHeld();
    WindowsHeld(const WindowsHeld&) = delete;
    WindowsHeld& operator=(const WindowsHeld&) = delete;

private:
    std::vector<void*> disabled_;
};

// Lets window messages through for this long.
void PauseHandlingMessages(uint32_t milliseconds);

// Waits until the handle is signalled, or without a handle until the time is up, handling the
// window messages that arrive meanwhile.
void WaitHandlingMessages(void* handle, uint32_t milliseconds);

// Starts the command line and lets window messages through until the program has ended; false
// when it could not be started.
bool RunToItsEnd(const std::string& commandLine);

}  // namespace ruvelto::app
