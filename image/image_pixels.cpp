// Pixel, palette, transparency and alpha-plane access: what the codecs build and read
// pictures with.
#include <cstdlib>
#include <cstring>

#include "image/image.h"

namespace ruvelto::image {

bool Image::IsInside(int32_t x, int32_t y) const {
    return Dib && x >= 0 && y >= 0 && x < Header.Width && y < Header.Height;
}

RgbQuad Image::GetPaletteColor(uint8_t index) const {
    const RgbQuad* palette = GetPalette();
    if (!palette || index >= Header.ClrUsed) return RgbQuad{};
    return palette[index];
}

bool Image::GetPaletteColor(uint8_t index, uint8_t* red, uint8_t* green, uint8_t* blue) const {
    const RgbQuad* palette = GetPalette();
    if (!palette) return false;
    const RgbQuad c = index < Header.ClrUsed ? palette[index] : RgbQuad{};
    *red = c.red;
    *green = c.green;
    *blue = c.blue;
    return true;
}

void Image::SetPaletteColor(uint8_t index, uint8_t red, uint8_t green, uint8_t blue,
                            uint8_t alpha) {
    RgbQuad* palette = GetPalette();
    if (!palette || index >= Header.ClrUsed) return;
    palette[index] = RgbQuad{blue, green, red, alpha};
    InvalidateNearestCache();
}

void Image::SetPaletteColor(uint8_t index, RgbQuad colour) {
    SetPaletteColor(index, colour.red, colour.green, colour.blue, colour.reserved);
}

void Image::SetPaletteColor(uint8_t index, uint32_t rgb) {
    SetPaletteColor(index, static_cast<uint8_t>(rgb), static_cast<uint8_t>(rgb >> 8),
                    static_cast<uint8_t>(rgb >> 16), 0);
}

void Image::SetPalette(uint32_t count, const uint8_t* red, const uint8_t* green,
                       const uint8_t* blue) {
    RgbQuad* palette = GetPalette();
    if (!palette || !red) return;
    if (!green) green = red;
    if (!blue) blue = green;
    const uint32_t n = count < Header.ClrUsed ? count : Header.ClrUsed;
    for (uint32_t i = 0; i < n; ++i) {
        palette[i].red = red[i];
        palette[i].green = green[i];
        palette[i].blue = blue[i];
    }
    InvalidateNearestCache();
}

void Image::SetPalette(const RgbTriple* triplets, uint32_t count) {
    RgbQuad* palette = GetPalette();
    if (!palette || !triplets) return;
    const uint32_t n = count < Header.ClrUsed ? count : Header.ClrUsed;
    for (uint32_t i = 0; i < n; ++i) {
        palette[i].red = triplets[i].red;
        palette[i].green = triplets[i].green;
        palette[i].blue = triplets[i].blue;
    }
    InvalidateNearestCache();
}

void Image::SetPalette(const RgbQuad* colours, uint32_t count) {
    RgbQuad* palette = GetPalette();
    if (!palette || !colours) return;
    const uint64_t bytes = uint64_t{count} * 4;
    std::memcpy(palette, colours, bytes < GetPaletteSize() ? bytes : GetPaletteSize());
    InvalidateNearestCache();
}

void Image::SetGrayPalette() {
    RgbQuad* palette = GetPalette();
    if (!palette || Header.ClrUsed < 2) return;
    const uint32_t step = 255 / (Header.ClrUsed - 1);
    for (uint32_t i = 0; i < Header.ClrUsed; ++i) {
        const uint8_t v = static_cast<uint8_t>(i * step);
        palette[i].blue = palette[i].green = palette[i].red = v;
    }
    InvalidateNearestCache();
}

uint8_t Image::GetPixelIndex(int32_t x, int32_t y) const {
    if (!Dib || Header.ClrUsed == 0) return 0;
    if (!IsInside(x, y)) {
        if (Info.TransIndex != -1) return static_cast<uint8_t>(Info.TransIndex);
        return Info.Bits[0];
    }
    const uint8_t* row = Info.Bits + size_t(y) * Info.EffWidth;
    switch (Header.BitCount) {
        case 8: return row[x];
        case 4: return (x & 1) ? row[x >> 1] & 0x0F : row[x >> 1] >> 4;
        case 1: return (row[x >> 3] >> (7 - (x & 7))) & 1;
        default: return 0;
    }
}

void Image::SetPixelIndex(int32_t x, int32_t y, uint8_t index) {
    if (!IsInside(x, y) || Header.ClrUsed == 0) return;
    uint8_t* row = Info.Bits + size_t(y) * Info.EffWidth;
    switch (Header.BitCount) {
        case 8: row[x] = index; break;
        case 4: {
            const int shift = (x & 1) ? 0 : 4;
            uint8_t& b = row[x >> 1];
            b = static_cast<uint8_t>((b & ~(0x0F << shift)) | ((index & 0x0F) << shift));
            break;
        }
        case 1: {
            const uint8_t mask = static_cast<uint8_t>(0x80 >> (x & 7));
            uint8_t& b = row[x >> 3];
            b = (index & 1) ? (b | mask) : (b & ~mask);
            break;
        }
        default: break;
    }
}

RgbQuad Image::GetPixelColor(int32_t x, int32_t y, bool withAlpha) const {
    if (!Dib) return RgbQuad{};
    if (!IsInside(x, y)) {
        if (Info.TransIndex != -1) {
            if (Header.BitCount < 24) return GetPaletteColor(static_cast<uint8_t>(Info.TransIndex));
            return Info.TransColor;
        }
        x = 0;
        y = 0;
    }
    RgbQuad c;
    if (Header.ClrUsed) {
        c = GetPaletteColor(GetPixelIndex(x, y));
    } else {
        const uint8_t* p = Info.Bits + size_t(y) * Info.EffWidth + size_t(x) * 3;
        c = RgbQuad{p[0], p[1], p[2], Info.TransColor.reserved};
    }
    if (withAlpha && Alpha) c.reserved = AlphaGet(x, y);
    return c;
}

void Image::SetPixelColor(int32_t x, int32_t y, RgbQuad colour, bool setAlpha) {
    if (!IsInside(x, y)) return;
    if (Header.ClrUsed) {
        SetPixelIndex(x, y, GetNearestIndex(colour));
        return;
    }
    uint8_t* p = Info.Bits + size_t(y) * Info.EffWidth + size_t(x) * 3;
    p[0] = colour.blue;
    p[1] = colour.green;
    p[2] = colour.red;
    if (setAlpha) AlphaSet(x, y, colour.reserved);
}

void Image::SetPixelColor(int32_t x, int32_t y, uint32_t rgb) {
    SetPixelColor(x, y,
                  RgbQuad{static_cast<uint8_t>(rgb >> 16), static_cast<uint8_t>(rgb >> 8),
                          static_cast<uint8_t>(rgb), 0},
                  false);
}

uint8_t Image::GetNearestIndex(RgbQuad c) {
    const RgbQuad* palette = GetPalette();
    if (!palette) return 0;
    if (Info.NearestValid && Info.NearestColor.red == c.red && Info.NearestColor.green == c.green &&
        Info.NearestColor.blue == c.blue)
        return Info.NearestIndex;
    uint32_t n = Header.ClrImportant ? Header.ClrImportant : Header.ClrUsed;
    if (n > Header.ClrUsed) n = Header.ClrUsed;  // never scan past the palette
    int32_t best = 200000;
    uint8_t bestIndex = 0;
    for (uint32_t i = 0; i < n; ++i) {
        const int32_t dr = palette[i].red - c.red;
        const int32_t dg = palette[i].green - c.green;
        const int32_t db = palette[i].blue - c.blue;
        const int32_t d = dr * dr + dg * dg + db * db;
        if (d < best) {
            best = d;
            bestIndex = static_cast<uint8_t>(i);
            if (d == 0) break;
        }
    }
    Info.NearestColor = c;
    Info.NearestIndex = bestIndex;
    Info.NearestValid = true;
    return bestIndex;
}

RgbQuad Image::GetTransColor() const {
    if (Header.BitCount < 24 && Info.TransIndex != -1)
        return GetPaletteColor(static_cast<uint8_t>(Info.TransIndex));
    return Info.TransColor;
}

void Image::SetTransColor(RgbQuad colour) {
    colour.reserved = 0;
    Info.TransColor = colour;
}

bool Image::IsGrayScale() const {
    const RgbQuad* palette = GetPalette();
    if (!palette) return false;
    for (uint32_t i = 0; i < Header.ClrUsed; ++i) {
        if (palette[i].blue != i || palette[i].green != i || palette[i].red != i) return false;
    }
    return true;
}

int32_t Image::CompareColors(RgbQuad a, RgbQuad b) {
    const auto luminance = [](RgbQuad c) {
        return (117 * c.blue + 601 * c.green + 306 * c.red) >> 10;
    };
    return luminance(a) - luminance(b);
}

void Image::RGBtoBGR(uint8_t* row, uint32_t length) const {
    if (!row || Header.ClrUsed) return;
    const uint32_t n = length < Info.EffWidth ? length : Info.EffWidth;
    for (uint32_t i = 0; i + 2 < n; i += 3) {
        const uint8_t t = row[i];
        row[i] = row[i + 2];
        row[i + 2] = t;
    }
}

void Image::AlphaCreate() {
    if (Alpha || !Dib) return;
    const size_t n = size_t(GetWidth()) * GetHeight();
    Alpha = static_cast<uint8_t*>(std::malloc(n));
    if (Alpha) std::memset(Alpha, 255, n);
}

void Image::AlphaDelete() {
    std::free(Alpha);
    Alpha = nullptr;
}

void Image::AlphaSet(int32_t x, int32_t y, uint8_t value) {
    if (Alpha && IsInside(x, y)) Alpha[size_t(x) + size_t(y) * GetWidth()] = value;
}

uint8_t Image::AlphaGet(int32_t x, int32_t y) const {
    if (Alpha && IsInside(x, y)) return Alpha[size_t(x) + size_t(y) * GetWidth()];
    return 0;
}

void Image::AlphaFlip() {
    if (!Alpha) return;
    const size_t w = GetWidth();
    for (size_t top = 0, bottom = GetHeight() - 1; top < bottom; ++top, --bottom) {
        uint8_t* a = Alpha + top * w;
        uint8_t* b = Alpha + bottom * w;
        for (size_t x = 0; x < w; ++x) {
            const uint8_t t = a[x];
            a[x] = b[x];
            b[x] = t;
        }
    }
}

void Image::AlphaMirror() {
    if (!Alpha) return;
    const size_t w = GetWidth();
    for (size_t y = 0; y < GetHeight(); ++y) {
        uint8_t* row = Alpha + y * w;
        for (size_t l = 0, r = w - 1; l < r; ++l, --r) {
            const uint8_t t = row[l];
            row[l] = row[r];
            row[r] = t;
        }
    }
}

bool Image::AlphaPaletteIsValid() const {
    const RgbQuad* palette = GetPalette();
    if (!palette) return false;
    for (uint32_t i = 0; i < Header.ClrUsed; ++i) {
        if (palette[i].reserved) return true;
    }
    return false;
}

}  // namespace ruvelto::image
