// Lifecycle of the image object: creation under the memory bound, release, and the three ways
// settings and buffers move between objects (Transfer, CopyInfo, Ghost).
#include "image/image.h"

#include <cmath>
#include <cstdlib>
#include <cstring>

#include "image/bitmap_header.h"
#include "image/stream.h"

namespace ruvelto::image {

namespace {
uint64_t g_pixelMemoryBound = kPixelMemoryBound;
}

void SetPixelMemoryBoundForTesting(uint64_t bound) { g_pixelMemoryBound = bound; }

uint64_t PixelMemoryBound() { return g_pixelMemoryBound; }

bool WithinPixelMemoryBound(uint64_t width, uint64_t height, uint64_t bits) {
    if (width == 0 || height == 0 || bits == 0) return true;
    if (width > UINT32_MAX || height > UINT32_MAX || bits > UINT32_MAX) return false;
    const uint64_t pixels = width * height;
    return pixels <= UINT64_MAX / bits && pixels * bits / 256 <= g_pixelMemoryBound;
}

namespace {

uint32_t RoundedBits(uint32_t bits) { return bits <= 1 ? 1 : bits <= 4 ? 4 : bits <= 8 ? 8 : 24; }

// The bytes Create allocates for the picture, or 0 when the picture is over the bound: width x
// height x bits / 256 against the bound (as WithinPixelMemoryBound). Beyond that the header's
// signed fields must hold the size, and the block must fit the address space of the 32-bit
// program (2 GB): an 8-bit picture of 65535 x 65535 passes the bound but could never be
// allocated there, and is refused before trying rather than after.
uint64_t PictureBytes(uint32_t width, uint32_t height, uint32_t bits) {
    if (!WithinPixelMemoryBound(width, height, bits)) return 0;
    const uint64_t effWidth = (uint64_t{width} * bits + 31) / 32 * 4;
    const uint64_t paletteBytes = bits == 24 ? 0 : 4u << bits;
    const uint64_t total = kInfoHeaderSize + paletteBytes + effWidth * height;
    if (width > INT32_MAX || height > INT32_MAX || total > INT32_MAX || total > SIZE_MAX) return 0;
    return total;
}

}  // namespace

bool FitsPixelMemoryBound(uint32_t width, uint32_t height, uint32_t bits) {
    return width && height && PictureBytes(width, height, RoundedBits(bits)) != 0;
}

void FreeMemory(void* buffer) { std::free(buffer); }

Image::Image(int32_t format) { Startup(format); }

Image::~Image() { Destroy(); }

void Image::Startup(int32_t format) {
    Dib = nullptr;
    Selection = nullptr;
    Alpha = nullptr;
    Layers = nullptr;
    Header = BitmapInfoHeader{};
    Info = ImageInfo{};
    Info.Type = format;
    SetXDPI(96);
    SetYDPI(96);
}

void Image::SetLastError(const char* text) {
    std::strncpy(Info.LastError, text, sizeof Info.LastError - 1);
    Info.LastError[sizeof Info.LastError - 1] = 0;
}

namespace {
// Densities from files can be absurd; the header field keeps the largest it can hold.
int32_t PelsPerMeter(int32_t dpi) {
    const double ppm = std::floor(dpi * 39.37007874015748 + 0.5);
    return ppm >= 2147483647.0 ? INT32_MAX : static_cast<int32_t>(ppm);
}
}  // namespace

void Image::SetXDPI(int32_t dpi) {
    Info.XDPI = dpi > 0 ? dpi : 96;
    Header.XPelsPerMeter = PelsPerMeter(Info.XDPI);
}

void Image::SetYDPI(int32_t dpi) {
    Info.YDPI = dpi > 0 ? dpi : 96;
    Header.YPelsPerMeter = PelsPerMeter(Info.YDPI);
}

uint8_t* Image::Create(uint32_t width, uint32_t height, uint32_t bits, int32_t format) {
    if (!Destroy()) return nullptr;
    if (width == 0 || height == 0) {
        SetLastError(kErrZeroSize);
        return nullptr;
    }
    bits = RoundedBits(bits);
    const uint64_t total = PictureBytes(width, height, bits);
    if (total == 0) {
        SetLastError(kErrMemoryBound);
        return nullptr;
    }
    const uint64_t effWidth = (uint64_t{width} * bits + 31) / 32 * 4;

    Header.ClrUsed = bits == 24 ? 0 : 1u << bits;
    Info.Type = format;
    Info.EffWidth = static_cast<uint32_t>(effWidth);
    Header.Size = kInfoHeaderSize;
    Header.Width = static_cast<int32_t>(width);
    Header.Height = static_cast<int32_t>(height);
    Header.Planes = 1;
    Header.BitCount = static_cast<uint16_t>(bits);
    Header.Compression = 0;
    Header.SizeImage = static_cast<uint32_t>(effWidth * height);
    Header.ClrImportant = 0;

    Dib = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(total)));
    if (!Dib) {
        SetLastError(kErrNoMemory);
        return nullptr;
    }
    std::memset(Dib + kInfoHeaderSize, 0, GetPaletteSize());
    InvalidateNearestCache();
    std::free(Selection);
    Selection = nullptr;
    AlphaDelete();
    StoreInfoHeader(Dib, Header);
    Info.Bits = Dib + kInfoHeaderSize + GetPaletteSize();
    return Dib;
}

