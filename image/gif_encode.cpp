// GIF encoding: a single-image GIF89a for palette pictures, a mosaic of tiles for deeper ones.
#include <cstring>

#include "image/byte_order.h"
#include "image/gif_codec.h"

namespace ruvelto::image {

namespace {

constexpr uint32_t kMaxGifSide = 65535;

GifCompression CompressionFor(int32_t option) {
    if (option == kGifOptionNoCompression) return GifCompression::kNone;
    if (option == kGifOptionRle) return GifCompression::kRle;
    return GifCompression::kLzw;
}

// First palette index holding each colour, for one tile: the tile's colours are few, so a
// small open-addressed table, emptied by bumping a stamp, answers in a step or two.
class FirstIndexOfColour {
public:
    void Reset() {
        if (++stamp_ == 0) {
            for (Slot& s : slots_) s.stamp = 0;
            stamp_ = 1;
        }
    }
    // The index already recorded for the colour, or records and returns the given one.
    uint8_t FindOrAdd(uint32_t rgb, uint8_t index) {
        uint32_t i = (rgb * 2654435761u) >> (32 - kBits);
        for (;;) {
            Slot& s = slots_[i];
            if (s.stamp != stamp_) {
                s = Slot{rgb, index, stamp_};
                return index;
            }
            if (s.rgb == rgb) return s.index;
            i = (i + 1) & (kSlots - 1);
        }
    }

private:
    static constexpr int kBits = 10;
    static constexpr uint32_t kSlots = 1u << kBits;  // far more than the 256 entries a tile has
    struct Slot {
        uint32_t rgb = 0;
        uint8_t index = 0;
        uint32_t stamp = 0;
    };
    Slot slots_[kSlots];
    uint32_t stamp_ = 0;
};

uint32_t RgbKey(const RgbQuad& c) { return uint32_t(c.red) | uint32_t(c.green) << 8 | uint32_t(c.blue) << 16; }

}  // namespace

void GifCodec::PutBytes(Stream& s, const void* bytes, size_t n) {
    if (n && s.Write(bytes, n, 1) != 1) writeError_ = true;
}

void GifCodec::Putword(Stream& s, uint32_t word) {
    uint8_t b[2];
    StoreLE16(b, word);
    PutBytes(s, b, 2);
}

void GifCodec::EncodeHeader(Stream& s, const Image& picture) {
    PutBytes(s, "GIF89a", 6);
    Putword(s, picture.GetWidth());
    Putword(s, picture.GetHeight());
    const uint32_t bits = picture.GetBpp();
    const bool palette = picture.Header.ClrUsed != 0;
    const uint8_t flags = palette ? static_cast<uint8_t>((((bits + 7) * 32) | (bits - 1) | 0x80) & 0xFF) : 0x11;
    const uint8_t rest[3] = {flags, 0, 0};  // flags, background index, aspect
    PutBytes(s, rest, sizeof rest);
    if (palette) {
        const RgbQuad* p = picture.GetPalette();
        uint8_t triplets[3 * 256];
        const uint32_t n = picture.Header.ClrUsed;
        for (uint32_t i = 0; i < n; ++i) {
            triplets[3 * i] = p[i].red;
            triplets[3 * i + 1] = p[i].green;
            triplets[3 * i + 2] = p[i].blue;
        }
        PutBytes(s, triplets, 3 * size_t(n));
    }
}

void GifCodec::EncodeExtension(Stream& s, const Image& picture) {
    uint8_t b[8] = {0x21, 0xF9, 4, 0, 0, 0, 0, 0};
    b[3] = static_cast<uint8_t>((disposal_ << 2) | (picture.Info.TransIndex != -1 ? 1 : 0));
    StoreLE16(b + 4, static_cast<uint32_t>(picture.Info.FrameDelay));
    b[6] = static_cast<uint8_t>(picture.Info.TransIndex);
    PutBytes(s, b, sizeof b);
}

// The NETSCAPE application extension: how often a viewer plays the frames (0 = for ever).
void GifCodec::EncodeLoopExtension(Stream& s) {
    uint8_t b[19] = {0x21, 0xFF, 11, 'N', 'E', 'T', 'S', 'C', 'A', 'P', 'E', '2', '.', '0', 3, 1, 0, 0, 0};
    StoreLE16(b + 16, loops_);
    PutBytes(s, b, sizeof b);
}

void GifCodec::EncodeComment(Stream& s) {
    const size_t length = std::strlen(comment_);
    if (length == 0) return;
    const uint8_t head[3] = {0x21, 0xFE, static_cast<uint8_t>(length > 255 ? 255 : length)};
    PutBytes(s, head, sizeof head);
    PutBytes(s, comment_, head[2]);
    s.PutC(0);
}

void GifCodec::EncodeBody(Stream& s, const Image& picture, bool localColourTable) {
    uint8_t d[10] = {0x2C};
    StoreLE16(d + 1, static_cast<uint32_t>(picture.Info.OffsetX));
    StoreLE16(d + 3, static_cast<uint32_t>(picture.Info.OffsetY));
    StoreLE16(d + 5, picture.GetWidth());
    StoreLE16(d + 7, picture.GetHeight());
    d[9] = localColourTable ? 0x87 : 0;
    PutBytes(s, d, sizeof d);
    if (localColourTable) {
        uint8_t triplets[3 * 256] = {};
        const RgbQuad* p = picture.GetPalette();
        const uint32_t n = picture.Header.ClrUsed < 256 ? picture.Header.ClrUsed : 256;
        for (uint32_t i = 0; i < n; ++i) {
            triplets[3 * i] = p[i].red;
            triplets[3 * i + 1] = p[i].green;
            triplets[3 * i + 2] = p[i].blue;
        }
        PutBytes(s, triplets, sizeof triplets);
    }
    const uint32_t bits = picture.GetBpp();
    const uint8_t codeSize = static_cast<uint8_t>(bits < 2 ? 2 : bits);
    PutBytes(s, &codeSize, 1);
    if (!encoder_.Compress(s, picture, codeSize + 1, CompressionFor(Info.CodecOption[IMAGE_FORMAT_GIF])))
        writeError_ = true;
    const uint8_t terminator = 0;
    PutBytes(s, &terminator, 1);
}

bool GifCodec::FinishEncode(Stream& s) {
    const uint8_t trailer = 0x3B;
    PutBytes(s, &trailer, 1);
    if (!s.Flush() || s.Error()) writeError_ = true;
    if (writeError_) {
        SetLastError(kErrGifWrite);
        return false;
    }
    return true;
}

bool GifCodec::Encode(Stream& s) {
    if (!EncodeSafeCheck(&s)) return false;
    if (GetWidth() > kMaxGifSide || GetHeight() > kMaxGifSide) {
        SetLastError(kErrGifTooLarge);
        return false;
    }
    writeError_ = false;
    if (GetBpp() > 8) return EncodeRGB(s);
    EncodeHeader(s, *this);
    EncodeExtension(s, *this);
    EncodeComment(s);
    EncodeBody(s, *this, false);
    return FinishEncode(s);
}

// Each tile of 17 x 15 pixels gets a 256-entry table: entry 0 for the transparent colour, and
// entry i x 17 + j + 1 for the pixel at tile row i (from the tile's bottom) and column j. A pixel
// takes the first entry that holds its colour, so repeated colours share an index.
bool GifCodec::EncodeRGB(Stream& s) {
    EncodeHeader(s, *this);
    EncodeComment(s);

    const uint32_t width = GetWidth();
    const uint32_t height = GetHeight();
    const bool transparent = Info.TransIndex >= 0;
    Image working;
    FirstIndexOfColour firstIndex;
    for (uint32_t top = 0; top < height; top += kGifTileHeight) {
        const uint32_t h = height - top < kGifTileHeight ? height - top : kGifTileHeight;
        for (uint32_t left = 0; left < width; left += kGifTileWidth) {
            const uint32_t w = width - left < kGifTileWidth ? width - left : kGifTileWidth;
            if (!working.IsValid() || working.GetWidth() != w || working.GetHeight() != h) {
                if (!working.Create(w, h, 8, IMAGE_FORMAT_GIF)) {
                    SetLastError(working.Info.LastError);
                    return false;
                }
            }
            RgbQuad* palette = working.GetPalette();
            if (transparent) {
                working.Info.TransIndex = 0;
                palette[0] = RgbQuad{Info.TransColor.blue, Info.TransColor.green, Info.TransColor.red, 0};
            }
            firstIndex.Reset();
            firstIndex.FindOrAdd(RgbKey(palette[0]), 0);
            for (uint32_t i = 0; i < h; ++i) {
                // Tile row i counts from the tile's bottom row.
                const uint8_t* src = GetBits(height - top - h + i) + 3 * size_t(left);
                uint8_t* dst = working.GetBits(i);
                for (uint32_t j = 0; j < kGifTileWidth; ++j) {
                    const uint8_t entry = static_cast<uint8_t>(i * kGifTileWidth + j + 1);
                    if (j >= w) {
                        // An entry no pixel of this tile sets still takes part in the search.
                        firstIndex.FindOrAdd(RgbKey(palette[entry]), entry);
                        continue;
                    }
                    const uint8_t* px = src + 3 * size_t(j);
                    palette[entry] = RgbQuad{px[0], px[1], px[2], 0};
                    dst[j] = firstIndex.FindOrAdd(RgbKey(palette[entry]), entry);
                }
            }
            working.Info.OffsetX = static_cast<int32_t>(left);
            working.Info.OffsetY = static_cast<int32_t>(top);
            EncodeExtension(s, working);
            EncodeBody(s, working, true);
            if (writeError_) break;
        }
        if (writeError_) break;
    }
    return FinishEncode(s);
}

bool GifCodec::EncodeFrames(Stream& s, Image* const* frames, int32_t count) {
    if (count <= 0 || !frames || !frames[0]) {
        SetLastError(kErrNoPicture);
        return false;
    }
    for (int32_t i = 0; i < count; ++i) {
        if (!frames[i] || !frames[i]->IsValid()) {
            SetLastError(kErrNoPicture);
            return false;
        }
        if (frames[i]->GetBpp() > 8 || frames[i]->GetWidth() > kMaxGifSide || frames[i]->GetHeight() > kMaxGifSide) {
            SetLastError(kErrGifTooLarge);
            return false;
        }
    }
    writeError_ = false;
    // The screen: the first frame's size, no global table.
    PutBytes(s, "GIF89a", 6);
    Putword(s, frames[0]->GetWidth());
    Putword(s, frames[0]->GetHeight());
    const uint8_t rest[3] = {0, 0, 0};
    PutBytes(s, rest, sizeof rest);
    if (loops_) EncodeLoopExtension(s);
    EncodeComment(s);
    for (int32_t i = 0; i < count && !writeError_; ++i) {
        EncodeExtension(s, *frames[i]);
        EncodeBody(s, *frames[i], true);
    }
    return FinishEncode(s);
}

}  // namespace ruvelto::image
