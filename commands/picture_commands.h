// LoadPicture and UnloadPicture: picture handles for drawing. A handle is the address of a
// picture object in the runtime's list of loaded pictures.
#pragma once
#include "runtime/value_record.h"

namespace ruvelto::core_commands {

// 7: (file name text or byte set of picture data) -> int handle, 0 when nothing decoded.
void LoadPicture(ValueRecord* result, int32_t count, ValueRecord* args);
// 20: (handle) -> none; a handle not in the list (0, or already unloaded) is ignored.
void UnloadPicture(ValueRecord* result, int32_t count, ValueRecord* args);

}  // namespace ruvelto::core_commands
