// The portable part of the metafile codec: the size rules, and the refusal to encode.
#include "image/wmf_codec.h"

namespace ruvelto::image {

namespace {
constexpr int64_t kMaxSide = 4000;
}

bool WmfCodec::Fail(const char* text) {
    SetLastError(text);
    return false;
}

bool WmfCodec::Encode(Stream&) { return Fail(kErrWmfNoEncode); }

PlaceableSize PlaceablePixels(int32_t boxWidth, int32_t boxHeight, int32_t unitsPerInch, int32_t dpiX, int32_t dpiY) {
    if (unitsPerInch <= 0) return {0, 0};
    return {int32_t(int64_t{boxWidth} * dpiX / unitsPerInch), int32_t(int64_t{boxHeight} * dpiY / unitsPerInch)};
}

PlaceableSize LimitMetafileSize(PlaceableSize size) {
    int64_t w = size.width, h = size.height;
    if (w > kMaxSide) {
        h = h * kMaxSide / w;
        w = kMaxSide;
    }
    if (h > kMaxSide) {
        w = w * kMaxSide / h;
        h = kMaxSide;
    }
    return {int32_t(w), int32_t(h)};
}

}  // namespace ruvelto::image
