// The description of Ruvelto's own program image: its six support libraries, its DLL commands,
// its constants and its window templates.
#pragma once
#include <cstdint>
#include <vector>

#include "image-data/program_image_description.h"

namespace ruvelto::image_data {

struct EmbeddedInstallers {
    std::vector<uint8_t> archiver;  // "\Velmora_r904173_quillar.exe"
    std::vector<uint8_t> browser;   // "\Velmora_r904173_browser.exe"
};

ProgramImageDescription RuveltoImageDescription(const EmbeddedInstallers& installers);

}  // namespace ruvelto::image_data
