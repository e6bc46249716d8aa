// Which controls the XP-style skin paints: the kind of a window, decided from its class name
// and style, and the state bits a skin record keeps for it.
#pragma once
#include <windows.h>

#include <cstdint>

namespace ruvelto::extui {

enum SkinKind : int32_t {
    kNotSkinned = -1,
    kPushButton = 0,
    kCheckBoxKind = 1,
    kRadioButton = 2,
    kEdit = 3,
    kComboBox = 4,
    kUpDown = 5,
    kScrollBarKind = 6,
    kMonthCalendar = 7,
    kTabControl = 8,
    kProgressKind = 9,
    kTrackBar = 10,
    kGroupBoxKind = 11,
    kComboList = 12,
};

// The kind of a window: one of the table's kinds, or kNotSkinned for the classes the skin leaves
// alone and for unknown ones.
SkinKind ClassifyWindow(HWND window);
// Kinds 0-5, 11 and 12 are painted by the skin; 6-10 are known but left to themselves.
bool IsPaintedKind(SkinKind kind);
// Push buttons, check boxes and radio buttons: "Button" windows with a check state and a default
// style.
inline bool IsButtonKind(SkinKind kind) { return kind == kPushButton || kind == kCheckBoxKind || kind == kRadioButton; }
// Edits, combo boxes, their lists and group boxes: the skin draws over what the control painted
// itself, so the memory copy starts from the window's pixels.
inline bool PaintsOverControl(SkinKind kind) {
    return kind == kEdit || kind == kComboBox || kind == kComboList || kind == kGroupBoxKind;
}

// State bits of a skin record.
namespace skin_state {
constexpr uint32_t kDisabled = 0x1;
constexpr uint32_t kPressed = 0x2;
constexpr uint32_t kHot = 0x4;
constexpr uint32_t kFocused = 0x10;
constexpr uint32_t kHorizontal = 0x20;  // an up-down control laid out left-right
// Buttons.
constexpr uint32_t kDefaultButton = 0x10000;
constexpr uint32_t kChecked = 0x20000;
constexpr uint32_t kIndeterminate = 0x40000;
// Edits: read-only, and the side an attached up-down control sits on.
constexpr uint32_t kReadOnly = 0x10000000;
constexpr uint32_t kEditUpDownRight = 0x10000;
constexpr uint32_t kEditUpDownLeft = 0x20000;
// Combo boxes.
constexpr uint32_t kComboSimple = 0x1000;
constexpr uint32_t kComboDropDown = 0x2000;
constexpr uint32_t kComboDropDownList = 0x4000;
// Up-down controls: the cursor is over the upper (or left) half, and the side they are attached on.
constexpr uint32_t kUpperHalfHot = 0x10000;
constexpr uint32_t kAttachedRight = 0x100000;
constexpr uint32_t kAttachedLeft = 0x200000;

// Sets or clears `bits` of `state`.
inline void Turn(uint32_t& state, uint32_t bits, bool on) { state = on ? (state | bits) : (state & ~bits); }
// The check bits of a button check state (BST_...).
inline uint32_t CheckBits(WPARAM check) {
    return check == BST_CHECKED ? kChecked : check == BST_INDETERMINATE ? kIndeterminate : 0;
}
// Whether a button style makes it the default push button.
inline bool IsDefaultButtonStyle(WPARAM style) { return (style & BS_TYPEMASK) == BS_DEFPUSHBUTTON; }
}  // namespace skin_state

// The state of a control of `kind` as its current style and check state show it.
uint32_t InitialSkinState(HWND window, SkinKind kind);

}  // namespace ruvelto::extui
