// Changing a live control's style bits the way the framework does: the new style, then a frame
// change without moving, sizing, re-ordering or activating.
#pragma once
#include <windows.h>

#include <cstdint>

#include "components/component_base.h"

namespace ruvelto::components {

inline void ModifyStyle(HWND window, DWORD remove, DWORD add) {
    if (!window) return;
    DWORD style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
    DWORD changed = (style & ~remove) | add;
    if (changed == style) return;
    SetWindowLongA(window, GWL_STYLE, static_cast<LONG>(changed));
    SetWindowPos(window, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

// Button alignment styles of the alignment choices 0-2.
inline DWORD HorizontalAlignStyle(uint32_t align) {
    return align == 0 ? BS_LEFT : align == 2 ? BS_RIGHT : BS_CENTER;
}
inline DWORD VerticalAlignStyle(uint32_t align) {
    return align == 0 ? BS_TOP : align == 2 ? BS_BOTTOM : BS_VCENTER;
}
constexpr DWORD kHorizontalAlignMask = 0x300;
constexpr DWORD kVerticalAlignMask = 0xC00;

// The service entry of a type: create for code 1, the common services otherwise.
template <class Type>
void* TypeInterfaceOf(int32_t code) {
    if (code == forms::kCreateUnit) return reinterpret_cast<void*>(&CreateUnitEntry<Type>);
    return ComponentServices(code);
}

}  // namespace ruvelto::components
