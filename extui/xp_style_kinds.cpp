#include "extui/xp_style_kinds.h"

#include <commctrl.h>

namespace ruvelto::extui {
namespace {

bool ClassIs(const char* name, const char* expected) { return lstrcmpiA(name, expected) == 0; }

bool ParentClassIs(HWND window, const char* expected) {
    HWND parent = GetParent(window);
    char name[64] = {};
    return parent && GetClassNameA(parent, name, sizeof name) && ClassIs(name, expected);
}

SkinKind ButtonKind(HWND window, DWORD style) {
    const DWORD type = style & BS_TYPEMASK;
    if (type >= BS_USERBUTTON && type != BS_AUTORADIOBUTTON) return kNotSkinned;  // user, owner-drawn and above
    switch (type) {
        case BS_GROUPBOX: return kGroupBoxKind;
        case BS_PUSHBUTTON:
        case BS_DEFPUSHBUTTON: {
            // Picture buttons keep their pictures.
            if (style & (BS_BITMAP | BS_ICON)) return kNotSkinned;
            // A text-less push button that is nothing but a tab stop is some control's helper.
            if (style == (WS_CHILD | WS_TABSTOP) && GetWindowTextLengthA(window) == 0) return kNotSkinned;
            return kPushButton;
        }
        case BS_CHECKBOX:
        case BS_AUTOCHECKBOX:
        case BS_3STATE:
        case BS_AUTO3STATE: return (style & BS_PUSHLIKE) ? kPushButton : kCheckBoxKind;
        case BS_RADIOBUTTON:
        case BS_AUTORADIOBUTTON: return (style & BS_PUSHLIKE) ? kPushButton : kRadioButton;
        default: return kNotSkinned;
    }
}

}  // namespace

SkinKind ClassifyWindow(HWND window) {
    char name[64] = {};
    if (!window || !GetClassNameA(window, name, sizeof name)) return kNotSkinned;
    const DWORD style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
    if (ClassIs(name, "Button")) return ButtonKind(window, style);
    if (ClassIs(name, "Edit")) {
        // The fields of an IP address control, and the edit part of a combo box (whose frame is the
        // combo box's), are parts of another control.
        if (ParentClassIs(window, "SysIPAddress32") || ParentClassIs(window, "ComboBox")) return kNotSkinned;
        return kEdit;
    }
    if (ClassIs(name, "ComboBox")) return (style & 0x3) == CBS_SIMPLE ? kNotSkinned : kComboBox;
    if (ClassIs(name, UPDOWN_CLASSA)) return kUpDown;
    if (ClassIs(name, "ScrollBar")) return kScrollBarKind;
    if (ClassIs(name, MONTHCAL_CLASSA)) return kMonthCalendar;
    if (ClassIs(name, WC_TABCONTROLA)) return kTabControl;
    if (ClassIs(name, PROGRESS_CLASSA)) return kProgressKind;
    if (ClassIs(name, TRACKBAR_CLASSA)) return kTrackBar;
    if (ClassIs(name, "ComboLBox")) return kComboList;
    return kNotSkinned;
}

bool IsPaintedKind(SkinKind kind) { return (kind >= kPushButton && kind <= kUpDown) || kind == kGroupBoxKind || kind == kComboList; }

uint32_t InitialSkinState(HWND window, SkinKind kind) {
    using namespace skin_state;
    const DWORD style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
    uint32_t state = 0;
    Turn(state, kDisabled, (style & WS_DISABLED) != 0);
    Turn(state, kFocused, GetFocus() == window);
    if (IsButtonKind(kind)) {
        Turn(state, kDefaultButton, IsDefaultButtonStyle(style));
        state |= CheckBits(static_cast<WPARAM>(SendMessageA(window, BM_GETCHECK, 0, 0)));
    } else if (kind == kEdit) {
        Turn(state, kReadOnly, (style & ES_READONLY) != 0);
    } else if (kind == kComboBox) {
        const DWORD comboKind = style & 0x3;
        state |= comboKind == CBS_SIMPLE ? kComboSimple : comboKind == CBS_DROPDOWN ? kComboDropDown : kComboDropDownList;
    } else if (kind == kUpDown) {
        Turn(state, kHorizontal, (style & UDS_HORZ) != 0);
    }
    return state;
}

}  // namespace ruvelto::extui