bool Image::Destroy() {
    if (Info.GhostOf) return false;
    if (Layers) {
        for (int32_t i = 0; i < Info.NumLayers; ++i) delete Layers[i];
        delete[] Layers;
        Layers = nullptr;
    }
    std::free(Selection);
    Selection = nullptr;
    std::free(Alpha);
    Alpha = nullptr;
    std::free(Dib);
    Dib = nullptr;
    Info.Bits = nullptr;
    Metadata.reset();
    return true;
}

bool Image::Transfer(Image& source) {
    if (&source == this || !Destroy()) return false;
    Header = source.Header;
    Info = source.Info;
    Dib = source.Dib;
    Selection = source.Selection;
    Alpha = source.Alpha;
    Layers = source.Layers;
    Metadata = std::move(source.Metadata);
    source.Header = BitmapInfoHeader{};
    source.Info = ImageInfo{};
    source.Info.JpegQuality = 0;
    source.Info.AlphaMax = 0;
    source.Info.TransIndex = 0;
    source.Info.Enabled = false;
    source.Info.XDPI = source.Info.YDPI = 0;
    source.Dib = nullptr;
    source.Selection = nullptr;
    source.Alpha = nullptr;
    source.Layers = nullptr;
    return true;
}

void Image::CopyInfo(const Image& source) {
    if (Dib || &source == this) return;
    Info = source.Info;
    // The pointers name the source's buffers and role; this object owns neither.
    Info.Bits = nullptr;
    Info.GhostOf = nullptr;
}

void Image::Ghost(Image& source) {
    Destroy();
    Header = source.Header;
    Info = source.Info;
    Dib = source.Dib;
    Selection = source.Selection;
    Alpha = source.Alpha;
    Layers = source.Layers;
    Metadata = source.Metadata;
    Info.GhostOf = &source;
}

bool Image::EncodeSafeCheck(Stream* stream) {
    if (!stream) {
        SetLastError(kErrNoStream);
        return false;
    }
    if (!Dib) {
        SetLastError(kErrNoPicture);
        return false;
    }
    return true;
}

uint8_t* Image::GetBits(uint32_t row) const {
    if (!Dib || !Info.Bits) return nullptr;
    if (row == 0) return Info.Bits;
    if (row >= GetHeight()) return nullptr;
    return Info.Bits + size_t{row} * Info.EffWidth;
}

RgbQuad* Image::GetPalette() const {
    if (!Dib || Header.ClrUsed == 0) return nullptr;
    return reinterpret_cast<RgbQuad*>(Dib + kInfoHeaderSize);
}

}  // namespace ruvelto::image
