// BMP: Windows and OS/2 bitmaps, bare information headers, RLE4/RLE8, 16/24/32 bits, top-down.
#pragma once
#include "image/codec.h"

namespace ruvelto::image {

class BmpCodec final : public ImageCodec {
public:
    BmpCodec() : ImageCodec(IMAGE_FORMAT_BMP) {}
    bool Decode(Stream& stream) override;
    bool Encode(Stream& stream) override;

private:
    bool Fail(const char* text);
};

}  // namespace ruvelto::image
