// A unit's mouse pointer: its cursor data (the Cursor property and record field), the index the
// application sees against the system cursor code the record holds, and the cursor handle made
// from the data.
#pragma once
#include <windows.h>

#include <cstdint>

namespace ruvelto::forms {

// Index 0-14 <-> system cursor code (0 for index 0, 32649 for the hand). Values outside the
// table pass through unchanged.
uint32_t CursorIndexToCode(uint32_t index);
uint32_t CursorCodeToIndex(uint32_t code);

// The cursor handle for cursor data of `length` bytes, or null for none. The caller destroys it
// (a system cursor is shared and may be destroyed harmlessly).
HCURSOR MakeUnitCursor(const uint8_t* data, uint32_t length);
// A cursor from standard .cur file bytes, or null.
HCURSOR CursorFromFileBytes(const uint8_t* data, uint32_t length);

}  // namespace ruvelto::forms
