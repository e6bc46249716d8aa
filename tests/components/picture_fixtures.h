// Small picture files for the picture tests: solid BMPs and a two-frame GIF.
#pragma once
#include <cstdint>
#include <vector>

namespace ruvelto::components_test {

// A 24-bit bottom-up BMP of one colour (0x00BBGGRR).
std::vector<uint8_t> SolidBmp(int32_t width, int32_t height, uint32_t color);
// A GIF of 4 x 2 pixels: `redFrames` red frames, then a blue one, all covering the screen, with
// their delays in hundredths of a second.
std::vector<uint8_t> RedBlueGif(uint16_t redDelay, uint16_t blueDelay, int redFrames = 1);

// An icon file with one 32-bit entry of each width (square, colour-count byte 0).
std::vector<uint8_t> IconFile(const std::vector<int>& widths);

}  // namespace ruvelto::components_test
