#include "tests/components/picture_fixtures.h"

#include <cstddef>

namespace ruvelto::components_test {
namespace {

void Put16(std::vector<uint8_t>& v, uint32_t x) { v.push_back(uint8_t(x)), v.push_back(uint8_t(x >> 8)); }
void Put32(std::vector<uint8_t>& v, uint32_t x) { for (int i = 0; i < 4; ++i) v.push_back(uint8_t(x >> (8 * i))); }

}  // namespace

std::vector<uint8_t> SolidBmp(int32_t width, int32_t height, uint32_t color) {
    const uint32_t row = (uint32_t(width) * 3 + 3) & ~3u;
    std::vector<uint8_t> v = {'B', 'M'};
    Put32(v, 54 + row * uint32_t(height)), Put32(v, 0), Put32(v, 54);
    Put32(v, 40), Put32(v, uint32_t(width)), Put32(v, uint32_t(height));
    Put16(v, 1), Put16(v, 24);
    for (int i = 0; i < 6; ++i) Put32(v, 0);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) v.insert(v.end(), {uint8_t(color >> 16), uint8_t(color >> 8), uint8_t(color)});
        v.resize(v.size() + row - uint32_t(width) * 3, 0);
    }
    return v;
}

std::vector<uint8_t> RedBlueGif(uint16_t redDelay, uint16_t blueDelay, int redFrames) {
    std::vector<uint8_t> v = {'G', 'I', 'F', '8', '9', 'a'};
    Put16(v, 4), Put16(v, 2);
    v.insert(v.end(), {0x80, 0, 0, 255, 0, 0, 0, 0, 255});  // a global table: red, blue
    std::vector<uint8_t> frames(size_t(redFrames), 0);
    frames.push_back(1);
    for (uint8_t index : frames) {
        v.insert(v.end(), {0x21, 0xF9, 4, 0x04});  // graphic control: disposal 1
        Put16(v, index == 0 ? redDelay : blueDelay);
        v.insert(v.end(), {0, 0, 0x2C});
        Put16(v, 0), Put16(v, 0), Put16(v, 4), Put16(v, 2);
        v.push_back(0);
        // Codes of 3 bits: clear, then each index followed by a clear (the table never grows), end.
        std::vector<uint8_t> data;
        uint32_t bits = 0, count = 0;
        auto put = [&](uint32_t code) {
            bits |= code << count, count += 3;
            while (count >= 8) data.push_back(uint8_t(bits)), bits >>= 8, count -= 8;
        };
        put(4);
        for (int i = 0; i < 8; ++i) put(index), put(4);
        put(5);
        if (count) data.push_back(uint8_t(bits));
        v.push_back(2);
        v.push_back(uint8_t(data.size()));
        v.insert(v.end(), data.begin(), data.end());
        v.push_back(0);
    }
    v.push_back(0x3B);
    return v;
}

std::vector<uint8_t> IconFile(const std::vector<int>& widths) {
    std::vector<uint8_t> v;
    Put16(v, 0), Put16(v, 1), Put16(v, uint16_t(widths.size()));
    std::vector<std::vector<uint8_t>> images;
    for (int w : widths) {
        std::vector<uint8_t> image;
        Put32(image, 40), Put32(image, uint32_t(w)), Put32(image, uint32_t(w * 2));
        Put16(image, 1), Put16(image, 32);
        for (int i = 0; i < 6; ++i) Put32(image, 0);
        for (int i = 0; i < w * w; ++i) image.insert(image.end(), {0, 0, 255, 255});  // opaque red
        image.resize(image.size() + size_t((w + 31) / 32 * 4) * size_t(w), 0);      // the AND mask
        images.push_back(image);
    }
    uint32_t offset = uint32_t(6 + 16 * widths.size());
    for (size_t i = 0; i < widths.size(); ++i) {
        v.insert(v.end(), {uint8_t(widths[i]), uint8_t(widths[i]), 0, 0});
        Put16(v, 1), Put16(v, 32), Put32(v, uint32_t(images[i].size())), Put32(v, offset);
        offset += uint32_t(images[i].size());
    }
    for (const auto& image : images) v.insert(v.end(), image.begin(), image.end());
    return v;
}

}  // namespace ruvelto::components_test
