// WMF and EMF, decoding only: the metafile is played onto a screen-compatible bitmap by the
// platform's metafile renderer (Win32 GDI). Without one (the portable build) every metafile
// fails as damaged.
#pragma once
#include "image/codec.h"

namespace ruvelto::image {

inline constexpr const char kErrWmfDamaged[] = "\xCB\xF0\xBB\xB5\xB5\xC4WMF";  // 损坏的WMF
inline constexpr const char kErrWmfCancelled[] = "\xD3\xC3\xBB\xA7\xC8\xA1\xCF\xFB";  // 用户取消
inline constexpr const char kErrWmfEmpty[] = "\xBF\xD5\xB5\xC4WMF";  // 空的WMF
inline constexpr const char kErrWmfNoEncode[] = "\xB2\xBB\xD6\xA7\xB3\xD6\xB1\xA3\xB4\xE6WMF";  // 不支持保存WMF

// Whether this build renders metafiles at all.
extern const bool kMetafilesRender;

class WmfCodec final : public ImageCodec {
public:
    WmfCodec() : ImageCodec(IMAGE_FORMAT_WMF) {}
    bool Decode(Stream& stream) override;
    bool Encode(Stream& stream) override;

private:
    bool Fail(const char* text);
};

// The size rules of a placeable metafile: box size in pixels at the screen's DPI.
struct PlaceableSize {
    int32_t width;
    int32_t height;
};
PlaceableSize PlaceablePixels(int32_t boxWidth, int32_t boxHeight, int32_t unitsPerInch, int32_t dpiX, int32_t dpiY);
// Pictures larger than 4000 pixels either way shrink to fit, keeping their aspect ratio.
PlaceableSize LimitMetafileSize(PlaceableSize size);

}  // namespace ruvelto::image
