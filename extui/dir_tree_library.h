// The directory tree library's command table entries: its one command, the DirTree method
// GetSelectedPath.
#pragma once
#include "runtime/value_record.h"

namespace ruvelto::extui {

// 0: (DirTree) -> text: the selected item's file-system path; empty when nothing is selected or
// the item has no path. A unit that is not loaded is a runtime error.
void GetSelectedPathCommand(ValueRecord* result, int32_t count, ValueRecord* args);

}  // namespace ruvelto::extui
