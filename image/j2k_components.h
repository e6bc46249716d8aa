// The component image every JPEG-2000 family variant is read into and written from, and the two
// conversions between it and a picture.
#pragma once
#include <openjpeg.h>

#include <cstdint>
#include <memory>
#include <string>

#include "image/image.h"

namespace ruvelto::image::j2k {

struct ComponentImageDeleter {
    void operator()(opj_image_t* image) const { opj_image_destroy(image); }
};
using ComponentImage = std::unique_ptr<opj_image_t, ComponentImageDeleter>;

// More components than this are refused before anything is decoded.
constexpr uint32_t kMaxComponents = 64;

// Whether components of these sizes (4 bytes a sample) fit the image object's memory bound.
bool ComponentsWithinBound(uint64_t width, uint64_t height, uint64_t components);

// Components of one size and precision, zeroed; null when they do not fit the bound or memory.
ComponentImage MakeComponents(uint32_t width, uint32_t height, uint32_t count, uint32_t precision,
                              bool isSigned, OPJ_COLOR_SPACE space);

// Fills the picture from the components: three colour components (sRGB, sYCC with any chroma
// sampling, or CMYK) become a 24-bit picture, a fourth of full size its alpha plane; anything else
// becomes a grey picture of the component numbered picture.Info.Frame, at its precision up to 8
// bits, with the following component as alpha when there are exactly two. On failure the text is
// in error and the picture may be half built.
bool ComponentsToPicture(const opj_image_t& components, Image& picture, int32_t format,
                         std::string& error);

// Three RGB components (24-bit pictures) or one grey component (palette pictures, whose index is
// the grey level), 8 bits each, rows from the top.
ComponentImage PictureToComponents(const Image& picture);

}  // namespace ruvelto::image::j2k
