// The runtime's process-wide state: what start-up takes from the program image and the
// environment, and the few counters and flags that the entry table, the services, the forms
// engine and exit share. Plain data; one instance per process.
#pragma once
#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/value_record.h"

namespace ruvelto::runtime {

struct ProgramImageHeader;
struct LibraryRecord;

// One DLL command: names from the image, module and address cached on first call.
struct DllCommandSlot {
    const char* libraryFile = nullptr;
    const char* functionName = nullptr;
    void* module = nullptr;
    void* address = nullptr;
};

struct RuntimeState {
    const ProgramImageHeader* image = nullptr;
    uint32_t programKind = 0;
    uint32_t reservedWord = 0;
    uint32_t unitCounter = 0;  // header word plus one

    std::string programDirectory;  // without trailing "\"
    std::string programFileName;
    std::string moduleDirectory;   // with trailing "\"
    uint32_t mainThreadId = 0;
    void* hiddenWindow = nullptr;  // HWND
    bool oleInitialised = false;
    void* programIcons[2] = {};  // HICON large and small, loaded once by service 1000

    std::vector<DllCommandSlot> dllCommands;
    std::vector<const LibraryRecord*> libraries;
    std::vector<intptr_t> libraryWords;  // handed back with notify message 6

    int32_t eventSuppression = 0;  // events are delivered only at 0
    void (*cleanupRoutine)() = nullptr;
    bool mainLoopEntered = false;
    std::atomic<bool> exiting = false;  // read by other threads' exit requests
};

RuntimeState& State();

}  // namespace ruvelto::runtime
