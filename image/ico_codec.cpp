#include "image/ico_codec.h"

#include <cstring>
#include <memory>
#include <new>
#include <vector>

#include "image/bitmap_header.h"
#include "image/png_codec.h"
#include "image/stream.h"

namespace ruvelto::image {

namespace {

constexpr size_t kEntrySize = 16;
constexpr uint32_t kVersion5HeaderSize = 124;

uint32_t MaskRowBytes(uint32_t width) { return (width + 31) / 32 * 4; }

bool MaskBit(const uint8_t* mask, uint32_t maskRow, uint32_t x, uint32_t y) {
    return (mask[size_t(y) * maskRow + x / 8] >> (7 - x % 8)) & 1;
}

}  // namespace

// The ICO decoder fails silently: a failed attempt leaves LastError as the caller had it.
bool IcoCodec::Decode(Stream& s) {
    const int64_t start = s.Tell();
    uint8_t dir[6];
    if (s.Read(dir, 6, 1) != 1) return false;
    const uint16_t type = LoadLE16(dir + 2);
    if (LoadLE16(dir) != 0 || (type != 1 && type != 2)) return false;
    const uint32_t count = LoadLE16(dir + 4);
    Info.NumFrames = static_cast<int32_t>(count);

    std::vector<uint8_t> entries(count * kEntrySize);
    if (count == 0 || s.Read(entries.data(), kEntrySize, count) != count) return false;
    if (Info.Frame < 0 || uint32_t(Info.Frame) >= count) return false;
    const uint8_t* entry = entries.data() + size_t(Info.Frame) * kEntrySize;
    // The icon format stores 256 as a size byte of 0.
    const uint32_t width = entry[0] ? entry[0] : 256;
    const uint32_t height = entry[1] ? entry[1] : 256;

    const int64_t imageStart = start + int64_t{LoadLE32(entry + 12)};
    if (!s.Seek(imageStart, kSeekSet)) return false;
    uint8_t raw[kInfoHeaderSize];
    if (s.Read(raw, kInfoHeaderSize, 1) != 1) return false;
    // Large icons are usually stored as whole PNG files; the PNG's own header gives the size.
    static constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (std::memcmp(raw, kPngSignature, sizeof kPngSignature) == 0) {
        if (!s.Seek(imageStart, kSeekSet)) return false;
        ImagePNG png;
        png.CopyInfo(*this);
        if (!png.Decode(s) || !Transfer(png)) return false;
        Info.Type = IMAGE_FORMAT_ICO;
        return true;
    }
    const BitmapInfoHeader h = ParseInfoHeader(raw);
    // Later bitmap header versions add fields after the first 40 bytes; the palette follows the
    // header's own size.
    if (h.Size < kInfoHeaderSize || h.Compression != 0) return false;
    // A version-5 header may embed a colour profile; one placed where the AND mask would be
    // means the bitmap has no mask.
    uint32_t profileAt = 0;
    if (h.Size >= kVersion5HeaderSize) {
        uint8_t v5[kVersion5HeaderSize - kInfoHeaderSize];
        if (s.Read(v5, sizeof v5, 1) != 1) return false;
        if (LoadLE32(v5 + (116 - kInfoHeaderSize))) profileAt = LoadLE32(v5 + (112 - kInfoHeaderSize));
    }
    if (h.Size > kInfoHeaderSize && !s.Seek(imageStart + int64_t{h.Size}, kSeekSet)) return false;
    // Only uncompressed bitmaps of the icon's own size; mismatched bitmaps would otherwise be
    // read as garbage pixels.
    if (h.BitCount != 1 && h.BitCount != 4 && h.BitCount != 8 && h.BitCount != 24 && h.BitCount != 32)
        return false;
    if (uint32_t(h.Width) != width || uint32_t(h.Height) != 2 * height) return false;

    const uint64_t pixelBytes = h.BitCount == 32 ? uint64_t{width} * height * 4
                                                 : (uint64_t{width} * h.BitCount + 31) / 32 * 4 * height;
    if (pixelBytes > static_cast<uint64_t>(s.Remaining())) return false;

    if (!Create(width, height, h.BitCount, IMAGE_FORMAT_ICO)) return false;
    if (Header.ClrUsed && s.Read(GetPalette(), 4, Header.ClrUsed) != Header.ClrUsed) return false;
    InvalidateNearestCache();

    if (h.BitCount == 32) {
        AlphaCreate();
        std::unique_ptr<uint8_t[]> row(new (std::nothrow) uint8_t[size_t(width) * 4]);
        if (!Alpha || !row) return false;
        for (uint32_t y = 0; y < height; ++y) {
            if (s.Read(row.get(), size_t(width) * 4, 1) != 1) return false;
            uint8_t* dst = GetBits(y);
            for (uint32_t x = 0; x < width; ++x) {
                std::memcpy(dst + 3 * size_t(x), row.get() + 4 * size_t(x), 3);
                Alpha[x + size_t(y) * width] = row[4 * size_t(x) + 3];
            }
        }
    } else if (s.Read(Info.Bits, Header.SizeImage, 1) != 1) {
        return false;
    }

    // A 32-bit icon whose fourth bytes carry any alpha is drawn by its alpha alone and its AND
    // mask is ignored; with all-zero fourth bytes it is an old-style icon and the mask decides.
    if (Alpha) {
        const size_t n = size_t(width) * height;
        bool anyAlpha = false;
        for (size_t i = 0; i < n && !anyAlpha; ++i) anyAlpha = Alpha[i] != 0;
        if (anyAlpha) return true;
        AlphaDelete();
    }

    const uint32_t maskRow = MaskRowBytes(width);
    std::vector<uint8_t> mask(size_t(maskRow) * height);
    if (profileAt && profileAt < s.Tell() - imageStart + int64_t(mask.size())) return true;
    if (s.Read(mask.data(), mask.size(), 1) == 1) ApplyMask(mask.data(), maskRow);
    return true;
}

void IcoCodec::ApplyMask(const uint8_t* mask, uint32_t maskRow) {
    const uint32_t width = GetWidth();
    const uint32_t height = GetHeight();
    const size_t maskBytes = size_t(maskRow) * height;
    bool allSet = true;
    for (size_t i = 0; i < maskBytes; ++i) allSet = allSet && mask[i] == 0xFF;
    if (allSet) {
        Info.TransIndex = 0;
        Negative();
        return;
    }

    const bool createdHere = !Alpha;
    AlphaCreate();
    if (!Alpha) return;
    bool anySet = false;
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            if (MaskBit(mask, maskRow, x, y)) {
                Alpha[x + size_t(y) * width] = 0;
                anySet = true;
            }
        }
    }
    if (!anySet) {
        if (createdHere) AlphaDelete();
        return;
    }

    if (Header.BitCount == 24) {
        // One colour under the whole mask becomes the transparent colour.
        bool first = true;
        bool oneColour = true;
        RgbQuad colour;
        for (uint32_t y = 0; y < height && oneColour; ++y) {
            for (uint32_t x = 0; x < width; ++x) {
                if (!MaskBit(mask, maskRow, x, y)) continue;
                const RgbQuad c = GetPixelColor(int32_t(x), int32_t(y), false);
                if (first) {
                    colour = c;
                    first = false;
                } else if (c.red != colour.red || c.green != colour.green || c.blue != colour.blue) {
                    oneColour = false;
                    break;
                }
            }
        }
        if (oneColour) {
            SetTransColor(colour);
            Info.TransIndex = 0;
            AlphaDelete();
        }
        return;
    }

    // Palette pictures: masked pixels take the lowest palette index no pixel uses.
    bool used[256] = {};
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) used[GetPixelIndex(int32_t(x), int32_t(y))] = true;
    }
    uint32_t free = 0;
    while (free < Header.ClrUsed && used[free]) ++free;
    if (free == Header.ClrUsed) return;
    bool anyPixel = false;
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            if (MaskBit(mask, maskRow, x, y)) {
                SetPixelIndex(int32_t(x), int32_t(y), static_cast<uint8_t>(free));
                anyPixel = true;
            }
        }
    }
    if (anyPixel) Info.TransIndex = static_cast<int32_t>(free);
    AlphaDelete();
}

