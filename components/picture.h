// Pictures as the components show them: picture-file bytes decoded into a picture object, a
// drawable made from it for one device context, and drawing at a size. Buttons show the
// drawable's icon or bitmap; labels draw it as their background.
#pragma once
#include <windows.h>

#include <cstdint>

#include "components/picture_decoder.h"

namespace ruvelto::components {

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

// Null when the bytes are no picture the decoder knows. Icon and cursor files give the image
// `iconWidth` pixels wide (32 for pictures and big icons, 16 for small icons).
DecodedPicture* DecodePicture(const uint8_t* bytes, uint32_t length, int iconWidth = 32);
// The same for a file (opened read-only, sharing everything); null when it cannot be read.
DecodedPicture* DecodePictureFile(const char* fileName);
// Destroys the icon, frees the pixel data and the object; null does nothing.
void ReleasePicture(DecodedPicture* picture);

// The runtime's decode-to-bitmap service: a bitmap the caller owns, or null for bytes that are no
// picture. Icons and cursors are drawn on white at their own size.
HBITMAP DecodePictureToBitmap(const uint8_t* bytes, uint32_t length);

inline bool IsIconPicture(const DecodedPicture& picture) {
    return picture.kind == kPictureIcon || picture.kind == kPictureCursor;
}

// False when no drawable can be made for the picture.
bool MakeDrawable(HDC dc, const DecodedPicture& picture, PictureDrawable* drawable);
// Deletes the drawable's bitmap; the icon stays with the picture.
void DeleteDrawable(PictureDrawable* drawable);
// Width or height -1: the picture's own. Icons are drawn with DrawIconEx; bitmaps stretched with
// the raster operation, or, for an operation below 0, drawn with the colour -operation as
// transparent.
void DrawPicture(HDC dc, const PictureDrawable& drawable, int x, int y, int width, int height,
                 int32_t rasterOperation = SRCCOPY);

// HALFTONE on displays of more than 16 bits per pixel, else COLORONCOLOR.
int PictureStretchMode(HDC dc);
// Stretches `source` (a DC holding a bitmap) onto `dc`, leaving the destination where the source
// has the colour `key`.
void DrawTransparent(HDC dc, int x, int y, int width, int height, HDC source, int sourceWidth,
                     int sourceHeight, COLORREF key);

}  // namespace ruvelto::components
