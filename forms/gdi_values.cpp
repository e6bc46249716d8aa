#include "forms/gdi_values.h"

#include <cstring>

namespace ruvelto::forms {

COLORREF ResolveColor(uint32_t color) {
    return color == kSystemButtonFace ? GetSysColor(COLOR_BTNFACE) : static_cast<COLORREF>(color & 0x00FFFFFF);
}

HFONT MakeControlFont(const std::vector<uint8_t>& logFont, bool* stock) {
    static_assert(sizeof(LOGFONTA) == kLogFontSize);
    if (logFont.size() == kLogFontSize) {
        LOGFONTA font;
        std::memcpy(&font, logFont.data(), sizeof font);
        font.lfCharSet = DEFAULT_CHARSET;
        font.lfOutPrecision = OUT_DEFAULT_PRECIS;
        font.lfClipPrecision = CLIP_DEFAULT_PRECIS;
        font.lfQuality = PROOF_QUALITY;
        font.lfPitchAndFamily = 0;
        if (HFONT made = CreateFontIndirectA(&font)) {
            if (stock) *stock = false;
            return made;
        }
    }
    if (stock) *stock = true;
    return static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

LOGFONTA LogFontOf(const uint8_t* bytes, uint32_t length) {
    LOGFONTA font{};
    if (bytes && length == kLogFontSize) std::memcpy(&font, bytes, sizeof font);
    else GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof font, &font);
    return font;
}

}  // namespace ruvelto::forms
