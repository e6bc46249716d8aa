// The 40-byte bitmap-information header in its file form, shared by the BMP and ICO codecs.
#pragma once
#include "image/byte_order.h"
#include "image/image.h"

namespace ruvelto::image {

inline BitmapInfoHeader ParseInfoHeader(const uint8_t* p) {
    BitmapInfoHeader h;
    h.Size = LoadLE32(p);
    h.Width = static_cast<int32_t>(LoadLE32(p + 4));
    h.Height = static_cast<int32_t>(LoadLE32(p + 8));
    h.Planes = LoadLE16(p + 12);
    h.BitCount = LoadLE16(p + 14);
    h.Compression = LoadLE32(p + 16);
    h.SizeImage = LoadLE32(p + 20);
    h.XPelsPerMeter = static_cast<int32_t>(LoadLE32(p + 24));
    h.YPelsPerMeter = static_cast<int32_t>(LoadLE32(p + 28));
    h.ClrUsed = LoadLE32(p + 32);
    h.ClrImportant = LoadLE32(p + 36);
    return h;
}

inline void StoreInfoHeader(uint8_t* p, const BitmapInfoHeader& h) {
    StoreLE32(p, h.Size);
    StoreLE32(p + 4, static_cast<uint32_t>(h.Width));
    StoreLE32(p + 8, static_cast<uint32_t>(h.Height));
    StoreLE16(p + 12, h.Planes);
    StoreLE16(p + 14, h.BitCount);
    StoreLE32(p + 16, h.Compression);
    StoreLE32(p + 20, h.SizeImage);
    StoreLE32(p + 24, static_cast<uint32_t>(h.XPelsPerMeter));
    StoreLE32(p + 28, static_cast<uint32_t>(h.YPelsPerMeter));
    StoreLE32(p + 32, h.ClrUsed);
    StoreLE32(p + 36, h.ClrImportant);
}

}  // namespace ruvelto::image
