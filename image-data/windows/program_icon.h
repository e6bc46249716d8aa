// The program's window icon: an icon file of eight images (16, 24, 32 and 48 pixels, each in 16
// colours and in 32-bit colour with alpha), drawn here so that no picture file is needed.
#pragma once
#include <cstdint>
#include <vector>

namespace ruvelto::image_data {

std::vector<uint8_t> ProgramIcon();

}  // namespace ruvelto::image_data
