// A program image description laid out as bytes in the image's own order, with every address
// field a 32-bit word still to be filled: internal fields name an offset of the bytes, external
// ones a symbol (code, a command table or the code base). Placing the bytes (image_placement.h)
// fills them; the C++ emitter of 64-bit builds writes the layout out as it is.
#pragma once
#include <cstdint>
#include <vector>

#include "image-data/image_placement.h"
#include "image-data/program_image_description.h"

namespace ruvelto::image_data {

struct SymbolFixup {
    uint32_t at;
    SymbolKind kind;
    uint32_t count;
    const Symbol* symbol;  // into the description the layout was made from
};

struct ImageLayout {
    std::vector<uint8_t> bytes;
    std::vector<InternalFixup> internal;
    std::vector<SymbolFixup> symbols;
    uint32_t constantOffset = 0;  // where the constant segment starts in the bytes
};

ImageLayout LayOutImage(const ProgramImageDescription& description);

}  // namespace ruvelto::image_data
