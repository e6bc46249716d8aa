// Pictures as the components show them: picture-file bytes decoded into a picture object, a
// drawable made from it for one device context, and drawing at a size. Buttons show the
// drawable's icon or bitmap; labels draw it as their background.
#pragma once
#include <windows.h>

#include <cstdint>

namespace ruvelto::components {

enum PictureKind : uint32_t {
    kPictureNone = 0,
    kPictureJpeg = 1,
    kPictureBmp = 2,
    kPictureIcon = 3,
    kPictureCursor = 4,
    kPictureGif = 5,
    kPicturePcx256 = 6,
    kPicturePcxMono = 7,
};

struct DecodedPicture {
    uint32_t kind = kPictureNone;
    int32_t width = 0;
    int32_t height = 0;
    HICON icon = nullptr;       // icons and cursors
    uint8_t* pixels = nullptr;  // the kind's pixel data
    uint32_t size = 0;
};

struct PictureDrawable {
    uint32_t kind = kPictureNone;
    int32_t width = 0;
    int32_t height = 0;
    HDC dc = nullptr;
    HICON icon = nullptr;       // kinds 3 and 4: owned by the picture
    HBITMAP bitmap = nullptr;   // other kinds: owned by the drawable
};

// Null when the bytes are no picture the decoder knows.
DecodedPicture* DecodePicture(const uint8_t* bytes, uint32_t length);
void ReleasePicture(DecodedPicture* picture);

inline bool IsIconPicture(const DecodedPicture& picture) {
    return picture.kind == kPictureIcon || picture.kind == kPictureCursor;
}

// False when no drawable can be made for the picture.
bool MakeDrawable(HDC dc, const DecodedPicture& picture, PictureDrawable* drawable);
// Deletes the drawable's bitmap; the icon stays with the picture.
void DeleteDrawable(PictureDrawable* drawable);
// Width or height -1: the picture's own. Icons are drawn with DrawIconEx; bitmaps stretched with
// the raster operation.
void DrawPicture(HDC dc, const PictureDrawable& drawable, int x, int y, int width, int height,
                 DWORD rasterOperation = SRCCOPY);

}  // namespace ruvelto::components
