// The core library's commands that are methods of windows and components, and ProcessEvents.
#pragma once
#include "runtime/value_record.h"

namespace ruvelto::forms {

// 9: (unit) -> integer handle of its live Win32 window; an unloaded unit is a runtime error.
void GetWindowHandleCommand(ValueRecord* result, int32_t count, ValueRecord* args);
// 11: (window, optional parent window, optional modal logical) -> logical.
void LoadWindowCommand(ValueRecord* result, int32_t count, ValueRecord* args);
// 12: dispatches the messages that wait, without idle processing.
void ProcessEventsCommand(ValueRecord* result, int32_t count, ValueRecord* args);
// 25: (window or component, optional logical at-once flag).
void DestroyUnitCommand(ValueRecord* result, int32_t count, ValueRecord* args);

}  // namespace ruvelto::forms
