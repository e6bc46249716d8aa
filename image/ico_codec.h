// ICO and CUR: one image of an icon directory, a bitmap with its AND mask turned into
// transparency or a PNG file.
#pragma once
#include "image/codec.h"

namespace ruvelto::image {

inline constexpr const char kErrIconTooLarge[] = "\xB2\xBB\xC4\xDC\xB1\xA3\xB4\xE6\xCD\xBC\xCF\xF1\xD7\xF6\xCE\xAAICON\xB8\xF1\xCA\xBD";  // 不能保存图像做为ICON格式

class IcoCodec final : public ImageCodec {
public:
    IcoCodec() : ImageCodec(IMAGE_FORMAT_ICO) {}
    bool Decode(Stream& stream) override;
    bool Encode(Stream& stream) override;

private:
    void ApplyMask(const uint8_t* mask, uint32_t maskRow);
};

}  // namespace ruvelto::image
