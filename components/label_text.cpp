#include "components/label_text.h"

#include <string>

#include "components/component_base.h"

namespace ruvelto::components {

void DrawLabelText(HDC dc, HWND window, HFONT font, const RECT& area, const LabelTextStyle& style) {
    const int length = GetWindowTextLengthA(window);
    if (length <= 0) return;
    std::string text(static_cast<size_t>(length) + 1, '\0');
    text.resize(static_cast<size_t>(GetWindowTextA(window, text.data(), length + 1)));
    HGDIOBJ oldFont = SelectObject(dc, font);
    SetBkMode(dc, TRANSPARENT);
    UINT flags = DT_NOCLIP | (style.horizontalAlign == 1 ? DT_CENTER : style.horizontalAlign == 2 ? DT_RIGHT : DT_LEFT);
    if (style.wordWrap) {
        flags |= DT_WORDBREAK | DT_VCENTER;
    } else {
        flags |= DT_SINGLELINE | (style.verticalAlign == 0 ? DT_TOP : style.verticalAlign == 2 ? DT_BOTTOM : DT_VCENTER);
    }
    auto draw = [&](int dx, int dy, COLORREF color) {
        RECT r = area;
        OffsetRect(&r, dx, dy);
        SetTextColor(dc, color);
        DrawTextA(dc, text.c_str(), static_cast<int>(text.size()), &r, flags);
    };
    const COLORREF white = RGB(255, 255, 255), black = RGB(0, 0, 0), color = ResolveColor(style.textColor);
    switch (style.effect) {
        case 1: draw(1, 1, white), draw(0, 0, color); break;
        case 2: draw(0, 0, white), draw(1, 1, color); break;
        case 3: draw(2, 2, black), draw(0, 0, color); break;
        default: draw(0, 0, color); break;
    }
    SelectObject(dc, oldFont);
}

}  // namespace ruvelto::components
