// The image object: an in-memory device-independent bitmap (header, palette and pixel rows in one
// block) with an optional alpha plane, selection mask and frame layers, plus the settings that
// travel between the caller and the codecs. Portable: no windows.h.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>

namespace ruvelto::image {

class Stream;
struct PhotoMetadata;

// One numbering names the picture formats everywhere.
enum ImageFormat : int32_t {
    IMAGE_FORMAT_UNKNOWN = 0,
    IMAGE_FORMAT_BMP = 1,
    IMAGE_FORMAT_GIF = 2,
    IMAGE_FORMAT_JPG = 3,
    IMAGE_FORMAT_PNG = 4,
    IMAGE_FORMAT_ICO = 5,
    IMAGE_FORMAT_TIF = 6,
    IMAGE_FORMAT_TGA = 7,
    IMAGE_FORMAT_PCX = 8,
    IMAGE_FORMAT_WBMP = 9,
    IMAGE_FORMAT_WMF = 10,
    IMAGE_FORMAT_JP2 = 11,
    IMAGE_FORMAT_JPC = 12,
    IMAGE_FORMAT_PGX = 13,
    IMAGE_FORMAT_PNM = 14,
    IMAGE_FORMAT_RAS = 15,
};
constexpr int kFormatSlots = 16;

// A colour as stored in palettes: blue, green, red, reserved (alpha where stated).
struct RgbQuad {
    uint8_t blue = 0;
    uint8_t green = 0;
    uint8_t red = 0;
    uint8_t reserved = 0;
};
static_assert(sizeof(RgbQuad) == 4);

struct RgbTriple {
    uint8_t red = 0;
    uint8_t green = 0;
    uint8_t blue = 0;
};

// The Windows bitmap-information header, 40 bytes; also the first 40 bytes of every Dib.
struct BitmapInfoHeader {
    uint32_t Size = 0;
    int32_t Width = 0;
    int32_t Height = 0;
    uint16_t Planes = 0;
    uint16_t BitCount = 0;
    uint32_t Compression = 0;
    uint32_t SizeImage = 0;
    int32_t XPelsPerMeter = 0;
    int32_t YPelsPerMeter = 0;
    uint32_t ClrUsed = 0;
    uint32_t ClrImportant = 0;
};
static_assert(sizeof(BitmapInfoHeader) == 40);
constexpr uint32_t kInfoHeaderSize = 40;

class Image;

// The fixed record copied as a whole between objects (CopyInfo, Transfer, Ghost).
struct ImageInfo {
    uint32_t EffWidth = 0;       // bytes per pixel row
    uint8_t* Bits = nullptr;     // row 0 inside Dib
    Image* GhostOf = nullptr;    // the object whose buffers a ghost borrows
    int32_t Type = 0;
    char LastError[256] = {};
    int32_t Progress = 0;
    int32_t Escape = 0;          // nonzero: stop; -1: report dimensions only
    int32_t TransIndex = -1;
    RgbQuad TransColor;
    uint8_t JpegQuality = 90;
    uint8_t JpegScale = 0;
    int32_t Frame = 0;
    int32_t NumFrames = 0;
    int32_t FrameDelay = 0;
    int32_t XDPI = 96;
    int32_t YDPI = 96;
    int32_t SelectionLeft = 0;
    int32_t SelectionTop = 0;
    int32_t SelectionRight = 0;
    int32_t SelectionBottom = 0;
    uint8_t AlphaMax = 255;
    bool AlphaPaletteEnabled = false;
    bool Enabled = true;
    int32_t OffsetX = 0;
    int32_t OffsetY = 0;
    int32_t CodecOption[kFormatSlots] = {};
    RgbQuad NearestColor;        // the nearest-colour cache
    uint8_t NearestIndex = 0;
    bool NearestValid = false;
    int32_t NumLayers = 0;
    uint32_t Flags = 0;          // IMAGE_FLAG_* below
};

// Flags: set by the caller, encoders leave the EXIF block out (the colour profile stays).
constexpr uint32_t IMAGE_FLAG_NO_EXIF = 0x1;
// Set by the last decode: the file had an EXIF block that could not be read, and it was dropped.
constexpr uint32_t IMAGE_FLAG_EXIF_DROPPED = 0x2;

// Object texts.
inline constexpr const char kErrZeroSize[] = "\xB4\xB4\xBD\xA8\xCD\xBC\xCF\xF1\xB6\xD4\xCF\xF3: \xB8\xDF\xB6\xC8\xBA\xCD\xBF\xED\xB6\xC8\xB1\xD8\xD0\xEB\xB4\xF3\xD3\xDA\xC1\xE3";  // 创建图像对象: 高度和宽度必须大于零
inline constexpr const char kErrNoMemory[] = "\xB4\xB4\xBD\xA8\xCD\xBC\xCF\xF1\xB6\xD4\xCF\xF3: \xC9\xEA\xC7\xEB\xB2\xBB\xB5\xBD\xC4\xDA\xB4\xE6";  // 创建图像对象: 申请不到内存
inline constexpr const char kErrMemoryBound[] = "\xB3\xAC\xB9\xFD\xB9\xE6\xB6\xA8\xB5\xC4\xCD\xBC\xCF\xF1\xCA\xFD\xBE\xDD\xD5\xBC\xD3\xC3\xB5\xC4\xC4\xDA\xB4\xE6\xB4\xF3\xD0\xA1";  // 超过规定的图像数据占用的内存大小
inline constexpr const char kErrNoStream[] = "\xCE\xC4\xBC\xFE\xBE\xE4\xB1\xFA\xCE\xAA\xBF\xD5\xB5\xC4";  // 文件句柄为空的
inline constexpr const char kErrNoPicture[] = "\xC3\xBB\xD3\xD0\xCD\xBC\xCF\xF1!!!";  // 没有图像!!!
// A file encoded whole whose bytes did not all reach the disk (a full disk, a write error).
inline constexpr const char kErrWriteFailed[] = "\xD0\xB4\xC8\xEB\xCE\xC4\xBC\xFE\xCA\xA7\xB0\xDC";  // 写入文件失败

// The pixel-data bound: width x height x bits / 256 must not exceed this.
constexpr uint64_t kPixelMemoryBound = 256000000;
// Fuzzers lower the bound so that no single picture outgrows their allocation limit.
void SetPixelMemoryBoundForTesting(uint64_t bound);
// The bound in force (fuzzers lower it).
uint64_t PixelMemoryBound();
// Whether width x height x bits of pixel data (or of a codec's working buffers) stays within the
// bound above; codecs whose libraries allocate before Create ask this first.
bool WithinPixelMemoryBound(uint64_t width, uint64_t height, uint64_t bits);
// Whether Create would accept a picture of this size and bit count (before any rounding of the
// bit count) without running into the bound: decoders ask before they look further at a file.
bool FitsPixelMemoryBound(uint32_t width, uint32_t height, uint32_t bits);

class Image {
public:
    explicit Image(int32_t format = IMAGE_FORMAT_UNKNOWN);
    virtual ~Image();
    Image(const Image&) = delete;
    Image& operator=(const Image&) = delete;

