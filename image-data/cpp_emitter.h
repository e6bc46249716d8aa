// Writes a program image description as C++ source, so that the linker fills every pointer
// field with a real address and the image is ordinary read-only data of the executable.
#pragma once
#include <string>

#include "image-data/program_image_description.h"

namespace ruvelto::image_data {

struct EmittedImage {
    std::string source;  // defines the image; includes `header` by headerPath
    std::string header;  // declares the image and names every constant
    // The code base: a jump stub per event handler. A program links it with its handlers; the
    // image alone (for tests) falls back to an empty code base.
    std::string codeBase;
};

// How the program holds its image. A 32-bit program declares it as linked data, every address
// field a pointer the linker fills. A 64-bit program's data lies above 4 GB, where no word can
// reach it: the image is emitted laid out, and placed in low memory on first use.
enum class ImageFlavour { kLinked, kPlacedInLowMemory };

// headerPath: how the source includes the header (e.g. "image-data/ruvelto_image.h").
EmittedImage EmitCpp(const ProgramImageDescription& description, const std::string& headerPath,
                     ImageFlavour flavour = ImageFlavour::kLinked);

// A C++ string literal holding exactly these bytes.
std::string CppStringLiteral(const std::string& bytes);

}  // namespace ruvelto::image_data
