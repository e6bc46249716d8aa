// Loading a window unit (creating its Win32 windows from its records), re-creating one
// component, and destroying units on request.
#pragma once
#include <windows.h>

#include <cstdint>

namespace ruvelto::forms {

struct WindowUnit;

// Loads the window; true on success. `reactivate` 0 makes loading a loaded window only
// activate it. A modal window that was shown runs a nested message loop until it is unloaded.
bool LoadWindowUnit(WindowUnit& unit, bool reactivate, bool modal, HWND parent);

// Re-creates the component at a record index from its current property data.
void RecreateComponent(WindowUnit& unit, uint32_t index);
// True while a component is being re-created (unload reports are then ignored).
bool RecreatingComponent();

// DestroyUnit: a window is marked pending destroy and destroyed now (atOnce) or when the posted
// message arrives; a component's window is destroyed and, when it had no child windows, its
// record leaves the live table and its container's child list.
void DestroyUnit(uint32_t windowId, uint32_t unitId, bool atOnce);

// Destroys every loaded window (program exit).
void ReleaseAllWindows();

}  // namespace ruvelto::forms
