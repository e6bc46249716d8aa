// Entry slots 4 and 5: reading and writing a unit's properties by index. Common properties 0-7
// work on the record while the window is not loaded; the type's own properties need the live
// object and travel through its get and set services, converted by property type.
#pragma once
#include <cstdint>
#include <string>

namespace ruvelto::forms {

uint64_t ReadProperty(uint32_t windowId, uint32_t unitId, int32_t index, int32_t subField);
void WriteProperty(uint32_t windowId, uint32_t unitId, int32_t index, int32_t subField, uint32_t lo, uint32_t hi);

// Positions are clamped to -32627..32627 and sizes to 0..32627.
int32_t ClampPosition(int32_t value);
int32_t ClampSize(int32_t value);
// An empty face name, or one of 32 bytes or more, becomes "宋体".
std::string FontFaceName(const std::string& requested);

}  // namespace ruvelto::forms
