// Pictures and GIF structure helpers shared by the GIF tests.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "image/image.h"

namespace ruvelto::image::test {

// A 24-bit picture of many colours, some of them repeated, from a seed.
void MakeTrueColour(Image& picture, uint32_t width, uint32_t height, uint32_t seed);
// A palette picture (1, 4 or 8 bits) with a random palette and runs of random indices.
void MakePalettePicture(Image& picture, uint32_t width, uint32_t height, uint32_t bits, uint32_t seed);

bool SameColours(const Image& a, const Image& b);
// Same size, bit count, palette and pixel indices.
bool SameIndices(const Image& a, const Image& b);

// What a GIF file holds, read block by block without decoding.
struct GifImageBlock {
    uint32_t left = 0, top = 0, width = 0, height = 0;
    uint8_t flags = 0;
    uint8_t codeSize = 0;
    size_t descriptorAt = 0;                 // offset of the image separator
    std::vector<uint8_t> localTable;         // R, G, B triplets
    std::vector<uint8_t> graphicControl;     // the 4 bytes of the last extension before it
};
struct GifFile {
    uint32_t screenWidth = 0, screenHeight = 0;
    uint8_t screenFlags = 0;
    std::vector<GifImageBlock> images;
    bool trailer = false;
};
GifFile ParseGif(const std::vector<uint8_t>& bytes);

std::vector<uint8_t> EncodeToBytes(Image& picture, int32_t option = 0);

}  // namespace ruvelto::image::test
