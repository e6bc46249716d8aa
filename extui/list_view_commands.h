// The list view's eight methods, the extended UI library's commands 0-7. Argument 0 is the list
// view ({window id, unit id, 0x30004}); a unit that is not loaded is the runtime error of the
// reporting unit lookup. Rows and columns count from 0; a row that does not exist gets what the
// control does with it (an empty text, state -1, no change).
#pragma once
#include "runtime/value_record.h"

namespace ruvelto::extui {

// 0: (row, [column = 0]) -> text.
void GetItemText(ValueRecord* result, int32_t count, ValueRecord* args);
// 1: () -> int.
void GetItemCount(ValueRecord* result, int32_t count, ValueRecord* args);
// 2: (row, [check state]): 0 unchecked, 1 checked; omitted removes the check box. Raises no event.
void SetCheckState(ValueRecord* result, int32_t count, ValueRecord* args);
// 3: ().
void DeleteAllItems(ValueRecord* result, int32_t count, ValueRecord* args);
// 4: ([position], [text], [image], [check state], [indent], [item data]) -> the new row's index,
// or -1. An omitted or negative position appends.
void InsertItem(ValueRecord* result, int32_t count, ValueRecord* args);
// 5: (row, [column = 0], [text = empty]).
void SetItemText(ValueRecord* result, int32_t count, ValueRecord* args);
// 6: (row) -> -1 without a check box, 0 unchecked, 1 checked.
void GetCheckState(ValueRecord* result, int32_t count, ValueRecord* args);
// 7: (row, text): the row's tip, shown when the pointer rests on it; it moves with the row as
// rows are inserted and deleted. An empty text removes it.
void SetItemTip(ValueRecord* result, int32_t count, ValueRecord* args);

}  // namespace ruvelto::extui
