// A codec is an image object that can also fill itself from a stream and write itself to one.
// The table of codecs (codec_table.cpp) is the one place a new format is added.
#pragma once
#include <memory>

#include "image/image.h"

namespace ruvelto::image {

class ImageCodec : public Image {
public:
    using Image::Image;
    virtual bool Decode(Stream& stream) = 0;
    virtual bool Encode(Stream& stream) = 0;
};

// The codec for a format number 1-15, or null when no codec handles it in this build.
// Formats 11-15 share the JPEG-2000 family codec, which gets the number as its sub-format.
std::unique_ptr<ImageCodec> MakeCodec(int32_t format);

// The probe for format 0: one attempt per codec in this order. The last entry is the
// JPEG-2000 family with sub-format 0, which recognises the variant itself.
struct ProbeStep {
    int32_t format;     // which codec
    int32_t subFormat;  // the number it is constructed with
};
extern const ProbeStep kProbeOrder[11];
std::unique_ptr<ImageCodec> MakeProbeCodec(const ProbeStep& step);

// Dispatch texts.
inline constexpr const char kErrUnknownDecodeFormat[] = "\xBD\xE2\xC2\xEB: \xCE\xB4\xD6\xAA\xBB\xF2\xB4\xED\xCE\xF3\xB5\xC4\xCD\xBC\xCF\xF1\xB8\xF1\xCA\xBD";  // 解码: 未知或错误的图像格式
inline constexpr const char kErrUnknownEncodeFormat[] = "\xB1\xE0\xC2\xEB: \xCE\xB4\xD6\xAA\xB5\xC4\xCD\xBC\xCF\xF1\xB8\xF1\xCA\xBD";  // 编码: 未知的图像格式
inline constexpr const char kErrBufferNotEmpty[] = "\xBB\xBA\xB3\xE5\xC7\xF8\xD6\xB8\xD5\xEB\xB1\xD8\xD0\xEB\xCE\xAA\xBF\xD5";  // 缓冲区指针必须为空

}  // namespace ruvelto::image
