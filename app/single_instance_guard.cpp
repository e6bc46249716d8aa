#include "app/single_instance_guard.h"

#include <string>

#include "app/companion_texts.h"
#include "app/runtime_facade.h"
#include "image-data/library_command_tables.h"
#include "runtime/address_word.h"
#include "runtime/entry_table.h"

namespace ruvelto::app {
namespace {

enum DllCommand : uint32_t { kOpenIcon = 16, kCreateEventA = 17, kIsWindow = 18, kGetLastError = 28, kSetLastError = 29 };
enum CoreCommand : int { kReadIntRegistryItem = 36, kWriteRegistryItem = 37 };
constexpr uint32_t kErrorAccessDenied = 5;
constexpr uint32_t kErrorAlreadyExists = 183;

}  // namespace

void* ClassMethod(void* object, int slot) {
    // The object's one word names its class's method table, a table of code words.
    const uint32_t* methods = object ? WordAddress<const uint32_t>(*static_cast<const uint32_t*>(object)) : nullptr;
    return methods ? WordAddress(methods[slot]) : nullptr;
}

void RunInstanceGuard(void* guardObject, int32_t window, int32_t flag, char** tag, int32_t word) {
    using Guard = void (*)(void*, int32_t, int32_t, char**, int32_t);
    if (void* guard = ClassMethod(guardObject, kGuardMethod))
        reinterpret_cast<Guard>(guard)(guardObject, window, flag, tag, word);
}

}  // namespace ruvelto::app

using namespace ruvelto;
using namespace ruvelto::app;

extern "C" void ruvelto_instance_guard(void* self, int32_t window, int32_t, char** tag, int32_t) {
    const std::string suffix = tag && *tag ? *tag : "";
    const std::string eventName = companion_texts::kGuardEventName + suffix;
    const std::string registryPath = companion_texts::kGuardRegistryPath + suffix;

    // Created first and then asked about: of two copies started at the same moment exactly one
    // creates the event, where opening it first lets both find none and both go on. The handle
    // stays open for the life of the process.
    runtime::ResolveDllCommand(kGetLastError);  // resolving loads libraries, which sets the error code
    runtime::CallDllCommand<void>(kSetLastError, 0u);
    void* event = runtime::CallDllCommand<void*>(kCreateEventA, static_cast<void*>(nullptr), 0, 0, eventName.c_str());
    const uint32_t error = runtime::CallDllCommand<uint32_t>(kGetLastError);
    // An event of another user's copy that this one may not open is a running copy all the same.
    const bool running = event ? error == kErrorAlreadyExists : error == kErrorAccessDenied;
    if (running) {
        // Another instance is running: bring its window back and end before showing anything.
        const ValueRecord stored = CallCoreCommand(image_data::kCoreLibraryCommands[kReadIntRegistryItem],
                                                   {IntValue(companion_texts::kRegistryCurrentUser),
                                                    TextValue(registryPath.c_str())});
        const auto earlier = static_cast<int32_t>(stored.lo);
        using WindowCheck = int32_t (*)(void*, int32_t);
        void* check = ClassMethod(self, kWindowCheckMethod);
        const bool isWindow = check && reinterpret_cast<WindowCheck>(check)(self, earlier) != 0;
        if (isWindow) runtime::CallDllCommand<int>(kOpenIcon, reinterpret_cast<void*>(static_cast<intptr_t>(earlier)));
        ExitProgram(0);
    }
    CallCoreCommand(image_data::kCoreLibraryCommands[kWriteRegistryItem],
                    {IntValue(companion_texts::kRegistryCurrentUser), TextValue(registryPath.c_str()), IntValue(window)});
}

extern "C" int32_t ruvelto_is_window(void*, int32_t window) {
    return runtime::CallDllCommand<int>(kIsWindow, reinterpret_cast<void*>(static_cast<intptr_t>(window)));
}
