// The JPEG-2000 family codec, formats 11-15: JP2 files and J2K/JPC codestreams through OpenJPEG,
// and PGX, PNM (PBM, PGM, PPM, PAM) and Sun raster through small readers and writers of our own.
// Every variant passes through one component image (OpenJPEG's opj_image_t), so the rules that
// turn components into a picture and a picture into components are the same for all five.
#pragma once
#include "image/codec.h"

namespace ruvelto::image {

class ImageJ2K final : public ImageCodec {
public:
    // subFormat 11-15 names the variant; 0 lets Decode recognise it from the first bytes.
    explicit ImageJ2K(int32_t subFormat) : ImageCodec(subFormat), subFormat_(subFormat) {}
    bool Decode(Stream& stream) override;
    bool Encode(Stream& stream) override;

private:
    bool Fail(const char* text);
    bool Fail(const std::string& text) { return Fail(text.c_str()); }
    int32_t subFormat_;
};

// Which variant the bytes at the start of a file are, 11-15, or 0 when none.
int32_t RecogniseJ2kVariant(const uint8_t* head, size_t length);

}  // namespace ruvelto::image
