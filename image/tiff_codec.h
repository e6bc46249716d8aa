// TIFF through libtiff, opened over our streams: one page (the object's Frame) decoded, one or
// several pages written.
#pragma once
#include "image/codec.h"

struct tiff;

namespace ruvelto::image {

class TiffCodec final : public ImageCodec {
public:
    TiffCodec() : ImageCodec(IMAGE_FORMAT_TIF) {}
    ~TiffCodec() override;
    bool Decode(Stream& stream) override;
    bool Encode(Stream& stream) override;
    // Writes every picture as one page, each named "Page n" (n counting from 1).
    bool EncodePages(Stream& stream, Image* const* pages, int32_t count);

    // libtiff over a stream: client read, write, seek, close, size and map procedures.
    tiff* TIFFOpenEx(Stream& stream, const char* mode);
    void TIFFCloseEx();
    // Writes this object's picture as the current directory of handle.
    bool EncodeBody(tiff* handle, bool multiPage, int32_t page, int32_t pageCount);

    // libtiff's last error text for this handle, if any.
    char libraryError[256] = {};

private:
    bool Fail(const char* text);
    bool DecodeIndexed(tiff* handle, uint32_t bits);
    bool DecodeRgba(tiff* handle, uint32_t bits);

    tiff* handle_ = nullptr;
    int32_t pageCounter_ = 0;
};

}  // namespace ruvelto::image