bool IcoCodec::Encode(Stream& s) {
    if (!EncodeSafeCheck(&s)) return false;
    const uint32_t width = GetWidth();
    const uint32_t height = GetHeight();
    if (width > 255 || height > 255) {
        SetLastError(kErrIconTooLarge);
        return false;
    }
    if (Header.BitCount <= 8 && !GetPalette()) return false;

    const uint32_t maskRow = MaskRowBytes(width);
    const uint32_t maskBytes = maskRow * height;
    const bool withAlpha = Header.BitCount == 24 && Alpha;
    const uint32_t bits = withAlpha ? 32 : Header.BitCount;
    const uint32_t pixelBytes = withAlpha ? width * height * 4 : Header.SizeImage;

    uint8_t head[6 + kEntrySize + kInfoHeaderSize] = {};
    StoreLE16(head + 2, 1);
    StoreLE16(head + 4, 1);
    uint8_t* entry = head + 6;
    entry[0] = static_cast<uint8_t>(width);
    entry[1] = static_cast<uint8_t>(height);
    entry[2] = static_cast<uint8_t>(Header.ClrUsed);
    StoreLE16(entry + 6, bits);
    StoreLE32(entry + 8, pixelBytes + GetPaletteSize() + maskBytes + kInfoHeaderSize);
    StoreLE32(entry + 12, 6 + kEntrySize);
    BitmapInfoHeader ih;
    ih.Size = kInfoHeaderSize;
    ih.Width = static_cast<int32_t>(width);
    ih.Height = static_cast<int32_t>(2 * height);
    ih.Planes = 1;
    ih.BitCount = static_cast<uint16_t>(bits);
    ih.SizeImage = pixelBytes;
    StoreInfoHeader(head + 6 + kEntrySize, ih);
    s.Write(head, sizeof head, 1);
    if (GetPaletteSize()) s.Write(GetPalette(), GetPaletteSize(), 1);

    if (withAlpha) {
        std::vector<uint8_t> row(size_t(width) * 4);
        for (uint32_t y = 0; y < height; ++y) {
            const uint8_t* src = GetBits(y);
            for (uint32_t x = 0; x < width; ++x) {
                std::memcpy(&row[4 * size_t(x)], src + 3 * size_t(x), 3);
                row[4 * size_t(x) + 3] = Alpha[x + size_t(y) * width];
            }
            s.Write(row.data(), row.size(), 1);
        }
    } else {
        s.Write(Info.Bits, Header.SizeImage, 1);
    }

    const bool paletteAlpha = AlphaPaletteIsValid();
    const RgbQuad trans = GetTransColor();
    std::vector<uint8_t> mask(maskBytes, 0);
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            const int32_t px = int32_t(x), py = int32_t(y);
            bool transparent = Alpha && Alpha[x + size_t(y) * width] == 0;
            if (!transparent && paletteAlpha && GetPaletteColor(GetPixelIndex(px, py)).reserved == 0)
                transparent = true;
            if (!transparent && Info.TransIndex != -1) {
                const RgbQuad c = GetPixelColor(px, py, false);
                transparent = c.red == trans.red && c.green == trans.green && c.blue == trans.blue;
            }
            if (transparent) mask[size_t(y) * maskRow + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
        }
    }
    s.Write(mask.data(), mask.size(), 1);
    return true;
}

}  // namespace ruvelto::image