    // Lifecycle.
    uint8_t* Create(uint32_t width, uint32_t height, uint32_t bits, int32_t format);
    bool Destroy();
    bool Transfer(Image& source);
    void CopyInfo(const Image& source);
    void Ghost(Image& source);
    bool EncodeSafeCheck(Stream* stream);
    void SetLastError(const char* text);

    // Reading the picture.
    bool IsValid() const { return Dib != nullptr; }
    uint8_t* GetBits(uint32_t row = 0) const;
    RgbQuad* GetPalette() const;
    uint32_t GetPaletteSize() const { return Header.ClrUsed * 4; }
    uint32_t GetSize() const { return kInfoHeaderSize + GetPaletteSize() + Header.SizeImage; }
    uint32_t GetWidth() const { return static_cast<uint32_t>(Header.Width); }
    uint32_t GetHeight() const { return static_cast<uint32_t>(Header.Height); }
    uint32_t GetBpp() const { return Header.BitCount; }
    void SetXDPI(int32_t dpi);
    void SetYDPI(int32_t dpi);

    // Pixels, palette and alpha.
    RgbQuad GetPaletteColor(uint8_t index) const;
    bool GetPaletteColor(uint8_t index, uint8_t* red, uint8_t* green, uint8_t* blue) const;
    void SetPaletteColor(uint8_t index, uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha = 0);
    void SetPaletteColor(uint8_t index, RgbQuad colour);
    void SetPaletteColor(uint8_t index, uint32_t rgb);
    void SetPalette(uint32_t count, const uint8_t* red, const uint8_t* green, const uint8_t* blue);
    void SetPalette(const RgbTriple* triplets, uint32_t count);
    void SetPalette(const RgbQuad* colours, uint32_t count);
    void SetGrayPalette();
    uint8_t GetPixelIndex(int32_t x, int32_t y) const;
    void SetPixelIndex(int32_t x, int32_t y, uint8_t index);
    RgbQuad GetPixelColor(int32_t x, int32_t y, bool withAlpha = true) const;
    void SetPixelColor(int32_t x, int32_t y, RgbQuad colour, bool setAlpha = false);
    void SetPixelColor(int32_t x, int32_t y, uint32_t rgb);
    uint8_t GetNearestIndex(RgbQuad colour);
    RgbQuad GetTransColor() const;
    void SetTransColor(RgbQuad colour);
    bool IsGrayScale() const;
    static int32_t CompareColors(RgbQuad a, RgbQuad b);
    void RGBtoBGR(uint8_t* row, uint32_t length) const;
    bool IsInside(int32_t x, int32_t y) const;

