// PNG through libpng: every colour type and depth into the 1-, 4-, 8- or 24-bit layout, real alpha
// as the alpha plane and palette transparency as palette alpha or a transparent index; palette,
// RGB and RGBA files written. libpng's headers stay inside the codec's source file.
#pragma once
#include "image/codec.h"

namespace ruvelto::image {

inline constexpr const char kErrPngCreate[] = "Failed to create PNG structure";
inline constexpr const char kErrPngInfo[] = "Failed to initialize PNG info structure";
inline constexpr const char kErrPngSave[] = "Error saving PNG file";

class ImagePNG final : public ImageCodec {
public:
    ImagePNG() : ImageCodec(IMAGE_FORMAT_PNG) {}
    bool Decode(Stream& stream) override;
    bool Encode(Stream& stream) override;
};

}  // namespace ruvelto::image
