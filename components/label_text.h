// A label's text as Label and TransLabel draw it: the window text over a rectangle, aligned,
// single-line or wrapped at words, with a raised, engraved or shadowed effect. The background is
// left as it is.
#pragma once
#include <windows.h>

#include <cstdint>

namespace ruvelto::components {

struct LabelTextStyle {
    uint32_t horizontalAlign = 0;  // 0 left, 1 centre, 2 right
    uint32_t verticalAlign = 1;    // 0 top, 1 centre, 2 bottom; single-line text only
    bool wordWrap = false;
    uint32_t effect = 0;           // 0 plain, 1 raised, 2 engraved, 3 shadowed
    uint32_t textColor = 0;        // a colour value (0xFF000000: the button-face colour)
};

// Draws `window`'s text into `area` of `dc` with `font`; nothing when the text is empty.
void DrawLabelText(HDC dc, HWND window, HFONT font, const RECT& area, const LabelTextStyle& style);

}  // namespace ruvelto::components
