// Reading the window template segment at start-up: the window index, then one template per
// window, each becoming a window unit whose event handlers are relocated against the code base.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

#include "forms/window_unit.h"

namespace ruvelto::forms {

// The segment must be consumed exactly. On any failure (a read past the end, a table whose
// records do not fit or do not parse, bytes left over) returns false and `units` is unchanged.
bool ReadTemplateSegment(const uint8_t* segment, uint32_t length, uint32_t codeBase,
                         std::vector<std::unique_ptr<WindowUnit>>& units);

}  // namespace ruvelto::forms
