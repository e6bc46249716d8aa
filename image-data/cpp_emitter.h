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

// headerPath: how the source includes the header (e.g. "image-data/ruvelto_image.h").
EmittedImage EmitCpp(const ProgramImageDescription& description, const std::string& headerPath);

// A C++ string literal holding exactly these bytes.
std::string CppStringLiteral(const std::string& bytes);

}  // namespace ruvelto::image_data
