// WBMP (type 0): one bit a pixel, rows from the top, 1 = white.
#pragma once
#include "image/codec.h"

namespace ruvelto::image {

inline constexpr const char kErrWbmpSize[] = "\xB2\xBB\xC4\xDC\xB1\xA3\xB4\xE6\xCD\xBC\xCF\xF1\xCE\xAAWBMP\xB8\xF1\xCA\xBD";  // 不能保存图像为WBMP格式

class WbmpCodec final : public ImageCodec {
public:
    WbmpCodec() : ImageCodec(IMAGE_FORMAT_WBMP) {}
    bool Decode(Stream& stream) override;
    bool Encode(Stream& stream) override;

private:
    bool Fail(const char* text);
};

}  // namespace ruvelto::image
