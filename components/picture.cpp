#include "components/picture.h"

#include <algorithm>
#include <cstdlib>
#include <vector>

namespace ruvelto::components {

DecodedPicture* DecodePicture(const uint8_t*, uint32_t) {
    // The format decoders come with the picture box; until then no bytes make a picture, and
    // every component shows itself without one.
    return nullptr;
}

void ReleasePicture(DecodedPicture* picture) {
    if (!picture) return;
    if (picture->icon) DestroyIcon(picture->icon);
    std::free(picture->pixels);
    picture->kind = kPictureNone;
    delete picture;
}

bool MakeDrawable(HDC dc, const DecodedPicture& picture, PictureDrawable* drawable) {
    *drawable = {picture.kind, picture.width, picture.height, dc, nullptr, nullptr};
    if (IsIconPicture(picture)) {
        drawable->icon = picture.icon;
        return picture.icon != nullptr;
    }
    if (!picture.pixels || picture.width <= 0 || picture.height <= 0) return false;
    switch (picture.kind) {
        case kPictureJpeg:
        case kPictureBmp: {
            // 24-bit rows packed without gaps; a DIB wants each row padded to 4 bytes.
            const size_t packed = size_t(picture.width) * 3;
            const size_t padded = (packed + 3) & ~size_t(3);
            if (packed * size_t(picture.height) > picture.size) return false;
            std::vector<uint8_t> rows(padded * size_t(picture.height));
            for (int32_t y = 0; y < picture.height; ++y)
                std::copy_n(picture.pixels + y * packed, packed, rows.begin() + y * padded);
            BITMAPINFOHEADER header{};
            header.biSize = sizeof header;
            header.biWidth = picture.width;
            header.biHeight = picture.height;
            header.biPlanes = 1;
            header.biBitCount = 24;
            drawable->bitmap = CreateDIBitmap(dc, &header, CBM_INIT, rows.data(),
                                              reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
            break;
        }
        case kPictureGif:
        case kPicturePcx256: {
            auto* info = reinterpret_cast<BITMAPINFO*>(picture.pixels);
            const uint8_t* bits = picture.pixels + sizeof(BITMAPINFOHEADER) + 256 * sizeof(RGBQUAD);
            drawable->bitmap = CreateDIBitmap(dc, &info->bmiHeader, CBM_INIT, bits, info, DIB_RGB_COLORS);
            break;
        }
        case kPicturePcxMono:
            drawable->bitmap = CreateBitmap(picture.width, picture.height, 1, 1, picture.pixels);
            break;
        default: return false;
    }
    return drawable->bitmap != nullptr;
}

void DeleteDrawable(PictureDrawable* drawable) {
    if (drawable->bitmap) DeleteObject(drawable->bitmap);
    drawable->bitmap = nullptr;
}

void DrawPicture(HDC dc, const PictureDrawable& drawable, int x, int y, int width, int height, DWORD rasterOperation) {
    if (width == -1) width = drawable.width;
    if (height == -1) height = drawable.height;
    if (drawable.icon) {
        DrawIconEx(dc, x, y, drawable.icon, width, height, 0, nullptr, DI_NORMAL);
        return;
    }
    if (!drawable.bitmap) return;
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, drawable.bitmap);
    SetStretchBltMode(dc, GetDeviceCaps(dc, BITSPIXEL) > 16 ? HALFTONE : COLORONCOLOR);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchBlt(dc, x, y, width, height, source, 0, 0, drawable.width, drawable.height, rasterOperation);
    SelectObject(source, old);
    DeleteDC(source);
}

}  // namespace ruvelto::components
