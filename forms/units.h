// Units by id: the live objects of loaded windows and components, and the report a live object
// makes when its Win32 window is gone.
#pragma once
#include <cstdint>

#include "forms/window_object.h"

namespace ruvelto::forms {

// The live object of a unit whose Win32 window exists, or null. unitId 0 or the window's own
// record id names the window itself.
WindowObject* FindLoadedUnit(uint32_t windowId, uint32_t unitId);
// The same; a missing unit is the runtime error "指定窗口或窗口组件不存在或尚未载入".
WindowObject* FindLoadedUnitOrFail(uint32_t windowId, uint32_t unitId);

// A live object's Win32 window has been destroyed. A component's record forgets its live object
// and cursor; the window's unit is unloaded (its saved table restored). Ignored while a
// component is being re-created.
void ReportUnitUnloaded(uint32_t windowId, uint32_t unitId);

}  // namespace ruvelto::forms

namespace ruvelto::forms {

struct WindowUnit;

// The record index of the unit whose live window is `window` or its nearest ancestor below the
// form (0 for the form itself), or -1; *unitId receives the unit's id when asked.
int32_t UnitOfWindow(WindowUnit& unit, HWND window, uint32_t* unitId);
// The live window of a record, or null.
HWND UnitWindow(WindowUnit& unit, uint32_t index);
// Windows of the program that are loaded now.
int32_t LoadedWindowCount();

}  // namespace ruvelto::forms
