// Whole-picture operations. The geometric ones build the result in a second picture that carries
// this object's settings and swap it in with Transfer, so they need twice the memory for a moment.
#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "image/image.h"

namespace ruvelto::image {

void Image::Clear(uint8_t value) {
    if (!Dib) return;
    uint8_t fill = value;
    if (Header.BitCount == 1) fill = value ? 255 : 0;
    if (Header.BitCount == 4) fill = static_cast<uint8_t>((value & 15) * 17);
    std::memset(Info.Bits, fill, Header.SizeImage);
}

bool Image::Copy(const Image& source, bool pixels, bool selection, bool alpha) {
    if (&source == this || !Destroy()) return false;
    Info = source.Info;
    Info.Bits = nullptr;
    Info.GhostOf = nullptr;
    if (!source.Dib) return false;
    Header.XPelsPerMeter = source.Header.XPelsPerMeter;
    Header.YPelsPerMeter = source.Header.YPelsPerMeter;
    if (!Create(source.GetWidth(), source.GetHeight(), source.Header.BitCount, source.Info.Type))
        return false;
    Header.ClrImportant = source.Header.ClrImportant;
    Metadata = source.Metadata;
    if (pixels) {
        std::memcpy(Dib, source.Dib, GetSize());
    } else if (GetPaletteSize()) {
        std::memcpy(GetPalette(), source.GetPalette(), std::min<uint32_t>(GetPaletteSize(), 256 * 4));
    }
    const size_t planeBytes = size_t(GetWidth()) * GetHeight();
    if (selection && source.Selection) {
        Selection = static_cast<uint8_t*>(std::malloc(planeBytes));
        if (Selection) std::memcpy(Selection, source.Selection, planeBytes);
    }
    if (alpha && source.Alpha) {
        Alpha = static_cast<uint8_t*>(std::malloc(planeBytes));
        if (Alpha) std::memcpy(Alpha, source.Alpha, planeBytes);
    }
    return true;
}

bool Image::MakeWorkingCopy(Image& copy, uint32_t width, uint32_t height) const {
    copy.Info = Info;
    copy.Info.Bits = nullptr;
    copy.Info.GhostOf = nullptr;
    copy.Header.XPelsPerMeter = Header.XPelsPerMeter;
    copy.Header.YPelsPerMeter = Header.YPelsPerMeter;
    if (!copy.Create(width, height, Header.BitCount, Info.Type)) return false;
    copy.Metadata = Metadata;
    copy.Header.ClrImportant = Header.ClrImportant;
    if (GetPaletteSize()) std::memcpy(copy.GetPalette(), GetPalette(), GetPaletteSize());
    if (Alpha) {
        copy.AlphaCreate();
        if (!copy.Alpha) return false;
    }
    return true;
}

bool Image::AlphaStrip() {
    if (!Dib || !Alpha || Header.BitCount != 24) return false;
    const uint32_t w = GetWidth(), h = GetHeight();
    for (uint32_t y = 0; y < h; ++y) {
        uint8_t* p = GetBits(y);
        const uint8_t* a = Alpha + size_t(y) * w;
        for (uint32_t x = 0; x < w; ++x, p += 3) {
            const uint32_t alpha = a[x], white = 255 * (255 - alpha);
            for (int c = 0; c < 3; ++c) p[c] = static_cast<uint8_t>((p[c] * alpha + white + 127) / 255);
        }
    }
    AlphaDelete();
    return true;
}

bool Image::Flip() {
    if (!Dib) return false;
    Image flipped;
    if (!MakeWorkingCopy(flipped, GetWidth(), GetHeight())) return false;
    const uint32_t h = GetHeight();
    for (uint32_t y = 0; y < h; ++y) {
        std::memcpy(flipped.Info.Bits + size_t(h - 1 - y) * Info.EffWidth,
                    Info.Bits + size_t(y) * Info.EffWidth, Info.EffWidth);
    }
    if (Alpha) {
        std::memcpy(flipped.Alpha, Alpha, size_t(GetWidth()) * h);
        flipped.AlphaFlip();
    }
    return Transfer(flipped);
}

bool Image::Mirror() {
    if (!Dib) return false;
    Image mirrored;
    if (!MakeWorkingCopy(mirrored, GetWidth(), GetHeight())) return false;
    const int32_t w = Header.Width;
    const int32_t h = Header.Height;
    for (int32_t y = 0; y < h; ++y) {
        const uint8_t* src = Info.Bits + size_t(y) * Info.EffWidth;
        uint8_t* dst = mirrored.Info.Bits + size_t(y) * Info.EffWidth;
        if (Header.BitCount == 24) {
            for (int32_t x = 0; x < w; ++x) std::memcpy(dst + 3 * size_t(w - 1 - x), src + 3 * size_t(x), 3);
        } else if (Header.BitCount == 8) {
            for (int32_t x = 0; x < w; ++x) dst[w - 1 - x] = src[x];
        } else {
            for (int32_t x = 0; x < w; ++x) mirrored.SetPixelIndex(w - 1 - x, y, GetPixelIndex(x, y));
        }
    }
    if (Alpha) {
        std::memcpy(mirrored.Alpha, Alpha, size_t(w) * h);
        mirrored.AlphaMirror();
    }
    return Transfer(mirrored);
}

namespace {

// Quarter turns. The destination pixel (x, y) takes the source pixel at source(x, y).
enum class Turn { Left, Right };

}  // namespace

static bool RotateQuarter(Image& self, Turn turn) {
    if (!self.Dib) return false;
    const int32_t w = self.Header.Width;   // source size
    const int32_t h = self.Header.Height;
    Image turned;
    // The new picture has swapped width and height.
    turned.Info = self.Info;
    turned.Info.Bits = nullptr;
    turned.Info.GhostOf = nullptr;
    turned.Header.XPelsPerMeter = self.Header.YPelsPerMeter;
    turned.Header.YPelsPerMeter = self.Header.XPelsPerMeter;
    if (!turned.Create(uint32_t(h), uint32_t(w), self.Header.BitCount, self.Info.Type)) return false;
    if (self.GetPaletteSize()) std::memcpy(turned.GetPalette(), self.GetPalette(), self.GetPaletteSize());
    if (self.Alpha) {
        turned.AlphaCreate();
        if (!turned.Alpha) return false;
    }
    const auto sourceOf = [&](int32_t x, int32_t y, int32_t* sx, int32_t* sy) {
        if (turn == Turn::Left) {
            *sx = y;
            *sy = h - 1 - x;
        } else {
            *sx = w - 1 - y;
            *sy = x;
        }
    };
    const int32_t nw = h;  // new width
    const int32_t nh = w;  // new height
    if (self.Header.BitCount == 1) {
        for (int32_t y = 0; y < nh; ++y) {
            for (int32_t x = 0; x < nw; ++x) {
                int32_t sx, sy;
                sourceOf(x, y, &sx, &sy);
                turned.SetPixelIndex(x, y, self.GetPixelIndex(sx, sy));
            }
        }
    } else {
        constexpr int32_t kBlock = 64;
        for (int32_t by = 0; by < nh; by += kBlock) {
            self.Info.Progress = static_cast<int32_t>(int64_t{by} * 100 / nh);
            for (int32_t bx = 0; bx < nw; bx += kBlock) {
                const int32_t yEnd = std::min(by + kBlock, nh);
                const int32_t xEnd = std::min(bx + kBlock, nw);
                for (int32_t y = by; y < yEnd; ++y) {
                    uint8_t* dstRow = turned.Info.Bits + size_t(y) * turned.Info.EffWidth;
                    for (int32_t x = bx; x < xEnd; ++x) {
                        int32_t sx, sy;
                        sourceOf(x, y, &sx, &sy);
                        const uint8_t* srcRow = self.Info.Bits + size_t(sy) * self.Info.EffWidth;
                        if (self.Header.BitCount == 24) {
                            std::memcpy(dstRow + 3 * size_t(x), srcRow + 3 * size_t(sx), 3);
                        } else if (self.Header.BitCount == 8) {
                            dstRow[x] = srcRow[sx];
                        } else {
                            turned.SetPixelIndex(x, y, self.GetPixelIndex(sx, sy));
                        }
                    }
                }
            }
        }
        self.Info.Progress = 100;
    }
    if (self.Alpha) {
        for (int32_t y = 0; y < nh; ++y) {
            for (int32_t x = 0; x < nw; ++x) {
                int32_t sx, sy;
                sourceOf(x, y, &sx, &sy);
                turned.Alpha[size_t(x) + size_t(y) * nw] = self.Alpha[size_t(sx) + size_t(sy) * w];
            }
        }
    }
    turned.Info.Progress = self.Info.Progress;
    turned.Info.XDPI = self.Info.YDPI;
    turned.Info.YDPI = self.Info.XDPI;
    return self.Transfer(turned);
}

bool Image::RotateLeft() { return RotateQuarter(*this, Turn::Left); }
bool Image::RotateRight() { return RotateQuarter(*this, Turn::Right); }

bool Image::Negative() {
    if (!Dib) return false;
    const uint32_t w = GetWidth();
    const uint32_t h = GetHeight();
    if (Header.BitCount > 8) {
        for (uint32_t y = 0; y < h; ++y) {
            uint8_t* row = Info.Bits + size_t(y) * Info.EffWidth;
            for (uint32_t x = 0; x < w; ++x) {
                if (Selection && !Selection[x + size_t(y) * w]) continue;
                row[3 * x] = static_cast<uint8_t>(~row[3 * x]);
                row[3 * x + 1] = static_cast<uint8_t>(~row[3 * x + 1]);
                row[3 * x + 2] = static_cast<uint8_t>(~row[3 * x + 2]);
            }
        }
        Info.TransColor.blue = static_cast<uint8_t>(~Info.TransColor.blue);
        Info.TransColor.green = static_cast<uint8_t>(~Info.TransColor.green);
        Info.TransColor.red = static_cast<uint8_t>(~Info.TransColor.red);
    } else if (!IsGrayScale()) {
        RgbQuad* palette = GetPalette();
        for (uint32_t i = 0; i < Header.ClrUsed; ++i) {
            palette[i].blue = static_cast<uint8_t>(~palette[i].blue);
            palette[i].green = static_cast<uint8_t>(~palette[i].green);
            palette[i].red = static_cast<uint8_t>(~palette[i].red);
        }
        InvalidateNearestCache();
    } else {
        const uint8_t top = static_cast<uint8_t>(Header.ClrUsed - 1);
        for (uint32_t y = 0; y < h; ++y) {
            for (uint32_t x = 0; x < w; ++x) {
                if (Selection && !Selection[x + size_t(y) * w]) continue;
                SetPixelIndex(int32_t(x), int32_t(y), static_cast<uint8_t>(top - GetPixelIndex(int32_t(x), int32_t(y))));
            }
        }
    }
    return true;
}

void Image::SwapIndex(uint8_t i, uint8_t j) {
    RgbQuad* palette = GetPalette();
    if (!palette || i >= Header.ClrUsed || j >= Header.ClrUsed) return;
    std::swap(palette[i], palette[j]);
    InvalidateNearestCache();
    const int32_t w = Header.Width;
    const int32_t h = Header.Height;
    for (int32_t y = 0; y < h; ++y) {
        for (int32_t x = 0; x < w; ++x) {
            const uint8_t v = GetPixelIndex(x, y);
            if (v == i) SetPixelIndex(x, y, j);
            else if (v == j) SetPixelIndex(x, y, i);
        }
    }
}

}  // namespace ruvelto::image
