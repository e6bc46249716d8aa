#include "components/picture.h"

#include <algorithm>
#include <cstdlib>
#include <new>

namespace ruvelto::components {
namespace {

DecodedPicture* IconPicture(const uint8_t* bytes, uint32_t length, uint32_t kind, int iconWidth) {
    IconImage image;
    if (!ChooseIconImage(bytes, length, iconWidth, &image)) return nullptr;
    auto* data = const_cast<uint8_t*>(bytes + image.offset);
    // Cursor files are made as icons too: their images carry no hotspot.
    HICON icon = CreateIconFromResourceEx(data, image.size, TRUE, 0x00030000, image.width, image.height, 0);
    if (!icon && image.bitCount != 16) icon = CreateIconFromResource(data, image.size, TRUE, 0x00030000);
    if (!icon) return nullptr;
    auto* picture = new (std::nothrow) DecodedPicture;
    if (!picture) {
        DestroyIcon(icon);
        return nullptr;
    }
    picture->kind = kind;
    picture->width = image.width;
    picture->height = image.height;
    picture->icon = icon;
    return picture;
}

}  // namespace

DecodedPicture* DecodePicture(const uint8_t* bytes, uint32_t length, int iconWidth) {
    const uint32_t format = PictureFormatOf(bytes, length);
    if (format == kPictureIcon || format == kPictureCursor) return IconPicture(bytes, length, format, iconWidth);
    PicturePixels pixels;
    if (!DecodePicturePixels(bytes, length, &pixels)) return nullptr;
    auto* picture = new (std::nothrow) DecodedPicture;
    if (!picture) {
        std::free(pixels.pixels);
        return nullptr;
    }
    picture->kind = pixels.kind;
    picture->width = pixels.width;
    picture->height = pixels.height;
    picture->pixels = pixels.pixels;
    picture->size = pixels.size;
    return picture;
}

DecodedPicture* DecodePictureFile(const char* fileName) {
    if (!fileName || !*fileName) return nullptr;
    HANDLE file = CreateFileA(fileName, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return nullptr;
    LARGE_INTEGER size{};
    PixelBlock bytes;
    bool read = GetFileSizeEx(file, &size) && size.QuadPart > 0 && uint64_t(size.QuadPart) <= PictureByteLimit() &&
                bytes.Allocate(static_cast<size_t>(size.QuadPart));
    if (read) {
        DWORD got = 0;
        read = ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &got, nullptr) && got == bytes.size();
    }
    CloseHandle(file);
    return read ? DecodePicture(bytes.data(), static_cast<uint32_t>(bytes.size())) : nullptr;
}

void ReleasePicture(DecodedPicture* picture) {
    if (!picture) return;
    if (picture->icon) DestroyIcon(picture->icon);
    std::free(picture->pixels);
    *picture = {};
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
            if (uint64_t(packed) * uint64_t(picture.height) > picture.size) return false;
            BITMAPINFOHEADER header{};
            header.biSize = sizeof header;
            header.biWidth = picture.width;
            header.biHeight = picture.height;
            header.biPlanes = 1;
            header.biBitCount = 24;
            const uint8_t* bits = picture.pixels;
            PixelBlock rows;
            if (padded != packed) {
                // No memory for the padded copy: nothing to draw this time.
                if (!rows.Allocate(padded * size_t(picture.height))) return false;
                for (int32_t y = 0; y < picture.height; ++y)
                    std::copy_n(picture.pixels + y * packed, packed, rows.data() + y * padded);
                bits = rows.data();
            }
            drawable->bitmap = CreateDIBitmap(dc, &header, CBM_INIT, bits, reinterpret_cast<BITMAPINFO*>(&header),
                                              DIB_RGB_COLORS);
            break;
        }
        case kPictureGif:
        case kPicturePcx256: {
            if (picture.size < kDibHeadBytes) return false;
            auto* info = reinterpret_cast<BITMAPINFO*>(picture.pixels);
            const uint8_t* bits = picture.pixels + kDibHeadBytes;
            HBITMAP dib = CreateDIBitmap(dc, &info->bmiHeader, CBM_INIT, bits, info, DIB_RGB_COLORS);
            if (picture.kind == kPicturePcx256 || !dib) {
                drawable->bitmap = dib;
                break;
            }
            // A GIF's bitmap is copied into one compatible with the DC.
            drawable->bitmap = CreateCompatibleBitmap(dc, picture.width, picture.height);
            if (drawable->bitmap) {
                HDC from = CreateCompatibleDC(dc), to = CreateCompatibleDC(dc);
                HGDIOBJ oldFrom = SelectObject(from, dib), oldTo = SelectObject(to, drawable->bitmap);
                BitBlt(to, 0, 0, picture.width, picture.height, from, 0, 0, SRCCOPY);
                SelectObject(from, oldFrom), SelectObject(to, oldTo);
                DeleteDC(from), DeleteDC(to);
            }
            DeleteObject(dib);
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

int PictureStretchMode(HDC dc) {
    HDC screen = dc ? nullptr : GetDC(nullptr);
    const int bits = GetDeviceCaps(dc ? dc : screen, BITSPIXEL);
    if (screen) ReleaseDC(nullptr, screen);
    return bits > 16 ? HALFTONE : COLORONCOLOR;
}

void DrawTransparent(HDC dc, int x, int y, int width, int height, HDC source, int sourceWidth,
                     int sourceHeight, COLORREF key) {
    // The mask: white where the source has the key colour, black elsewhere.
    HDC maskDc = CreateCompatibleDC(dc);
    HBITMAP mask = CreateBitmap(sourceWidth, sourceHeight, 1, 1, nullptr);
    HGDIOBJ oldMask = SelectObject(maskDc, mask);
    const COLORREF oldBack = SetBkColor(source, key);
    BitBlt(maskDc, 0, 0, sourceWidth, sourceHeight, source, 0, 0, SRCCOPY);
    // Source XOR destination, masked to keep the destination where the key was, XOR source again.
    const COLORREF oldText = SetTextColor(dc, RGB(0, 0, 0));
    const COLORREF oldDestBack = SetBkColor(dc, RGB(255, 255, 255));
    StretchBlt(dc, x, y, width, height, source, 0, 0, sourceWidth, sourceHeight, SRCINVERT);
    StretchBlt(dc, x, y, width, height, maskDc, 0, 0, sourceWidth, sourceHeight, SRCAND);
    StretchBlt(dc, x, y, width, height, source, 0, 0, sourceWidth, sourceHeight, SRCINVERT);
    SetTextColor(dc, oldText);
    SetBkColor(dc, oldDestBack);
    SetBkColor(source, oldBack);
    SelectObject(maskDc, oldMask);
    DeleteObject(mask);
    DeleteDC(maskDc);
}

void DrawPicture(HDC dc, const PictureDrawable& drawable, int x, int y, int width, int height, int32_t rasterOperation) {
    if (width == -1) width = drawable.width;
    if (height == -1) height = drawable.height;
    if (drawable.icon) {
        DrawIconEx(dc, x, y, drawable.icon, width, height, 0, nullptr, DI_NORMAL);
        return;
    }
    if (!drawable.bitmap) return;
    HDC source = CreateCompatibleDC(dc);
    HGDIOBJ old = SelectObject(source, drawable.bitmap);
    SetStretchBltMode(dc, PictureStretchMode(dc));
    SetBrushOrgEx(dc, 0, 0, nullptr);
    if (rasterOperation < 0) {
        const int64_t key = -int64_t{rasterOperation};
        DrawTransparent(dc, x, y, width, height, source, drawable.width, drawable.height,
                        static_cast<COLORREF>(key));
    } else {
        StretchBlt(dc, x, y, width, height, source, 0, 0, drawable.width, drawable.height,
                   static_cast<DWORD>(rasterOperation));
    }
    SelectObject(source, old);
    DeleteDC(source);
}

HBITMAP DecodePictureToBitmap(const uint8_t* bytes, uint32_t length) {
    DecodedPicture* picture = DecodePicture(bytes, length);
    if (!picture) return nullptr;
    HDC screen = GetDC(nullptr);
    HBITMAP bitmap = nullptr;
    PictureDrawable drawable;
    if (IsIconPicture(*picture)) {
        bitmap = CreateCompatibleBitmap(screen, picture->width, picture->height);
        if (bitmap) {
            HDC memory = CreateCompatibleDC(screen);
            HGDIOBJ old = SelectObject(memory, bitmap);
            PatBlt(memory, 0, 0, picture->width, picture->height, WHITENESS);
            DrawIconEx(memory, 0, 0, picture->icon, picture->width, picture->height, 0, nullptr, DI_NORMAL);
            SelectObject(memory, old);
            DeleteDC(memory);
        }
    } else if (MakeDrawable(screen, *picture, &drawable)) {
        bitmap = drawable.bitmap;  // the caller's now
    }
    ReleaseDC(nullptr, screen);
    ReleasePicture(picture);
    return bitmap;
}

}  // namespace ruvelto::components
