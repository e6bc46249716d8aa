// Metafile decoding through Win32 GDI: placeable WMF (converted to an enhanced metafile at the
// screen's resolution), plain WMF and EMF, played onto a bitmap filled with the window colour.
#include <windows.h>

#include <algorithm>
#include <memory>
#include <new>
#include <vector>

#include "image/byte_order.h"
#include "image/metafile_records.h"
#include "image/stream.h"
#include "image/wmf_codec.h"

namespace ruvelto::image {

const bool kMetafilesRender = true;

namespace {

constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr size_t kPlaceableSize = 22;
constexpr size_t kMetaHeaderSize = 18;
// Metafiles are records of drawing calls; anything larger than this is not a picture we render.
constexpr int64_t kMaxMetafileBytes = int64_t(256) << 20;

struct ScreenDc {
    HDC dc = GetDC(nullptr);
    ~ScreenDc() {
        if (dc) ReleaseDC(nullptr, dc);
    }
};

bool ReadBytes(Stream& s, int64_t at, size_t n, std::vector<uint8_t>& out) {
    try {
        out.resize(n);
    } catch (const std::bad_alloc&) {
        return false;
    }
    return s.Seek(at, kSeekSet) && (n == 0 || s.Read(out.data(), n, 1) == 1);
}

// A Windows metafile header: type 1 (memory) or 2 (disk), nine words long, and a size in words
// that the data really holds.
bool PlausibleMetaHeader(const uint8_t* h, int64_t available, size_t* bytes) {
    const uint16_t type = LoadLE16(h);
    const uint16_t headerWords = LoadLE16(h + 2);
    const uint64_t size = uint64_t{LoadLE32(h + 6)} * 2;
    if ((type != 1 && type != 2) || headerWords != 9 || size < kMetaHeaderSize || size > uint64_t(available)) return false;
    *bytes = size_t(size);
    return true;
}

// The converter takes memory metafiles only, of an even length that their header states; disk
// metafiles differ in nothing but the type word, and writers disagree on what the size counts.
void PrepareForConversion(std::vector<uint8_t>& data) {
    data.resize(data.size() & ~size_t(1));
    StoreLE16(data.data(), 1);
    StoreLE32(data.data() + 6, uint32_t(data.size() / 2));
}

// The size of an enhanced metafile: its bounds, inclusive on both sides; when those are empty,
// its frame (hundredths of a millimetre) at the screen's resolution.
PlaceableSize EnhancedSize(HENHMETAFILE emf, int32_t dpiX, int32_t dpiY) {
    ENHMETAHEADER header = {};
    if (!GetEnhMetaFileHeader(emf, sizeof header, &header)) return {0, 0};
    int64_t w = int64_t{header.rclBounds.right} - header.rclBounds.left + 1;
    int64_t h = int64_t{header.rclBounds.bottom} - header.rclBounds.top + 1;
    if (w <= 1 || h <= 1) {
        w = (int64_t{header.rclFrame.right} - header.rclFrame.left) * dpiX / 2540;
        h = (int64_t{header.rclFrame.bottom} - header.rclFrame.top) * dpiY / 2540;
    }
    if (w <= 0 || h <= 0 || w > INT32_MAX || h > INT32_MAX) return {0, 0};
    return {int32_t(w), int32_t(h)};
}

}  // namespace

bool WmfCodec::Decode(Stream& s) {
    const int64_t start = s.Tell();
    const int64_t size = s.Size();
    const int64_t available = size - start;
    if (start < 0 || available <= 0 || available > kMaxMetafileBytes) return Fail(kErrWmfDamaged);
    ScreenDc screen;
    if (!screen.dc) return Fail(kErrWmfDamaged);
    const int32_t dpiX = GetDeviceCaps(screen.dc, LOGPIXELSX);
    const int32_t dpiY = GetDeviceCaps(screen.dc, LOGPIXELSY);

    HENHMETAFILE emf = nullptr;
    PlaceableSize pixels = {0, 0};
    std::vector<uint8_t> data;
    uint8_t head[kPlaceableSize + kMetaHeaderSize];
    const bool haveHead = s.Read(head, sizeof head, 1) == 1;
    size_t metaBytes = 0;
    if (haveHead && LoadLE32(head) == kPlaceableKey) {
        // The placeable header: a checksum over its first ten words and a sane units-per-inch.
        uint16_t sum = 0;
        for (int i = 0; i < 10; ++i) sum ^= LoadLE16(head + 2 * i);
        const int32_t inch = LoadLE16(head + 14);
        const int32_t boxWidth = int16_t(LoadLE16(head + 10)) - int32_t(int16_t(LoadLE16(head + 6)));
        const int32_t boxHeight = int16_t(LoadLE16(head + 12)) - int32_t(int16_t(LoadLE16(head + 8)));
        if (sum == LoadLE16(head + 20) && inch >= 1 && inch <= 2540 &&
            PlausibleMetaHeader(head + kPlaceableSize, available, &metaBytes) &&
            // Writers differ on whether the size counts the placeable header; what is there counts.
            ReadBytes(s, start + int64_t(kPlaceableSize),
                      std::min<size_t>(metaBytes, size_t(available) - kPlaceableSize), data) &&
            WindowsMetafileIsSound(data.data(), data.size())) {
            PrepareForConversion(data);
            METAFILEPICT picture = {MM_ANISOTROPIC, int32_t(int64_t{boxWidth} * dpiX / inch),
                                    int32_t(int64_t{boxHeight} * dpiY / inch), nullptr};
            if (picture.xExt > 0 && picture.yExt > 0) {
                while (picture.xExt < 6554 && picture.yExt < 6554) {
                    picture.xExt *= 10;
                    picture.yExt *= 10;
                }
            }
            emf = SetWinMetaFileBits(UINT(data.size()), data.data(), screen.dc, &picture);
            if (!emf) {
                picture.mm = MM_TEXT;
                emf = SetWinMetaFileBits(UINT(data.size()), data.data(), screen.dc, &picture);
            }
            pixels = PlaceablePixels(boxWidth, boxHeight, inch, dpiX, dpiY);
        }
    }
    if (!emf && ReadBytes(s, start, size_t(available), data)) {
        if (EnhancedMetafileIsSound(data.data(), data.size()))
            emf = SetEnhMetaFileBits(UINT(data.size()), data.data());
        // A plain Windows metafile without the placeable header is converted at the screen's
        // resolution; its size is what the conversion finds it draws.
        if (!emf && PlausibleMetaHeader(data.data(), available, &metaBytes) &&
            WindowsMetafileIsSound(data.data(), metaBytes)) {
            data.resize(metaBytes);
            PrepareForConversion(data);
            emf = SetWinMetaFileBits(UINT(data.size()), data.data(), screen.dc, nullptr);
        }
        if (emf) pixels = EnhancedSize(emf, dpiX, dpiY);
    }
    if (!emf) return Fail(kErrWmfDamaged);
    struct Owned {
        HENHMETAFILE emf;
        ~Owned() { DeleteEnhMetaFile(emf); }
    } owned{emf};

    if (Info.Escape) return Fail(kErrWmfCancelled);
    if (pixels.width <= 0 || pixels.height <= 0) return Fail(kErrWmfEmpty);
    pixels = LimitMetafileSize(pixels);
    if (pixels.width <= 0 || pixels.height <= 0) return Fail(kErrWmfEmpty);

    // Play it onto a screen-compatible bitmap over the window colour, with its own palette.
    HDC memory = CreateCompatibleDC(screen.dc);
    HBITMAP bitmap = CreateCompatibleBitmap(screen.dc, pixels.width, pixels.height);
    if (!memory || !bitmap) {
        if (bitmap) DeleteObject(bitmap);
        if (memory) DeleteDC(memory);
        return Fail(kErrNoMemory);
    }
    HGDIOBJ previous = SelectObject(memory, bitmap);
    RECT area = {0, 0, pixels.width, pixels.height};
    FillRect(memory, &area, GetSysColorBrush(COLOR_WINDOW));
    HPALETTE palette = nullptr;
    const UINT entries = GetEnhMetaFilePaletteEntries(emf, 0, nullptr);
    if (entries > 0 && entries != GDI_ERROR && entries <= 256) {
        std::vector<uint8_t> logical(sizeof(LOGPALETTE) + entries * sizeof(PALETTEENTRY));
        LOGPALETTE* lp = reinterpret_cast<LOGPALETTE*>(logical.data());
        lp->palVersion = 0x300;
        lp->palNumEntries = WORD(entries);
        GetEnhMetaFilePaletteEntries(emf, entries, lp->palPalEntry);
        palette = CreatePalette(lp);
        if (palette) {
            SelectPalette(memory, palette, FALSE);
            RealizePalette(memory);
        }
    }
    PlayEnhMetaFile(memory, emf, &area);
    SelectObject(memory, previous);

    const int bits = GetDeviceCaps(screen.dc, BITSPIXEL) * GetDeviceCaps(screen.dc, PLANES);
    bool read = false;
    if (Create(uint32_t(pixels.width), uint32_t(pixels.height), uint32_t(bits), IMAGE_FORMAT_WMF)) {
        // The Dib starts with the information header and palette GetDIBits wants.
        read = GetDIBits(memory, bitmap, 0, UINT(pixels.height), GetBits(), reinterpret_cast<BITMAPINFO*>(Dib),
                         DIB_RGB_COLORS) == pixels.height;
        Header.ClrImportant = 0;
    }
    if (palette) DeleteObject(palette);
    DeleteObject(bitmap);
    DeleteDC(memory);
    return read;
}

}  // namespace ruvelto::image
