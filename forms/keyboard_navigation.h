// Keyboard navigation inside a window: tab order, Enter and the default button, Esc, arrow keys
// among radio boxes, F1 help and Alt mnemonics.
#pragma once
#include <windows.h>

#include <cstdint>

namespace ruvelto::forms {

class FormWindow;
struct WindowUnit;

// Navigation key bits added to the folded virtual-key code.
constexpr uint32_t kKeyCtrl = 0x2000;
constexpr uint32_t kKeyShift = 0x4000;
constexpr uint32_t kKeyAlt = 0x8000;

// The numeric keypad folded: digits to '0'-'9', minus to 189, point to 190, divide to 191.
uint32_t FoldKey(uint32_t virtualKey);
// 1 Ctrl, 2 Shift, 4 Alt, as the queue saw them with the current message.
uint32_t Modifiers();

// The tab-order candidates' first unit (the window's focus when it has none to remember).
HWND FirstTabUnit(FormWindow& form);

// Moves the focus from record `from` (0: the window) forward or backward in tab order; in radio
// mode only among radio boxes with the same parent, and checking the target. `inside` limits the
// candidates to its descendants. Returns the new focus, or null when nothing moved.
HWND MoveFocus(FormWindow& form, WindowUnit& unit, int32_t from, bool forward, bool radio, HWND inside);

// The navigation step of the window's pre-translate for WM_KEYDOWN and WM_SYSKEYDOWN; true when
// the key was used (and is swallowed).
bool NavigateKey(FormWindow& form, WindowUnit& unit, const MSG& message);

}  // namespace ruvelto::forms
