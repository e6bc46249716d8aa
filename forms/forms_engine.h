// Plugs the forms engine into the runtime: property access, the message loop, window loading
// and the template segment through the forms hooks, and the engine's runtime services.
#pragma once
#include <cstdint>

namespace ruvelto::forms {

// Called by the process before the runtime starts, and by the core library's notify entry;
// safe to call more than once.
void InstallFormsEngine();

// The core library's notify entry: message 1 stores the service callback and installs the
// engine; 2 offers the message in argument 2 to the pre-translation of the window object in
// argument 1 (1 when consumed); 11 destroys the window object in argument 1; 13 plays the sound
// data that argument 1 describes (as service 2015); 10 and 12 (data objects) answer 0 and make
// nothing; other messages answer -1.
intptr_t CoreLibraryNotify(int32_t message, intptr_t argument1, intptr_t argument2);

}  // namespace ruvelto::forms
