// The portable half of the core library's picture decoder: picture-file bytes (JPEG, BMP, GIF,
// PCX) turned into the pixel layouts the picture object keeps, the entry an icon or cursor file
// offers, and the frames of an animated GIF. Nothing here touches Win32, so the whole of it runs
// natively under the sanitizers and the fuzzer; picture.cpp adds icons, drawables and drawing.
//
// The bytes are untrusted: every size comes from a header checked against the real data before
// anything is allocated, and no picture may need more than PictureByteLimit() bytes of pixels.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

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

// The format code of the first six bytes, or kPictureNone (also for fewer than six bytes).
uint32_t PictureFormatOf(const uint8_t* bytes, size_t length);

// Pixels of kinds 1, 2, 5, 6 and 7, in a block from std::malloc that the receiver frees:
//   1, 2: 24-bit rows bottom-up, B G R, packed without gaps (width x 3 bytes a row);
//   5, 6: a packed DIB: 40-byte BITMAPINFOHEADER (negative height: rows top-down), 256 palette
//         entries B G R 0, rows padded to 4 bytes (either may instead hold a 24-bit DIB after
//         the same 1064-byte head: PCX files of three or four colour planes, and GIF frames that
//         leave no palette entry for the background);
//   7:    monochrome bitmap rows, each an even number of bytes.
struct PicturePixels {
    uint32_t kind = kPictureNone;
    int32_t width = 0;
    int32_t height = 0;
    uint8_t* pixels = nullptr;
    uint32_t size = 0;
};

// Decodes kinds 1, 2, 5 (the first frame on the logical screen), 6 and 7. False, with nothing
// allocated, when the bytes are none of those or do not decode.
bool DecodePicturePixels(const uint8_t* bytes, size_t length, PicturePixels* out);
bool DecodeJpegPixels(const uint8_t* bytes, size_t length, PicturePixels* out);
bool DecodeBmpPixels(const uint8_t* bytes, size_t length, PicturePixels* out);
bool DecodePcxPixels(const uint8_t* bytes, size_t length, PicturePixels* out);

// The image an icon or cursor file offers for a wanted width: the first entry that wide with
// more than 15 colours (a colour count of 0 stands for 256 or more), else the last entry. Width and height are the image's own (a bitmap's
// width and half its height; a PNG image's header size). False when the file or the image does
// not hold together.
struct IconImage {
    uint32_t offset = 0;
    uint32_t size = 0;
    int32_t width = 0;
    int32_t height = 0;
    uint16_t bitCount = 0;  // 0 for a PNG image
};
bool ChooseIconImage(const uint8_t* bytes, size_t length, int wantedWidth, IconImage* out);

// A zeroed block of bytes from std::calloc. Pixel blocks are the large allocations a picture
// makes: when the memory is not there, Allocate says so and the picture is no picture, rather
// than an exception thrown through a window procedure or a thread.
class PixelBlock {
public:
    bool Allocate(size_t size) {
        bytes_.reset(size ? static_cast<uint8_t*>(std::calloc(1, size)) : nullptr);
        size_ = bytes_ ? size : 0;
        return bytes_ != nullptr;
    }
    uint8_t* data() { return bytes_.get(); }
    const uint8_t* data() const { return bytes_.get(); }
    size_t size() const { return size_; }
    uint8_t& operator[](size_t i) { return bytes_.get()[i]; }
    const uint8_t& operator[](size_t i) const { return bytes_.get()[i]; }

private:
    struct Free {
        void operator()(uint8_t* p) const { std::free(p); }
    };
    std::unique_ptr<uint8_t, Free> bytes_;
    size_t size_ = 0;
};

// A GIF as its frames, for animation.
struct GifFrame {
    int32_t left = 0, top = 0, width = 0, height = 0;
    uint32_t delay = 0;     // hundredths of a second
    uint32_t disposal = 0;  // 0-3 as the graphic control extension says
    bool transparent = false;
    uint8_t transparentIndex = 0;
    PixelBlock dib;  // packed DIB, 8 bits, rows top-down
};
struct GifPicture {
    int32_t screenWidth = 0, screenHeight = 0;
    uint32_t background = 0;  // 0x00BBGGRR of the background colour index (black without a table)
    std::vector<GifFrame> frames;
};
// All frames, or only the first when `firstOnly`. Truncated data stops where it ends, and so does
// a frame whose memory cannot be had; false when not one frame could be read.
bool DecodeGif(const uint8_t* bytes, size_t length, bool firstOnly, GifPicture* out);
// Kind 5: the first frame composed onto the logical screen (uncovered and transparent pixels in
// the background colour, through a palette entry no pixel of the frame uses, or, when the frame
// uses all 256, as a 24-bit DIB after the same 1064-byte head).
bool DecodeGifPixels(const uint8_t* bytes, size_t length, PicturePixels* out);

// The largest pixel block one picture may take (256 MB; lower for fuzzing).
uint64_t PictureByteLimit();
void SetPictureByteLimitForTesting(uint64_t bytes);

// The 8-bit packed DIB head: BITMAPINFOHEADER (width, -height, planes, bit count) and 256
// palette entries, zero. Returns the byte count of one padded row.
uint32_t DibRowBytes(int32_t width, uint32_t bitCount);
void WriteDibHead(uint8_t* dib, int32_t width, int32_t height, uint16_t planes, uint16_t bitCount);
constexpr uint32_t kDibHeadBytes = 40 + 256 * 4;

// Where mode 2 (centred, shrunk to fit, never enlarged) puts a w x h picture in a W x H area.
struct PictureRect {
    int32_t x = 0, y = 0, width = 0, height = 0;
};
PictureRect FitCentred(int32_t areaWidth, int32_t areaHeight, int32_t width, int32_t height);

}  // namespace ruvelto::components
