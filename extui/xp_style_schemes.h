// The colours of the skin's three schemes: 1 blue, 2 olive green, 3 silver. Colours are
// 0x00BBGGRR.
#pragma once
#include <windows.h>

namespace ruvelto::extui {

struct SkinScheme {
    COLORREF editFrame;                     // the one-pixel frame of edits, combo boxes and their lists
    COLORREF buttonBorder;                  // outer rounded frame of push buttons
    COLORREF faceTop, faceBottom;           // push button face
    COLORREF pressedTop, pressedBottom;     // push button face while pressed
    COLORREF hotTop, hotBottom;             // the rim of a button under the mouse
    COLORREF defaultTop, defaultBottom;     // the rim of the default button
    COLORREF boxBorder;                     // check box square and radio circle
    COLORREF boxTop, boxBottom;             // inside of the square and the circle
    COLORREF glyph;                         // check mark and radio dot
    COLORREF arrowBorder;                   // drop-down and up-down buttons
    COLORREF arrowTop, arrowBottom;
    COLORREF arrowHotTop, arrowHotBottom;
    COLORREF arrowPressedTop, arrowPressedBottom;
    COLORREF arrowGlyph;
    COLORREF groupFrame, groupCaption;
};

// Disabled controls look the same in every scheme.
struct DisabledColours {
    COLORREF border = RGB(201, 199, 186);
    COLORREF face = RGB(245, 244, 234);
    COLORREF text = RGB(161, 161, 146);
};

// The scheme of number 1-3; any other number gives scheme 1.
const SkinScheme& SchemeColours(int scheme);

}  // namespace ruvelto::extui
