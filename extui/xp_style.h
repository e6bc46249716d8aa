// The XP-style library: a skin that gives the standard controls of the user-interface thread the
// look of a later desktop theme in one of three colour schemes, without the controls or the
// forms engine knowing about it. Its one command switches the skin on (schemes 1-3) or off.
#pragma once
#include <cstdint>

#include "runtime/value_record.h"

namespace ruvelto::extui {

// Stores the scheme; 1-3 switch the skin off (when on) and on again and answer the switching
// on, any other value switches it off and answers that (false when it was not on).
bool ApplyXPStyle(int32_t scheme);
// The scheme last given to ApplyXPStyle (0 before the first call).
int32_t CurrentXPScheme();

// XP-style library command 0: (scheme int) -> logical.
void ApplyXPStyleCommand(ValueRecord* result, int32_t count, ValueRecord* args);

}  // namespace ruvelto::extui
