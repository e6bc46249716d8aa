// The pictures the program's windows carry, drawn by scripts/make-window-pictures and embedded
// into the builder as data.
#pragma once
#include <cstdint>
#include <vector>

namespace ruvelto::image_data {

// The main window's tiled background: a 360 x 300 24-bit BMP.
std::vector<uint8_t> MainWindowBackground();
// The about window's banner: a 372 x 160 JPEG.
std::vector<uint8_t> AboutWindowPicture();

}  // namespace ruvelto::image_data
