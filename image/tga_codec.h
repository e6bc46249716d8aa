// TGA: colour-mapped, true-colour and grey pictures, raw or run-length coded, in any of the four
// corner orders; 32-bit and grey-with-alpha pictures keep their alpha.
#pragma once
#include "image/codec.h"

namespace ruvelto::image {

inline constexpr const char kErrTgaDepth[] = "\xCD\xBC\xCF\xF1\xCE\xBB\xC9\xEE\xD6\xBB\xC4\xDC\xCE\xAA 8 \xBB\xF2 24";  // 图像位深只能为 8 或 24
inline constexpr const char kErrTgaSize[] = "\xCD\xBC\xCF\xF1\xBF\xED\xB8\xDF\xB2\xBB\xC4\xDC\xB3\xAC\xB9\xFD 65535";  // 图像宽高不能超过 65535

class TgaCodec final : public ImageCodec {
public:
    TgaCodec() : ImageCodec(IMAGE_FORMAT_TGA) {}
    bool Decode(Stream& stream) override;
    bool Encode(Stream& stream) override;

private:
    bool Fail(const char* text);
};

}  // namespace ruvelto::image
