// Colour and font property values as drawing objects: 0xFF000000 stands for the system
// button-face colour, and a font property is a 60-byte LOGFONT or nothing.
#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

namespace ruvelto::forms {

constexpr uint32_t kSystemButtonFace = 0xFF000000;
constexpr uint32_t kLogFontSize = 60;

// Looked up each time, so it follows the system colour.
COLORREF ResolveColor(uint32_t color);
// The font a control shows for a font property's bytes: a 60-byte LOGFONT made with
// DEFAULT_CHARSET, default precisions, PROOF_QUALITY and default pitch; anything else (or a font
// that cannot be made) gives the stock DEFAULT_GUI_FONT, which *stock then tells.
HFONT MakeControlFont(const std::vector<uint8_t>& logFont, bool* stock);
// The LOGFONT a font property's bytes stand for: the bytes, or DEFAULT_GUI_FONT's.
LOGFONTA LogFontOf(const uint8_t* bytes, uint32_t length);

}  // namespace ruvelto::forms
