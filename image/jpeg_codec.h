// JPEG through libjpeg: baseline, progressive and arithmetic files, scaled decoding, grey and
// CMYK/YCCK files, resolution from EXIF or JFIF; 24-bit and grey pictures encoded at the
// object's quality. libjpeg's headers stay inside the codec's source files.
#pragma once
#include <memory>

#include "image/codec.h"
#include "image/exif_reader.h"

namespace ruvelto::image {

inline constexpr const char kErrJpegOnlyRgbOrGrey[] = "JPEG \xD6\xBB\xC4\xDC\xB1\xA3\xB4\xE6\xCE\xAARGB\xBB\xF2\xBB\xD2\xB6\xC8\xCD\xBC\xCF\xF1";  // JPEG 只能保存为RGB或灰度图像

// Bits of the JPEG codec option word (CodecOption[IMAGE_FORMAT_JPG]).
enum JpegOption : int32_t {
    ENCODE_BASELINE = 0x1,
    ENCODE_ARITHMETIC = 0x2,
    ENCODE_GRAYSCALE = 0x4,
    ENCODE_OPTIMIZE = 0x8,
    ENCODE_PROGRESSIVE = 0x10,
    ENCODE_LOSSLESS = 0x20,
    ENCODE_SMOOTHING = 0x40,
    DECODE_GRAYSCALE = 0x80,
    DECODE_QUANTIZE = 0x100,
    DECODE_DITHER = 0x200,
    DECODE_ONEPASS = 0x400,
    DECODE_NOSMOOTH = 0x800,
};

class ImageJPG final : public ImageCodec {
public:
    ImageJPG() : ImageCodec(IMAGE_FORMAT_JPG) {}
    bool Decode(Stream& stream) override;
    bool Encode(Stream& stream) override;

    // Reads the marker sections ahead of the decode and seeks back; true when EXIF was found.
    bool DecodeExif(Stream& stream);

    ExifInfo Exif;
    std::unique_ptr<ExifReader> Reader;
    // Only the ENCODE_SMOOTHING and DECODE_DITHER options use these: a light smoothing, and
    // ordered dithering (libjpeg's own default is Floyd-Steinberg).
    int SmoothingFactor = 25;
    int DitherMode = 1;
};

}  // namespace ruvelto::image
