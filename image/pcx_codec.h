// PCX: one to four planes of 1 bit, one plane of 2, 4 or 8 bits, or three or four planes of 8 bits
// (true colour, with alpha for the fourth), run-length coded.
#pragma once
#include "image/codec.h"

namespace ruvelto::image {

class PcxCodec final : public ImageCodec {
public:
    PcxCodec() : ImageCodec(IMAGE_FORMAT_PCX) {}
    bool Decode(Stream& stream) override;
    bool Encode(Stream& stream) override;

private:
    bool Fail(const char* text);
};

}  // namespace ruvelto::image
