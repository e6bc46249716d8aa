#include "image/bmp_codec.h"

#include <bit>
#include <cmath>
#include <cstring>
#include <memory>

#include "image/bitmap_header.h"
#include "image/rle_decoder.h"
#include "image/stream.h"

namespace ruvelto::image {

namespace {

constexpr char kNotBmp[] = "Not a BMP";
constexpr char kBadInfo[] = "Error reading BMP info";
constexpr char kDimensionsOnly[] = "output dimensions returned";
constexpr char kNoMemory[] = "Can't allocate memory";
constexpr char kCancelled[] = "Cancelled";
constexpr char kUnsupportedCompression[] = "compression type not supported";
constexpr char kUnknownCompression[] = "unknown compression";
constexpr char kNoTempMemory[] = "can't allocate memory";
// Pixel data that ends before the picture does: the rest would be undefined memory.
constexpr char kTruncated[] = "Error reading BMP data";

constexpr uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitfields = 3;

struct BmpInfo {
    BitmapInfoHeader header;
    bool os2 = false;
    bool headerMasks = false;  // the header itself carries the three colour masks
    uint32_t masks[3] = {};    // red, green, blue
};

// Reads one of the accepted information header variants, leaving the stream after it.
bool ReadInfoHeader(Stream& s, BmpInfo& info) {
    uint8_t b[124] = {};
    if (s.Read(b, 4, 1) != 1) return false;
    const uint32_t size = LoadLE32(b);
    if (size == 12) {
        if (s.Read(b + 4, 8, 1) != 1) return false;
        info.os2 = true;
        info.header.Size = 12;
        info.header.Width = LoadLE16(b + 4);
        info.header.Height = LoadLE16(b + 6);
        info.header.Planes = LoadLE16(b + 8);
        info.header.BitCount = LoadLE16(b + 10);
        return true;
    }
    if (size < 40) return false;
    if (s.Read(b + 4, 36, 1) != 1) return false;
    info.header = ParseInfoHeader(b);
    const BitmapInfoHeader& h = info.header;
    if (size == 40) return true;
    if (size == 64) return s.Seek(24, kSeekCur);
    // The Windows header versions 2 to 5 carry the colour masks in bytes 40-51.
    if (size == 52 || size == 56 || size == 108 || size == 124) {
        if (s.Read(b + 40, size - 40, 1) != 1) return false;
        info.headerMasks = true;
        info.masks[0] = LoadLE32(b + 40);
        info.masks[1] = LoadLE32(b + 44);
        info.masks[2] = LoadLE32(b + 48);
        return true;
    }
    // Any other size: only a plain uncompressed picture whose size field is consistent.
    const uint64_t rowBytes = (uint64_t{h.BitCount} * static_cast<uint32_t>(h.Width) + 31) / 32 * 4;
    if (uint64_t{h.SizeImage} != rowBytes * static_cast<uint32_t>(h.Height) || h.Planes != 1 ||
        h.Compression != 0 || h.ClrUsed != 0)
        return false;
    return s.Seek(int64_t{size} - 40, kSeekCur);
}

// One colour channel of a 16- or 32-bit pixel, taken from its mask and scaled to 8 bits by
// shifting (the top bits of the channel become the top bits of the byte).
struct Channel {
    uint32_t mask = 0;
    int shift = 0;
    int bits = 0;
    uint8_t From(uint32_t pixel) const {
        uint32_t v = (pixel & mask) >> shift;
        v = bits > 8 ? v >> (bits - 8) : v << (8 - bits);
        return static_cast<uint8_t>(v);
    }
};

// Masks must be non-empty, contiguous and disjoint; anything else has no sound meaning.
bool MakeChannels(const uint32_t masks[3], Channel out[3]) {
    for (int i = 0; i < 3; ++i) {
        const uint32_t m = masks[i];
        if (m == 0) return false;
        const int shift = std::countr_zero(m);
        const uint32_t run = m >> shift;
        if ((run & (run + 1)) != 0) return false;
        out[i] = Channel{m, shift, std::popcount(m)};
    }
    return (masks[0] & masks[1]) == 0 && (masks[0] & masks[2]) == 0 && (masks[1] & masks[2]) == 0;
}

void FlipRowsInPlace(uint8_t* bits, uint32_t effWidth, uint32_t height) {
    std::unique_ptr<uint8_t[]> tmp(new uint8_t[effWidth]);
    for (uint32_t top = 0, bottom = height - 1; top < bottom; ++top, --bottom) {
        uint8_t* a = bits + size_t(top) * effWidth;
        uint8_t* b = bits + size_t(bottom) * effWidth;
        std::memcpy(tmp.get(), a, effWidth);
        std::memcpy(a, b, effWidth);
        std::memcpy(b, tmp.get(), effWidth);
    }
}

}  // namespace

bool BmpCodec::Fail(const char* text) {
    SetLastError(text);
    return false;
}

bool BmpCodec::Decode(Stream& s) {
    const int64_t start = s.Tell();
    uint8_t fileHeader[14];
    if (s.Read(fileHeader, 1, 14) != 14) return Fail(kNotBmp);
    uint32_t pixelOffset = 0;
    if (fileHeader[0] == 'B' && fileHeader[1] == 'M') {
        pixelOffset = LoadLE32(fileHeader + 10);
    } else {
        // No file header: the data starts with the information header itself.
        s.Seek(start, kSeekSet);
    }

    BmpInfo info;
    if (!ReadInfoHeader(s, info)) return Fail(kBadInfo);
    BitmapInfoHeader& h = info.header;
    const uint32_t bits = h.BitCount;
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return Fail(kBadInfo);
    if (h.Planes != 1) return Fail(kBadInfo);
    if (h.ClrUsed == 0 && bits <= 8) h.ClrUsed = 1u << bits;

    const bool topDown = h.Height < 0;
    const uint32_t width = static_cast<uint32_t>(h.Width);
    const uint32_t height = topDown ? 0u - static_cast<uint32_t>(h.Height) : static_cast<uint32_t>(h.Height);

    // Which compressions each depth can carry.
    const uint32_t c = h.Compression;
    if (bits <= 8) {
        const bool ok = c == kRgb || (c == kRle8 && bits == 8) || (c == kRle4 && bits == 4);
        if (!ok) return Fail(kUnsupportedCompression);
        if (c != kRgb && topDown) return Fail(kUnsupportedCompression);
    } else if (bits == 24) {
        if (c != kRgb) return Fail(kUnknownCompression);
    } else if (c != kRgb && c != kBitfields) {
        return Fail(kUnknownCompression);
    }

    if (Info.Escape == -1) {
        Header.Width = static_cast<int32_t>(width);
        Header.Height = static_cast<int32_t>(height);
        SetLastError(kDimensionsOnly);
        return true;
    }

    // Colour masks: in the header (versions 2-5) or right after a 40-byte header.
    uint32_t masks[3] = {0x7C00, 0x03E0, 0x001F};
    if (bits == 32) {
        masks[0] = 0xFF0000;
        masks[1] = 0x00FF00;
        masks[2] = 0x0000FF;
    }
    if (c == kBitfields) {
        if (info.headerMasks) {
            std::memcpy(masks, info.masks, sizeof masks);
        } else {
            uint8_t m[12];
            if (s.Read(m, 12, 1) != 1) return Fail(kBadInfo);
            masks[0] = LoadLE32(m);
            masks[1] = LoadLE32(m + 4);
            masks[2] = LoadLE32(m + 8);
        }
    }
    Channel channels[3];
    if (bits >= 16 && !MakeChannels(masks, channels)) return Fail(kBadInfo);

    // The palette lies between the headers and the pixel data; with a pixel offset, entries
    // beyond it are not palette.
    const uint32_t entrySize = info.os2 ? 3 : 4;
    uint32_t entries = bits <= 8 ? h.ClrUsed : 0;
    if (entries > (bits <= 8 ? 1u << bits : 0)) return Fail(kBadInfo);
    const int64_t paletteStart = s.Tell();
    if (entries && pixelOffset) {
        const int64_t room = start + int64_t{pixelOffset} - paletteStart;
        const int64_t fit = room > 0 ? room / entrySize : 0;
        if (fit < entries) entries = static_cast<uint32_t>(fit);
        if (entries == 0) return Fail(kBadInfo);
    }

    // Before allocating: a picture over the memory bound fails as a failed Create would, whatever
    // the file holds; then make sure uncompressed pixel data is really there.
    if (!FitsPixelMemoryBound(width, height, bits)) return Fail(kNoMemory);
    const uint64_t rowBytes = (uint64_t{width} * bits + 31) / 32 * 4;
    const int64_t pixelStart = pixelOffset ? start + int64_t{pixelOffset} : paletteStart + int64_t{entries} * entrySize;
    const int64_t size = s.Size();
    const int64_t available = size > pixelStart ? size - pixelStart : 0;
    const bool compressed = bits <= 8 && c != kRgb;
    if (!compressed && rowBytes && height > static_cast<uint64_t>(available) / rowBytes) return Fail(kTruncated);
    if (compressed && available == 0) return Fail(kTruncated);

    if (!Create(width, height, bits, IMAGE_FORMAT_BMP)) return Fail(kNoMemory);
    Header.XPelsPerMeter = h.XPelsPerMeter;
    Header.YPelsPerMeter = h.YPelsPerMeter;
    Info.XDPI = static_cast<int32_t>(std::floor(h.XPelsPerMeter * 0.0254 + 0.5));
    Info.YDPI = static_cast<int32_t>(std::floor(h.YPelsPerMeter * 0.0254 + 0.5));
    if (Info.Escape) return Fail(kCancelled);

    if (entries) {
        RgbQuad* palette = GetPalette();
        uint8_t raw[256 * 4];
        if (s.Read(raw, entrySize, entries) != entries) return Fail(kBadInfo);
        for (uint32_t i = 0; i < entries; ++i) {
            palette[i] = RgbQuad{raw[i * entrySize], raw[i * entrySize + 1], raw[i * entrySize + 2], 0};
        }
    }
    if (Info.Escape) return Fail(kCancelled);

    if (pixelOffset && !s.Seek(start + int64_t{pixelOffset}, kSeekSet)) return Fail(kTruncated);
    uint8_t* pixels = Info.Bits;
    const uint32_t effWidth = Info.EffWidth;

    if (bits <= 8) {
        if (c == kRgb) {
            if (s.Read(pixels, Header.SizeImage, 1) != 1) return Fail(kTruncated);
        } else {
            // Pixels the RLE data never reaches stay at index 0.
            std::memset(pixels, 0, Header.SizeImage);
            const RleResult r = c == kRle8 ? DecodeRle8(s, pixels, effWidth, height)
                                           : DecodeRle4(s, pixels, effWidth, height);
            if (r != RleResult::Done) return Fail(kTruncated);
        }
    } else if (bits == 16) {
        // Read the 16-bit rows into the front of the 24-bit buffer and widen them in place from
        // the end, where no unread source byte can be overwritten.
        const size_t sourceRow = size_t((uint64_t{width} + 1) / 2 * 4);
        if (s.Read(pixels, sourceRow, height) != height) return Fail(kTruncated);
        for (uint32_t y = height; y-- > 0;) {
            const uint8_t* src = pixels + size_t(y) * sourceRow;
            uint8_t* dst = pixels + size_t(y) * effWidth;
            for (uint32_t x = width; x-- > 0;) {
                const uint32_t p = LoadLE16(src + 2 * size_t(x));
                dst[3 * size_t(x)] = channels[2].From(p);
                dst[3 * size_t(x) + 1] = channels[1].From(p);
                dst[3 * size_t(x) + 2] = channels[0].From(p);
            }
        }
    } else if (bits == 24) {
        if (s.Read(pixels, Header.SizeImage, 1) != 1) return Fail(kTruncated);
    } else {
        // 32 bits: the fourth byte (or whatever the masks leave out) is dropped.
        const size_t sourceRow = size_t(width) * 4;
        std::unique_ptr<uint8_t[]> row(new (std::nothrow) uint8_t[sourceRow]);
        if (!row) return Fail(kNoTempMemory);
        for (uint32_t y = 0; y < height; ++y) {
            if (s.Read(row.get(), sourceRow, 1) != 1) return Fail(kTruncated);
            uint8_t* dst = pixels + size_t(y) * effWidth;
            for (uint32_t x = 0; x < width; ++x) {
                const uint32_t p = LoadLE32(row.get() + 4 * size_t(x));
                dst[3 * size_t(x)] = channels[2].From(p);
                dst[3 * size_t(x) + 1] = channels[1].From(p);
                dst[3 * size_t(x) + 2] = channels[0].From(p);
            }
        }
    }

    if (topDown) FlipRowsInPlace(pixels, effWidth, height);
    return true;
}

bool BmpCodec::Encode(Stream& s) {
    if (!EncodeSafeCheck(&s)) return false;
    uint8_t fileHeader[14] = {'B', 'M'};
    StoreLE32(fileHeader + 2, GetSize() + 14);
    StoreLE32(fileHeader + 10, 14 + kInfoHeaderSize + GetPaletteSize());
    StoreInfoHeader(Dib, Header);
    s.Write(fileHeader, 14, 1);
    s.Write(Dib, GetSize(), 1);
    return true;
}

}  // namespace ruvelto::image
