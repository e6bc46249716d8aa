// Reading and writing the main window's components by their roles.
#pragma once
#include <cstdint>

#include "app/runtime_facade.h"
#include "image-data/windows/main_window_units.h"

namespace ruvelto::app {

inline bool IsChecked(uint32_t box) {
    return ReadIntProperty(main_window::kWindow, box, main_window::kCheckedProperty) != 0;
}
inline void SetChecked(uint32_t box, bool checked) {
    WriteIntProperty(main_window::kWindow, box, main_window::kCheckedProperty, checked ? 1 : 0);
}
inline void SetEnabled(uint32_t unit, bool enabled) {
    WriteIntProperty(main_window::kWindow, unit, main_window::kDisabledProperty, enabled ? 0 : 1);
}
inline Text EditText(uint32_t edit) { return ReadTextProperty(main_window::kWindow, edit, main_window::kEditTextProperty); }
inline void SetEditText(uint32_t edit, const char* text) {
    WriteTextProperty(main_window::kWindow, edit, main_window::kEditTextProperty, text);
}
inline int32_t Property(uint32_t unit, int32_t index) { return ReadIntProperty(main_window::kWindow, unit, index); }
inline void SetProperty(uint32_t unit, int32_t index, int32_t value) {
    WriteIntProperty(main_window::kWindow, unit, index, value);
}

}  // namespace ruvelto::app
