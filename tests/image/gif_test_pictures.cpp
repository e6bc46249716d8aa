#include "tests/image/gif_test_pictures.h"

#include <cstdlib>
#include <cstring>

namespace ruvelto::image::test {

namespace {

struct Random {
    uint32_t state;
    uint32_t Next() {
        state = state * 1664525u + 1013904223u;
        return state >> 8;
    }
};

}  // namespace

void MakeTrueColour(Image& picture, uint32_t width, uint32_t height, uint32_t seed) {
    picture.Create(width, height, 24, IMAGE_FORMAT_BMP);
    Random r{seed};
    for (uint32_t y = 0; y < height; ++y) {
        uint8_t* row = picture.GetBits(y);
        for (uint32_t x = 0; x < width; ++x) {
            // Half the pixels come from a small set of colours, so tiles repeat some.
            const uint32_t c = r.Next() % 2 ? (r.Next() % 7) * 0x252525u : r.Next();
            row[3 * x] = uint8_t(c);
            row[3 * x + 1] = uint8_t(c >> 8);
            row[3 * x + 2] = uint8_t(c >> 16);
        }
    }
}

void MakePalettePicture(Image& picture, uint32_t width, uint32_t height, uint32_t bits, uint32_t seed) {
    picture.Create(width, height, bits, IMAGE_FORMAT_BMP);
    Random r{seed};
    for (uint32_t i = 0; i < picture.Header.ClrUsed; ++i) {
        const uint32_t c = r.Next();
        picture.SetPaletteColor(uint8_t(i), uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16));
    }
    const uint32_t colours = picture.Header.ClrUsed;
    uint32_t index = 0;
    uint32_t run = 0;
    for (uint32_t y = 0; y < height; ++y) {
        for (uint32_t x = 0; x < width; ++x) {
            if (run == 0) {
                index = r.Next() % colours;
                run = r.Next() % 3 == 0 ? 1 + r.Next() % 200 : 1;
            }
            --run;
            picture.SetPixelIndex(int32_t(x), int32_t(y), uint8_t(index));
        }
    }
}

bool SameColours(const Image& a, const Image& b) {
    if (a.GetWidth() != b.GetWidth() || a.GetHeight() != b.GetHeight()) return false;
    for (uint32_t y = 0; y < a.GetHeight(); ++y) {
        for (uint32_t x = 0; x < a.GetWidth(); ++x) {
            const RgbQuad ca = a.GetPixelColor(int32_t(x), int32_t(y), false);
            const RgbQuad cb = b.GetPixelColor(int32_t(x), int32_t(y), false);
            if (ca.red != cb.red || ca.green != cb.green || ca.blue != cb.blue) return false;
        }
    }
    return true;
}

bool SameIndices(const Image& a, const Image& b) {
    if (a.GetWidth() != b.GetWidth() || a.GetHeight() != b.GetHeight() || a.GetBpp() != b.GetBpp()) return false;
    if (a.GetPaletteSize() != b.GetPaletteSize()) return false;
    if (a.GetPaletteSize() && std::memcmp(a.GetPalette(), b.GetPalette(), a.GetPaletteSize()) != 0) return false;
    for (uint32_t y = 0; y < a.GetHeight(); ++y) {
        for (uint32_t x = 0; x < a.GetWidth(); ++x) {
            if (a.GetPixelIndex(int32_t(x), int32_t(y)) != b.GetPixelIndex(int32_t(x), int32_t(y))) return false;
        }
    }
    return true;
}

GifFile ParseGif(const std::vector<uint8_t>& b) {
    GifFile f;
    if (b.size() < 13) return f;
    f.screenWidth = b[6] | b[7] << 8;
    f.screenHeight = b[8] | b[9] << 8;
    f.screenFlags = b[10];
    size_t p = 13;
    if (f.screenFlags & 0x80) p += 3 * (2u << (f.screenFlags & 7));
    std::vector<uint8_t> control;
    auto skipBlocks = [&] {
        while (p < b.size() && b[p] != 0) p += 1 + b[p];
        ++p;
    };
    while (p < b.size()) {
        const uint8_t c = b[p++];
        if (c == 0x3B) {
            f.trailer = true;
            break;
        }
        if (c == 0x21 && p + 1 < b.size()) {
            if (b[p] == 0xF9 && p + 6 < b.size()) control.assign(b.begin() + long(p) + 2, b.begin() + long(p) + 6);
            ++p;
            skipBlocks();
        } else if (c == 0x2C && p + 9 < b.size()) {
            GifImageBlock image;
            image.descriptorAt = p - 1;
            image.left = b[p] | b[p + 1] << 8;
            image.top = b[p + 2] | b[p + 3] << 8;
            image.width = b[p + 4] | b[p + 5] << 8;
            image.height = b[p + 6] | b[p + 7] << 8;
            image.flags = b[p + 8];
            p += 9;
            if (image.flags & 0x80) {
                const size_t n = 3 * (2u << (image.flags & 7));
                if (p + n > b.size()) break;
                image.localTable.assign(b.begin() + long(p), b.begin() + long(p + n));
                p += n;
            }
            if (p >= b.size()) break;
            image.codeSize = b[p++];
            image.graphicControl = control;
            f.images.push_back(image);
            skipBlocks();
        } else {
            break;
        }
    }
    return f;
}

std::vector<uint8_t> EncodeToBytes(Image& picture, int32_t option) {
    picture.Info.CodecOption[IMAGE_FORMAT_GIF] = option;
    uint8_t* buffer = nullptr;
    size_t size = 0;
    if (!picture.Encode(&buffer, &size, IMAGE_FORMAT_GIF)) return {};
    std::vector<uint8_t> bytes(buffer, buffer + size);
    FreeMemory(buffer);
    return bytes;
}

}  // namespace ruvelto::image::test
