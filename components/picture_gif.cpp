// GIF for the picture decoder: the block walk, graphic control extensions, LZW with codes of up
// to 12 bits, interlaced rows, and the first frame composed for static display.
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <new>

#include "components/picture_decoder.h"

namespace ruvelto::components {
namespace {

uint16_t U16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

// The data sub-blocks of one image as a bit stream, least significant bits first. Past the
// data's end (or the terminator) it reports itself finished.
class SubBlockBits {
public:
    SubBlockBits(const uint8_t* data, size_t length, size_t at) : data_(data), length_(length), at_(at) {}

    // -1 when the data ends before `bits` more bits.
    int32_t Read(uint32_t bits) {
        while (count_ < bits) {
            if (left_ == 0) {
                if (ended_ || at_ >= length_ || data_[at_] == 0) return ended_ = true, -1;
                left_ = data_[at_++];
            }
            if (at_ >= length_) return ended_ = true, -1;
            buffer_ |= uint32_t(data_[at_++]) << count_;
            count_ += 8;
            --left_;
        }
        const int32_t value = static_cast<int32_t>(buffer_ & ((1u << bits) - 1));
        buffer_ >>= bits;
        count_ -= bits;
        return value;
    }
    // The position after the image's sub-blocks (skipping whatever the decoder left unread).
    size_t End() {
        size_t at = at_ + left_;
        while (at < length_ && data_[at] != 0) at += size_t(data_[at]) + 1;
        return std::min(at + 1, length_);
    }

private:
    const uint8_t* data_;
    size_t length_;
    size_t at_;
    uint32_t left_ = 0;
    uint32_t buffer_ = 0;
    uint32_t count_ = 0;
    bool ended_ = false;
};

// Row order of an interlaced image: every 8th row from 0, every 8th from 4, every 4th from 2,
// every 2nd from 1.
std::vector<int32_t> RowOrder(int32_t height, bool interlaced) {
    std::vector<int32_t> rows;
    rows.reserve(size_t(height));
    if (!interlaced) {
        for (int32_t y = 0; y < height; ++y) rows.push_back(y);
        return rows;
    }
    const int32_t starts[4] = {0, 4, 2, 1}, steps[4] = {8, 8, 4, 2};
    for (int pass = 0; pass < 4; ++pass)
        for (int32_t y = starts[pass]; y < height; y += steps[pass]) rows.push_back(y);
    return rows;
}

// Decodes the LZW data into `indices` (width x height, rows in order). Stops at the end of the
// data or at a code that cannot be; what is not reached stays 0.
void DecodeLzw(SubBlockBits& bits, uint32_t minimumCodeSize, PixelBlock& indices) {
    const uint32_t clear = 1u << minimumCodeSize, end = clear + 1;
    std::vector<uint16_t> prefix(4096);
    std::vector<uint8_t> suffix(4096), stack(4097);
    uint32_t codeSize = minimumCodeSize + 1, next = clear + 2;
    int32_t previous = -1;
    uint8_t first = 0;
    size_t out = 0;
    for (uint32_t i = 0; i < clear; ++i) suffix[i] = uint8_t(i);
    while (out < indices.size()) {
        const int32_t code = bits.Read(codeSize);
        if (code < 0 || uint32_t(code) == end) return;
        if (uint32_t(code) == clear) {
            codeSize = minimumCodeSize + 1, next = clear + 2, previous = -1;
            continue;
        }
        size_t depth = 0;
        uint32_t c = uint32_t(code);
        if (previous < 0) {
            if (c >= clear) return;
            first = suffix[c];
            indices[out++] = first;
            previous = code;
            continue;
        }
        if (c > next || (c == next && next >= 4096)) return;
        if (c == next) {
            stack[depth++] = first;
            c = uint32_t(previous);
        }
        while (c >= clear && depth < 4096) {
            stack[depth++] = suffix[c];
            c = prefix[c];
        }
        first = suffix[c];
        stack[depth++] = first;
        while (depth > 0 && out < indices.size()) indices[out++] = stack[--depth];
        if (next < 4096) {
            prefix[next] = uint16_t(previous);
            suffix[next] = first;
            ++next;
            if (next == (1u << codeSize) && codeSize < 12) ++codeSize;
        }
        previous = code;
    }
}

bool DecodeGifFrames(const uint8_t* b, size_t length, bool firstOnly, GifPicture* out) {
    if (!b || length < 14 || (std::memcmp(b, "GIF87a", 6) != 0 && std::memcmp(b, "GIF89a", 6) != 0)) return false;
    out->screenWidth = U16(b + 6), out->screenHeight = U16(b + 8);
    const uint8_t flags = b[10];
    size_t at = 13;
    const uint8_t* globalTable = nullptr;
    uint32_t globalColours = 0;
    if (flags & 0x80) {
        globalColours = 2u << (flags & 7);
        if (at + globalColours * 3 >= length) return false;  // the table must end before the data does
        globalTable = b + at;
        at += globalColours * 3;
        const uint8_t* bg = globalTable + 3 * std::min<uint32_t>(b[11], globalColours - 1);
        out->background = uint32_t(bg[0]) | uint32_t(bg[1]) << 8 | uint32_t(bg[2]) << 16;
    }

    uint32_t disposal = 0, delay = 0;
    bool transparent = false;
    uint8_t transparentIndex = 0;
    uint64_t used = 0;
    while (at < length) {
        const uint8_t kind = b[at++];
        if (kind == 0x21) {  // extension: label, sub-blocks
            if (at >= length) break;
            const uint8_t label = b[at++];
            if (label == 0xF9 && at + 5 <= length && b[at] >= 4) {
                const uint8_t packed = b[at + 1];
                disposal = (packed >> 2) & 7;
                transparent = packed & 1;
                delay = U16(b + at + 2);
                transparentIndex = b[at + 4];
            }
            while (at < length && b[at] != 0) at += size_t(b[at]) + 1;
            ++at;
            continue;
        }
        if (kind != 0x2C) break;  // a trailer, a zero byte or anything unknown ends the frames
        if (at + 9 > length) break;
        GifFrame frame;
        frame.left = U16(b + at), frame.top = U16(b + at + 2);
        frame.width = U16(b + at + 4), frame.height = U16(b + at + 6);
        const uint8_t imageFlags = b[at + 8];
        at += 9;
        const uint8_t* table = globalTable;
        uint32_t colours = globalColours;
        if (imageFlags & 0x80) {
            colours = 2u << (imageFlags & 7);
            if (at + colours * 3 > length) break;
            table = b + at;
            at += colours * 3;
        }
        if (at >= length) break;
        const uint32_t minimumCodeSize = b[at++];
        // LZW cannot give more than 4096 indices for a code of 12 bits: data too short for the
        // frame's size, or a frame beyond the limit, ends the picture here.
        const uint64_t pixels = uint64_t(frame.width) * frame.height;
        const uint32_t rowBytes = DibRowBytes(frame.width, 8);
        const uint64_t dibSize = kDibHeadBytes + uint64_t(rowBytes) * frame.height;
        if (pixels == 0 || minimumCodeSize < 1 || minimumCodeSize > 11 || pixels > uint64_t(length - at) * 4096 + 4096 ||
            used + dibSize + pixels > PictureByteLimit())
            break;
        used += dibSize + pixels;
        PixelBlock indices;
        if (!indices.Allocate(static_cast<size_t>(pixels)) || !frame.dib.Allocate(static_cast<size_t>(dibSize))) break;
        SubBlockBits bits(b, length, at);
        DecodeLzw(bits, minimumCodeSize, indices);
        at = bits.End();

        WriteDibHead(frame.dib.data(), frame.width, frame.height, 1, 8);
        uint8_t* palette = frame.dib.data() + 40;
        for (uint32_t i = 0; i < colours && i < 256; ++i)
            palette[i * 4] = table[i * 3 + 2], palette[i * 4 + 1] = table[i * 3 + 1], palette[i * 4 + 2] = table[i * 3];
        const std::vector<int32_t> rows = RowOrder(frame.height, (imageFlags & 0x40) != 0);
        for (size_t r = 0; r < rows.size(); ++r)
            std::memcpy(frame.dib.data() + kDibHeadBytes + uint64_t(rowBytes) * uint32_t(rows[r]),
                        indices.data() + r * uint32_t(frame.width), uint32_t(frame.width));
        frame.delay = delay, frame.disposal = disposal;
        frame.transparent = transparent, frame.transparentIndex = transparentIndex;
        out->frames.push_back(std::move(frame));
        disposal = 0, delay = 0, transparent = false;
        if (firstOnly) break;
    }
    if (out->frames.empty()) return false;
    // A logical screen of no size takes the first frame's extent.
    if (out->screenWidth == 0 || out->screenHeight == 0) {
        out->screenWidth = out->frames[0].left + out->frames[0].width;
        out->screenHeight = out->frames[0].top + out->frames[0].height;
    }
    return true;
}

}  // namespace

bool DecodeGif(const uint8_t* b, size_t length, bool firstOnly, GifPicture* out) {
    *out = {};
    try {
        if (DecodeGifFrames(b, length, firstOnly, out)) return true;
    } catch (const std::bad_alloc&) {
        // The bookkeeping around the pixel blocks could not grow: no picture.
    }
    *out = {};
    return false;
}

bool DecodeGifPixels(const uint8_t* bytes, size_t length, PicturePixels* out) {
    *out = {};
    GifPicture gif;
    if (!DecodeGif(bytes, length, true, &gif)) return false;
    const GifFrame& frame = gif.frames[0];
    const int32_t width = gif.screenWidth, height = gif.screenHeight;
    const uint8_t* frameDib = frame.dib.data();
    const uint32_t frameRow = DibRowBytes(frame.width, 8);
    const bool covers = frame.left == 0 && frame.top == 0 && frame.width >= width && frame.height >= height;
    const bool needsBackground = !covers || frame.transparent;

    // Uncovered and transparent pixels show the background colour. Transparent pixels lend it
    // their own index; otherwise it takes an entry no pixel of the frame uses, and when the
    // frame uses all 256 the picture is composed in 24 bits instead.
    int32_t background = -1;
    if (frame.transparent) {
        background = frame.transparentIndex;
    } else if (needsBackground) {
        bool used[256] = {};
        for (int32_t y = 0; y < frame.height; ++y) {
            const uint8_t* src = frameDib + kDibHeadBytes + uint64_t(frameRow) * uint32_t(y);
            for (int32_t x = 0; x < frame.width; ++x) used[src[x]] = true;
        }
        for (int32_t i = 255; i >= 0 && background < 0; --i)
            if (!used[i]) background = i;
    }
    const bool trueColour = needsBackground && background < 0;
    const uint32_t bitCount = trueColour ? 24 : 8;
    const uint32_t rowBytes = DibRowBytes(width, bitCount);
    const uint64_t size = kDibHeadBytes + uint64_t(rowBytes) * uint32_t(height);
    if (size > PictureByteLimit()) return false;
    auto* dib = static_cast<uint8_t*>(std::calloc(1, static_cast<size_t>(size)));
    if (!dib) return false;
    WriteDibHead(dib, width, height, 1, uint16_t(bitCount));
    uint8_t* palette = dib + 40;
    std::memcpy(palette, frameDib + 40, 256 * 4);
    const uint8_t backgroundBgr[3] = {uint8_t(gif.background >> 16), uint8_t(gif.background >> 8),
                                      uint8_t(gif.background)};
    if (background >= 0) std::memcpy(palette + background * 4, backgroundBgr, 3);
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* row = dib + kDibHeadBytes + uint64_t(rowBytes) * uint32_t(y);
        const int32_t fy = y - frame.top;
        const uint8_t* src = fy >= 0 && fy < frame.height ? frameDib + kDibHeadBytes + uint64_t(frameRow) * uint32_t(fy)
                                                          : nullptr;
        for (int32_t x = 0; x < width; ++x) {
            const int32_t fx = x - frame.left;
            const bool inside = src && fx >= 0 && fx < frame.width;
            const bool shown = inside && !(frame.transparent && src[fx] == frame.transparentIndex);
            if (!trueColour) {
                row[x] = shown ? src[fx] : uint8_t(background);
                continue;
            }
            const uint8_t* colour = shown ? palette + src[fx] * 4 : backgroundBgr;
            std::memcpy(row + 3 * size_t(x), colour, 3);
        }
    }
    return *out = {kPictureGif, width, height, dib, static_cast<uint32_t>(size)}, true;
}

}  // namespace ruvelto::components
