// The class module of the application: GuardObject's methods, reached through the program
// image's class table (slot 10 the guard, slot 11 the window check). A method receives the
// object's address first.
#pragma once
#include <cstdint>

extern "C" {
// Slot 10: ends the program (exit code 0) after restoring the running instance's window when
// another instance holds the named event; otherwise creates the event and records `window`.
// `flag` and `word` are passed by the application and not used.
void ruvelto_instance_guard(void* self, int32_t window, int32_t flag, char** tag, int32_t word);
// Slot 11: whether `window` is a window (IsWindow).
int32_t ruvelto_is_window(void* self, int32_t window);
}

namespace ruvelto::app {

constexpr int kGuardMethod = 10;
constexpr int kWindowCheckMethod = 11;

// Method `slot` of an object of the class module, or null.
void* ClassMethod(void* object, int slot);

// Runs the guard of GuardObject through its class table. Calling it from here also links this
// file, and with it the methods that only the class table names, into the program.
void RunInstanceGuard(void* guardObject, int32_t window, int32_t flag, char** tag, int32_t word);

}  // namespace ruvelto::app
