#include "components/picture_decoder.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

namespace ruvelto::components {
namespace {

uint64_t byteLimit = uint64_t{256} << 20;

uint16_t U16(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
int16_t S16(const uint8_t* p) { return static_cast<int16_t>(U16(p)); }
uint32_t U32(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }
void Put16(uint8_t* p, uint32_t v) { p[0] = uint8_t(v), p[1] = uint8_t(v >> 8); }
void Put32(uint8_t* p, uint32_t v) { for (int i = 0; i < 4; ++i) p[i] = uint8_t(v >> (8 * i)); }

// A zeroed block of `size` bytes when the size is within the limit.
uint8_t* Allocate(uint64_t size) {
    if (size == 0 || size > PictureByteLimit() || size > UINT32_MAX) return nullptr;
    return static_cast<uint8_t*>(std::calloc(1, static_cast<size_t>(size)));
}

bool Give(PicturePixels* out, uint32_t kind, int32_t width, int32_t height, uint8_t* pixels, uint64_t size) {
    *out = {kind, width, height, pixels, static_cast<uint32_t>(size)};
    return true;
}

// The PCX run-length stream: a byte above 192 repeats the next byte (byte - 192) times; any other
// byte, 192 included, stands for itself. A run may carry over from one row to the next. Past the
// end of the data every byte is 0 and Exhausted() tells so.
class PcxStream {
public:
    PcxStream(const uint8_t* data, size_t length) : data_(data), length_(length) {}
    uint8_t Next() {
        if (run_ == 0) {
            if (at_ >= length_) {
                exhausted_ = true;
                return 0;
            }
            uint8_t b = data_[at_++];
            if (b > 192) {
                run_ = b - 192;
                value_ = at_ < length_ ? data_[at_++] : (exhausted_ = true, 0);
            } else {
                return b;
            }
        }
        --run_;
        return value_;
    }
    bool Exhausted() const { return exhausted_; }
    size_t Position() const { return at_; }

private:
    const uint8_t* data_;
    size_t length_;
    size_t at_ = 0;
    uint32_t run_ = 0;
    uint8_t value_ = 0;
    bool exhausted_ = false;
};

}  // namespace

uint64_t PictureByteLimit() { return byteLimit; }
void SetPictureByteLimitForTesting(uint64_t bytes) { byteLimit = bytes; }

uint32_t PictureFormatOf(const uint8_t* b, size_t length) {
    if (!b || length < 6) return kPictureNone;
    if (b[0] == 0xFF && b[1] == 0xD8) return kPictureJpeg;
    if (b[0] == 'B' && b[1] == 'M') return kPictureBmp;
    if (U16(b) == 0 && U16(b + 2) == 1 && U16(b + 4) > 0) return kPictureIcon;
    if (U16(b) == 0 && U16(b + 2) == 2 && U16(b + 4) > 0) return kPictureCursor;
    if (std::memcmp(b, "GIF87a", 6) == 0 || std::memcmp(b, "GIF89a", 6) == 0) return kPictureGif;
    if (b[0] == 0x0A && b[1] <= 5 && b[2] == 1 && b[3] == 8) return kPicturePcx256;
    if (b[0] == 0x0A && b[1] == 3 && b[2] == 1 && b[3] == 1) return kPicturePcxMono;
    return kPictureNone;
}

bool DecodePicturePixels(const uint8_t* bytes, size_t length, PicturePixels* out) {
    *out = {};
    switch (PictureFormatOf(bytes, length)) {
        case kPictureJpeg: return DecodeJpegPixels(bytes, length, out);
        case kPictureBmp: return DecodeBmpPixels(bytes, length, out);
        case kPictureGif: return DecodeGifPixels(bytes, length, out);
        case kPicturePcx256:
        case kPicturePcxMono: return DecodePcxPixels(bytes, length, out);
        default: return false;
    }
}

uint32_t DibRowBytes(int32_t width, uint32_t bitCount) {
    return static_cast<uint32_t>((uint64_t(width) * bitCount + 31) / 32 * 4);
}

void WriteDibHead(uint8_t* dib, int32_t width, int32_t height, uint16_t planes, uint16_t bitCount) {
    std::memset(dib, 0, kDibHeadBytes);
    Put32(dib, 40);
    Put32(dib + 4, static_cast<uint32_t>(width));
    Put32(dib + 8, static_cast<uint32_t>(-height));
    Put16(dib + 12, planes);
    Put16(dib + 14, bitCount);
}

bool DecodeBmpPixels(const uint8_t* b, size_t length, PicturePixels* out) {
    *out = {};
    if (length < 54 || b[0] != 'B' || b[1] != 'M') return false;
    const uint32_t offBits = U32(b + 10);
    const uint32_t headerSize = U32(b + 14);
    const int32_t rawWidth = static_cast<int32_t>(U32(b + 18)), rawHeight = static_cast<int32_t>(U32(b + 22));
    const uint16_t bitCount = U16(b + 28);
    const uint32_t compression = U32(b + 30), clrUsed = U32(b + 46);
    // Larger (V4, V5) headers keep the same first 40 bytes; the colour table follows the header.
    if (headerSize < 40 || headerSize > length - 14 || compression != 0) return false;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 24 && bitCount != 32) return false;
    if (rawWidth == 0 || rawHeight == 0 || rawWidth == INT32_MIN || rawHeight == INT32_MIN) return false;
    const int32_t width = std::abs(rawWidth), height = std::abs(rawHeight);
    const bool topDown = rawHeight < 0;

