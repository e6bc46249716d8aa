#include "app/installer_run.h"

#include "app/program_commands.h"
#include "runtime/entry_table.h"

#include <windows.h>

namespace ruvelto::app {
namespace {

// DLL commands of the program image.
enum DllCommand : uint32_t {
    kCloseHandle = 10, kCreateProcessA = 33, kMsgWaitForMultipleObjects = 34, kEnableWindow = 35,
    kIsWindowEnabled = 36,
};

}  // namespace

void WaitHandlingMessages(void* handle, uint32_t milliseconds) {
    const uint64_t start = GetTickCount64();
    const uint32_t count = handle ? 1 : 0;
    for (;;) {
        uint32_t timeout = INFINITE;
        if (milliseconds != INFINITE) {
            const uint64_t elapsed = GetTickCount64() - start;
            if (elapsed >= milliseconds) return;
            timeout = static_cast<uint32_t>(milliseconds - elapsed);
        }
        const uint32_t woken = runtime::CallDllCommand<uint32_t>(kMsgWaitForMultipleObjects, count, &handle, 0,
                                                                 timeout, static_cast<uint32_t>(QS_ALLINPUT));
        if (woken == WAIT_OBJECT_0 + count) {
            ProcessEvents();
            continue;
        }
        // Signalled, timed out, or a wait that cannot be made: nothing more to wait for.
        return;
    }
}

WindowsHeld::WindowsHeld(const std::vector<void*>& windows) {
    for (void* window : windows) {
        if (!window || !runtime::CallDllCommand<int>(kIsWindowEnabled, window)) continue;
        runtime::CallDllCommand<int>(kEnableWindow, window, 0);
        disabled_.push_back(window);
    }
}

WindowsHeld::~WindowsHeld() {
    for (void* window : disabled_) runtime::CallDllCommand<int>(kEnableWindow, window, 1);
}

void PauseHandlingMessages(uint32_t milliseconds) { WaitHandlingMessages(nullptr, milliseconds); }

bool RunToItsEnd(const std::string& commandLine) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWNORMAL;
    PROCESS_INFORMATION process{};
    std::string line = commandLine;  // the platform may write into it
    const int started = runtime::CallDllCommand<int>(
        kCreateProcessA, static_cast<const char*>(nullptr), line.data(), static_cast<void*>(nullptr),
        static_cast<void*>(nullptr), 0, 0u, static_cast<void*>(nullptr), static_cast<const char*>(nullptr), &startup,
        &process);
    if (!started) return false;
    runtime::CallDllCommand<int>(kCloseHandle, static_cast<void*>(process.hThread));
    WaitHandlingMessages(process.hProcess, INFINITE);
    runtime::CallDllCommand<int>(kCloseHandle, static_cast<void*>(process.hProcess));
    return true;
}

}  // namespace ruvelto::app
