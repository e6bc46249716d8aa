#include "image/tga_codec.h"

#include <cstring>
#include <vector>

#include "image/byte_order.h"
#include "image/stream.h"

namespace ruvelto::image {

namespace {

constexpr char kNotTga[] = "Not a TGA";
constexpr char kUnknownType[] = "Unknown TGA image type";
constexpr char kBadHeader[] = "bad TGA header";
constexpr char kCreateFailed[] = "TGA Create failed";
constexpr char kCancelled[] = "Cancelled";
constexpr char kCorrupted[] = "corrupted TGA";

struct TgaHeader {
    uint8_t idLength;
    uint8_t colorMapType;
    uint8_t imageType;
    uint16_t mapFirst;
    uint16_t mapLength;
    uint8_t mapEntryBits;
    uint16_t width;
    uint16_t height;
    uint8_t depth;
    uint8_t descriptor;
};

TgaHeader ParseHeader(const uint8_t* b) {
    return TgaHeader{b[0], b[1], b[2], LoadLE16(b + 3), LoadLE16(b + 5), b[7],
                     LoadLE16(b + 12), LoadLE16(b + 14), b[16], b[17]};
}

// A 15/16-bit pixel: five bits each of red, green and blue; the top bit is not colour.
RgbQuad From555(uint32_t v) {
    return RgbQuad{uint8_t((v << 3) & 0xF8), uint8_t((v >> 2) & 0xF8), uint8_t((v >> 7) & 0xF8), 255};
}

// Reads the stream a byte at a time through a buffer: run-length packets are one to five bytes.
class ByteSource {
public:
    explicit ByteSource(Stream& s) : s_(s) {}
    bool Get(uint8_t* out, size_t n) {
        for (size_t i = 0; i < n; ++i) {
            if (pos_ == len_) {
                len_ = s_.Read(buf_, 1, sizeof buf_);
                pos_ = 0;
                if (len_ == 0) return false;
            }
            out[i] = buf_[pos_++];
        }
        return true;
    }

private:
    Stream& s_;
    uint8_t buf_[4096];
    size_t pos_ = 0;
    size_t len_ = 0;
};

}  // namespace

bool TgaCodec::Fail(const char* text) {
    SetLastError(text);
    return false;
}

bool TgaCodec::Decode(Stream& s) {
    uint8_t raw[18];
    if (s.Read(raw, 1, 18) != 18) return Fail(kNotTga);
    const TgaHeader h = ParseHeader(raw);
    const uint8_t kind = h.imageType & 7;  // 1 colour-mapped, 2 true-colour, 3 grey
    const bool rle = h.imageType >= 9;
    if (!((h.imageType >= 1 && h.imageType <= 3) || (h.imageType >= 9 && h.imageType <= 11))) return Fail(kUnknownType);
    const uint8_t d = h.depth;
    if (h.width == 0 || h.height == 0 || d == 0 || h.mapLength > 256 ||
        (d != 8 && d != 15 && d != 16 && d != 24 && d != 32))
        return Fail(kBadHeader);
    // TGA has no signature, so every other field must be consistent too before anything is
    // allocated: this is what keeps the probe from taking foreign data for a TGA.
    if (h.colorMapType > 1) return Fail(kBadHeader);
    const uint32_t mapEntryBytes = (h.mapEntryBits + 7u) / 8;
    if (h.colorMapType == 1 && h.mapLength &&
        h.mapEntryBits != 15 && h.mapEntryBits != 16 && h.mapEntryBits != 24 && h.mapEntryBits != 32)
        return Fail(kBadHeader);
    if (kind == 1 && (h.colorMapType != 1 || d != 8 || h.mapLength == 0 || uint32_t{h.mapFirst} + h.mapLength > 256))
        return Fail(kBadHeader);
    if (kind == 3 && d != 8 && d != 16) return Fail(kBadHeader);
    if (h.descriptor & 0xC0) return Fail(kBadHeader);  // interleaving was never used

    const uint32_t width = h.width, height = h.height;
    // A picture beyond the image object's bound is refused as Create would refuse it, before the
    // data is measured against it.
    if (!FitsPixelMemoryBound(width, height, d == 8 ? 8 : 24)) return Fail(kErrMemoryBound);
    const uint32_t pixelBytes = (d + 7u) / 8;
    const uint64_t pixels = uint64_t{width} * height;
    const int64_t mapBytes = h.colorMapType == 1 ? int64_t{h.mapLength} * mapEntryBytes : 0;
    const int64_t dataBytes = s.Remaining() - h.idLength - mapBytes;
    // Raw data holds every pixel; run-length data at least one packet of 128 pixels at most.
    const uint64_t least = rle ? (pixels + 127) / 128 * (1 + pixelBytes) : pixels * pixelBytes;
    if (dataBytes <= 0 || uint64_t(dataBytes) < least) return Fail(kCorrupted);

    s.Seek(h.idLength, kSeekCur);
    // Grey pictures of 16 bits are grey with alpha; they become 24-bit like the other deep ones.
    const bool alpha = d == 32 || (kind == 3 && d == 16);
    if (!Create(width, height, d == 8 ? 8 : 24, IMAGE_FORMAT_TGA)) return Fail(kCreateFailed);
    if (alpha) {
        AlphaCreate();
        if (!Alpha) return Fail(kCreateFailed);
    }

    if (h.colorMapType == 1 && h.mapLength) {
        std::vector<uint8_t> map(size_t(h.mapLength) * mapEntryBytes);
        if (s.Read(map.data(), map.size(), 1) != 1) return Fail(kCorrupted);
        if (kind == 1) {
            RgbQuad* palette = GetPalette();
            for (uint32_t i = 0; i < h.mapLength; ++i) {
                const uint8_t* e = map.data() + size_t(i) * mapEntryBytes;
                RgbQuad c = mapEntryBytes == 2 ? From555(LoadLE16(e)) : RgbQuad{e[0], e[1], e[2], 255};
                c.reserved = 0;
                palette[h.mapFirst + i] = c;
            }
        }
    }
    if (kind == 3 && d == 8) SetGrayPalette();

    // The pixels run through the rows in file order; run-length packets may cross row ends.
    ByteSource src(s);
    const bool topDown = h.descriptor & 0x20;
    uint32_t runLeft = 0;
    bool repeat = false;
    uint8_t value[4] = {};
    for (uint32_t i = 0; i < height; ++i) {
        if (Info.Escape) return Fail(kCancelled);
        const uint32_t y = topDown ? height - 1 - i : i;
        uint8_t* row = GetBits(y);
        for (uint32_t x = 0; x < width; ++x) {
            if (rle) {
                if (runLeft == 0) {
                    uint8_t packet;
                    if (!src.Get(&packet, 1)) return Fail(kCorrupted);
                    repeat = packet & 0x80;
                    runLeft = (packet & 0x7F) + 1u;
                    if (repeat && !src.Get(value, pixelBytes)) return Fail(kCorrupted);
                }
                if (!repeat && !src.Get(value, pixelBytes)) return Fail(kCorrupted);
                --runLeft;
            } else if (!src.Get(value, pixelBytes)) {
                return Fail(kCorrupted);
            }
            if (d == 8) {
                row[x] = value[0];
            } else if (kind == 3) {
                row[3 * x] = row[3 * x + 1] = row[3 * x + 2] = value[0];
                Alpha[size_t(y) * width + x] = value[1];
            } else if (d <= 16) {
                const RgbQuad c = From555(LoadLE16(value));
                row[3 * x] = c.blue;
                row[3 * x + 1] = c.green;
                row[3 * x + 2] = c.red;
            } else {
                row[3 * x] = value[0];
                row[3 * x + 1] = value[1];
                row[3 * x + 2] = value[2];
                if (alpha) Alpha[size_t(y) * width + x] = value[3];
            }
        }
    }
    // A run that goes on past the last pixel means the data does not describe this picture.
    if (runLeft) return Fail(kCorrupted);
    if ((h.descriptor & 0x10) && !Mirror()) return Fail(kCreateFailed);
    return true;
}

bool TgaCodec::Encode(Stream& s) {
    if (!EncodeSafeCheck(&s)) return false;
    const uint32_t bits = GetBpp();
    if (bits < 8) return Fail(kErrTgaDepth);
    const bool alpha = bits == 24 && Alpha;
    const uint32_t width = GetWidth(), height = GetHeight();
    // The header's width and height are 16-bit fields.
    if (width > 0xFFFF || height > 0xFFFF) return Fail(kErrTgaSize);
    uint8_t h[18] = {};
    if (bits == 8) {
        h[1] = 1;  // colour map: 256 entries of 24 bits
        h[2] = 1;
        StoreLE16(h + 5, 256);
        h[7] = 24;
    } else {
        h[2] = 2;
    }
    StoreLE16(h + 12, width);
    StoreLE16(h + 14, height);
    h[16] = uint8_t(alpha ? 32 : bits);
    h[17] = alpha ? 8 : 0;  // bottom-up; the alpha bits count tells readers the fourth byte is alpha
    s.Write(h, 18, 1);
    if (bits == 8) {
        uint8_t map[256 * 3] = {};
        const RgbQuad* palette = GetPalette();
        for (uint32_t i = 0; i < Header.ClrUsed && i < 256; ++i) {
            map[3 * i] = palette[i].blue;
            map[3 * i + 1] = palette[i].green;
            map[3 * i + 2] = palette[i].red;
        }
        s.Write(map, sizeof map, 1);
    }
    const size_t rowBytes = size_t(width) * (alpha ? 4 : bits / 8);
    std::vector<uint8_t> row(rowBytes);
    for (uint32_t y = 0; y < height; ++y) {
        const uint8_t* src = GetBits(y);
        if (!alpha) {
            std::memcpy(row.data(), src, rowBytes);
        } else {
            const uint8_t* a = Alpha + size_t(y) * width;
            for (uint32_t x = 0; x < width; ++x) {
                row[4 * x] = src[3 * x];
                row[4 * x + 1] = src[3 * x + 1];
                row[4 * x + 2] = src[3 * x + 2];
                row[4 * x + 3] = uint8_t(a[x] * Info.AlphaMax / 255);
            }
        }
        s.Write(row.data(), rowBytes, 1);
    }
    return true;
}

}  // namespace ruvelto::image