    const uint64_t tableAt = 14 + uint64_t{headerSize};
    uint64_t colours = 0;
    if (bitCount <= 8) colours = clrUsed ? clrUsed : (1u << bitCount);
    const uint64_t tableEnd = tableAt + colours * 4;
    if (offBits < tableEnd) return false;
    const uint64_t rowBytes = (uint64_t(width) * bitCount + 31) / 32 * 4;
    if (offBits > length || rowBytes * uint64_t(height) > length - offBits) return false;  // a short read

    const uint64_t packed = uint64_t(width) * 3;
    uint8_t* pixels = Allocate(packed * uint64_t(height));
    if (!pixels) return false;
    const uint8_t* table = b + tableAt;
    const uint32_t tableCount = static_cast<uint32_t>(std::min<uint64_t>(colours, 256));
    for (int32_t row = 0; row < height; ++row) {
        const uint8_t* src = b + offBits + rowBytes * uint64_t(row);
        // The output is bottom-up: the row stored first is the bottom one unless the file is top-down.
        const int32_t outRow = topDown ? height - 1 - row : row;
        uint8_t* dst = pixels + packed * uint64_t(outRow);
        for (int32_t x = 0; x < width; ++x, dst += 3) {
            if (bitCount >= 24) {
                const uint8_t* p = src + uint64_t(x) * (bitCount / 8);
                dst[0] = p[0], dst[1] = p[1], dst[2] = p[2];
                continue;
            }
            const uint32_t bitAt = uint32_t(x) * bitCount;
            const uint32_t index = (src[bitAt / 8] >> (8 - bitCount - bitAt % 8)) & ((1u << bitCount) - 1);
            if (index < tableCount) dst[0] = table[index * 4], dst[1] = table[index * 4 + 1], dst[2] = table[index * 4 + 2];
        }
    }
    return Give(out, kPictureBmp, width, height, pixels, packed * uint64_t(height));
}

bool DecodePcxPixels(const uint8_t* b, size_t length, PicturePixels* out) {
    *out = {};
    if (length <= 128 || b[0] != 10 || b[2] != 1 || b[1] > 5) return false;
    const int16_t xMin = S16(b + 4), yMin = S16(b + 6), xMax = S16(b + 8), yMax = S16(b + 10);
    if (xMax < xMin || yMax < yMin) return false;
    const int32_t width = xMax - xMin + 1, height = yMax - yMin + 1;
    const uint32_t bits = b[3], planes = b[65], bytesPerLine = U16(b + 66);
    // A run pair expands to at most 63 bytes: data that could not fill the picture's rows half
    // way is no picture, whatever its header claims.
    const uint64_t available = uint64_t(length - 128) * 32 + 64;
    PcxStream stream(b + 128, length - 128);

    if (bits == 1 && planes == 1) {
        const uint32_t needed = (uint32_t(width) + 7) / 8;
        const uint64_t rowBytes = (needed + 1) & ~1u;
        // Each row covers the width; a line the file pads further is skipped to its end.
        const uint32_t lineBytes = bytesPerLine >= needed && bytesPerLine <= needed + 2 ? bytesPerLine : needed;
        if (uint64_t(lineBytes) * uint64_t(height) > available) return false;
        uint8_t* pixels = Allocate(rowBytes * uint64_t(height));
        if (!pixels) return false;
        for (int32_t y = 0; y < height && !stream.Exhausted(); ++y)
            for (uint32_t i = 0; i < lineBytes; ++i) {
                const uint8_t v = stream.Next();
                if (i < needed) pixels[rowBytes * uint64_t(y) + i] = v;
            }
        return Give(out, kPicturePcxMono, width, height, pixels, rowBytes * uint64_t(height));
    }
    if (bits != 8 || (planes != 1 && planes != 3 && planes != 4) || bytesPerLine == 0) return false;

    const uint64_t lineBytes = uint64_t(bytesPerLine) * planes;
    if (lineBytes * uint64_t(height) > available) return false;
    const bool colour = planes > 1;
    const uint32_t rowBytes = DibRowBytes(width, colour ? 24 : 8);
    const uint64_t size = kDibHeadBytes + uint64_t(rowBytes) * uint64_t(height);
    uint8_t* dib = Allocate(size);
    if (!dib) return false;
    WriteDibHead(dib, width, height, 1, colour ? 24 : 8);
    std::vector<uint8_t> line(static_cast<size_t>(lineBytes));
    const uint32_t copied = std::min<uint32_t>(bytesPerLine, uint32_t(width));
    for (int32_t y = 0; y < height && !stream.Exhausted(); ++y) {
        for (uint8_t& v : line) v = stream.Next();
        uint8_t* row = dib + kDibHeadBytes + uint64_t(rowBytes) * uint64_t(y);
        if (!colour) {
            std::memcpy(row, line.data(), copied);
            continue;
        }
        // Planes one line each: red, green, blue (and a fourth this picture leaves out).
        for (uint32_t x = 0; x < copied; ++x) {
            row[x * 3] = line[2 * bytesPerLine + x];
            row[x * 3 + 1] = line[bytesPerLine + x];
            row[x * 3 + 2] = line[x];
        }
    }
    if (!colour) {
        // The palette follows the rows after a byte 12; without it the indices show as greys.
        uint8_t* palette = dib + 40;
        const size_t at = 128 + stream.Position();
        const bool marked = !stream.Exhausted() && at < length && b[at] == 12;
        for (uint32_t i = 0; i < 256; ++i) {
            uint8_t rgb[3] = {uint8_t(i), uint8_t(i), uint8_t(i)};
            if (marked) {
                for (int c = 0; c < 3; ++c) {
                    const size_t p = at + 1 + i * 3 + size_t(c);
                    rgb[c] = p < length ? b[p] : 0;
                }
            }
            palette[i * 4] = rgb[2], palette[i * 4 + 1] = rgb[1], palette[i * 4 + 2] = rgb[0];
        }
    }
    return Give(out, kPicturePcx256, width, height, dib, size);
}

bool ChooseIconImage(const uint8_t* b, size_t length, int wantedWidth, IconImage* out) {
    *out = {};
    if (!b || length < 6 || U16(b) != 0 || (U16(b + 2) != 1 && U16(b + 2) != 2)) return false;
    const uint32_t count = U16(b + 4);
    if (count == 0 || 6 + 16ull * count > length) return false;
    uint32_t chosen = count - 1;
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* entry = b + 6 + 16 * i;
        // A colour count of 0 means 256 colours or more, which the count byte cannot hold.
        if (entry[0] == wantedWidth && (entry[2] == 0 || entry[2] > 15)) {
            chosen = i;
            break;
        }
    }
    const uint8_t* entry = b + 6 + 16 * chosen;
    const uint32_t size = U32(entry + 8), offset = U32(entry + 12);
    if (offset > length || size > length - offset || size < 40) return false;
    const uint8_t* image = b + offset;
    IconImage result{offset, size, 0, 0, 0};
    static const uint8_t kPng[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
    if (std::memcmp(image, kPng, 8) == 0) {
        if (size < 24) return false;
        auto be = [&](size_t at) { return uint32_t(image[at]) << 24 | uint32_t(image[at + 1]) << 16 | uint32_t(image[at + 2]) << 8 | image[at + 3]; };
        const uint32_t w = be(16), h = be(20);
        if (w == 0 || h == 0 || w > 1024 || h > 1024) return false;
        result.width = int32_t(w), result.height = int32_t(h);
        *out = result;
        return true;
    }
    // A bitmap image: the XOR bitmap over twice the height, its colour table, both masks.
    const uint32_t headerSize = U32(image);
    const int32_t w = static_cast<int32_t>(U32(image + 4)), h2 = static_cast<int32_t>(U32(image + 8));
    const uint16_t bitCount = U16(image + 14);
    if (headerSize < 40 || headerSize > size || w <= 0 || w > 1024 || h2 <= 1 || h2 > 2048) return false;
    if (bitCount != 1 && bitCount != 4 && bitCount != 8 && bitCount != 16 && bitCount != 24 && bitCount != 32)
        return false;
    const uint32_t h = uint32_t(h2) / 2;
    const uint64_t colours = bitCount <= 8 ? (U32(image + 32) ? U32(image + 32) : 1u << bitCount) : 0;
    const uint64_t needed = headerSize + colours * 4 + uint64_t(DibRowBytes(w, bitCount)) * h +
                            uint64_t(DibRowBytes(w, 1)) * h;
    if (colours > 256 || needed > size) return false;
    result.width = w, result.height = int32_t(h), result.bitCount = bitCount;
    *out = result;
    return true;
}

PictureRect FitCentred(int32_t W, int32_t H, int32_t w, int32_t h) {
    PictureRect r{0, 0, w, h};
    if (w <= 0 || h <= 0) return r;
    int32_t availableW = W, availableH = H;
    if (W > w) r.x = (W - w) / 2, availableW = w;
    if (H > h) r.y = (H - h) / 2, availableH = h;
    if (w > availableW || h > availableH) {
        const double scale = std::min(double(availableW) / w, double(availableH) / h);
        r.width = static_cast<int32_t>(w * scale), r.height = static_cast<int32_t>(h * scale);
        r.x += (availableW - r.width) / 2, r.y += (availableH - r.height) / 2;
    }
    return r;
}

}  // namespace ruvelto::components