    void AlphaCreate();
    void AlphaDelete();
    bool AlphaIsValid() const { return Alpha != nullptr; }
    void AlphaSet(int32_t x, int32_t y, uint8_t value);
    uint8_t AlphaGet(int32_t x, int32_t y) const;
    void AlphaFlip();
    void AlphaMirror();
    bool AlphaPaletteIsValid() const;

    // Whole-picture operations.
    void Clear(uint8_t value);
    bool Copy(const Image& source, bool pixels = true, bool selection = true, bool alpha = true);
    bool Flip();
    bool Mirror();
    bool RotateLeft();
    bool RotateRight();
    bool Negative();
    void SwapIndex(uint8_t i, uint8_t j);
    // Scales the picture to width x height (a tent filter as wide as an output pixel when
    // shrinking, linear interpolation when enlarging),
    // alpha kept and weighting the colours; palette pictures come out as 24 bits, grey ones as
    // grey. False, with LastError, for no picture, a zero side or too little memory.
    bool Resample(uint32_t width, uint32_t height);
    // Lays a 24-bit picture with an alpha plane over white and drops the plane, for formats that
    // cannot carry alpha. True when there was alpha to lay down; false (nothing changed) otherwise.
    bool AlphaStrip();

    // Decoding and encoding (the format dispatch).
    bool Load(const char* path, int32_t format);
    bool Save(const char* path, int32_t format);
    bool Decode(const uint8_t* bytes, size_t length, int32_t format);
    bool Decode(Stream& stream, int32_t format);
    bool Encode(uint8_t** bufferOut, size_t* sizeOut, int32_t format);
    bool Encode(Stream& stream, int32_t format);

    // Members in their fixed order; codecs and the library work on them directly.
    uint8_t* Dib = nullptr;
    BitmapInfoHeader Header;
    ImageInfo Info;
    uint8_t* Selection = nullptr;
    uint8_t* Alpha = nullptr;
    Image** Layers = nullptr;
    // The EXIF block and colour profile of the decoded photo, shared by ghosts and kept by the
    // transforms; a decode replaces it, Destroy drops it.
    std::shared_ptr<const PhotoMetadata> Metadata;

protected:
    void Startup(int32_t format);
    void InvalidateNearestCache() { Info.NearestValid = false; }
    // The transforms build their result here with this object's settings, ready for Transfer.
    bool MakeWorkingCopy(Image& copy, uint32_t width, uint32_t height) const;
};

// Frees a buffer handed out by Encode (bytes, size, format) or MemStream::GetBuffer.
void FreeMemory(void* buffer);

}  // namespace ruvelto::image
