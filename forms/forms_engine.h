// Plugs the forms engine into the runtime: what the runtime asks of it at start-up, while
// running and at exit. Called once by the process before the runtime starts.
#pragma once

namespace ruvelto::forms {

void InstallFormsEngine();

}  // namespace ruvelto::forms
