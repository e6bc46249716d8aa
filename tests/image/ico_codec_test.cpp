// ICO decoding with its AND-mask rules, and the encoder's size limit and 32-bit alpha form.
#include <gtest/gtest.h>

#include "image/ico_codec.h"
#include "image/mem_stream.h"
#include "tests/image/test_files.h"

namespace ruvelto::image {
namespace {

using test::Put16;
using test::Put32;

// A one-image icon: w x h, `bits` deep, with the given palette, pixel rows and mask rows.
// Sizes of 256 go into the directory as the byte 0.
std::vector<uint8_t> Icon(uint32_t w, uint32_t h, uint16_t bits, const std::vector<uint8_t>& palette,
                          const std::vector<uint8_t>& pixels, const std::vector<uint8_t>& mask) {
    std::vector<uint8_t> v;
    Put16(v, 0);
    Put16(v, 1);
    Put16(v, 1);
    v.insert(v.end(), {uint8_t(w), uint8_t(h), 0, 0});
    Put16(v, 1);
    Put16(v, bits);
    Put32(v, uint32_t(40 + palette.size() + pixels.size() + mask.size()));
    Put32(v, 22);
    test::PutInfoHeader(v, int32_t(w), int32_t(2 * h), bits);
    v.insert(v.end(), palette.begin(), palette.end());
    v.insert(v.end(), pixels.begin(), pixels.end());
    v.insert(v.end(), mask.begin(), mask.end());
    return v;
}

bool DecodeIco(const std::vector<uint8_t>& bytes, Image& image) {
    return image.Decode(bytes.data(), bytes.size(), IMAGE_FORMAT_ICO);
}

const std::vector<uint8_t> kTwoColours = {0, 0, 0, 0, 255, 255, 255, 0};

TEST(IcoDecode, MaskedPixelsTakeTheLowestUnusedIndex) {
    // 4-bit, 2 x 2: indices 0 and 2 in use; pixel (1, 0) is masked.
    const std::vector<uint8_t> palette(64, 0x40);
    const std::vector<uint8_t> pixels = {0x02, 0, 0, 0, 0x20, 0, 0, 0};
    const std::vector<uint8_t> mask = {0x40, 0, 0, 0, 0x00, 0, 0, 0};
    Image image;
    ASSERT_TRUE(DecodeIco(Icon(2, 2, 4, palette, pixels, mask), image));
    EXPECT_EQ(image.Info.TransIndex, 1);
    EXPECT_EQ(image.GetPixelIndex(1, 0), 1);
    EXPECT_EQ(image.GetPixelIndex(0, 0), 0);
    EXPECT_EQ(image.Alpha, nullptr);
    EXPECT_EQ(image.Info.NumFrames, 1);
}

TEST(IcoDecode, AllSetMaskInvertsColours) {
    const std::vector<uint8_t> pixels = {0x80, 0, 0, 0};
    const std::vector<uint8_t> mask = {0xFF, 0xFF, 0xFF, 0xFF};
    Image image;
    ASSERT_TRUE(DecodeIco(Icon(1, 1, 1, {10, 20, 30, 0, 200, 210, 220, 0}, pixels, mask), image));
    EXPECT_EQ(image.Info.TransIndex, 0);
    EXPECT_EQ(image.GetPaletteColor(1).blue, 55);  // 200 inverted
    EXPECT_EQ(image.GetPixelIndex(0, 0), 1);
}

TEST(IcoDecode, TrueColourMaskOfOneColourBecomesTheTransparentColour) {
    // 24-bit, 2 x 1: the masked pixel is magenta.
    const std::vector<uint8_t> pixels = {255, 0, 255, 1, 2, 3, 0, 0};
    Image image;
    ASSERT_TRUE(DecodeIco(Icon(2, 1, 24, {}, pixels, {0x80, 0, 0, 0}), image));
    EXPECT_EQ(image.Info.TransIndex, 0);
    EXPECT_EQ(image.Info.TransColor.red, 255);
    EXPECT_EQ(image.Info.TransColor.green, 0);
    EXPECT_EQ(image.Alpha, nullptr);
}

TEST(IcoDecode, ThirtyTwoBitIconKeepsItsAlphaOverTheMask) {
    const std::vector<uint8_t> withAlpha = {1, 2, 3, 128, 4, 5, 6, 255};
    Image image;
    ASSERT_TRUE(DecodeIco(Icon(2, 1, 32, {}, withAlpha, {0xC0, 0, 0, 0}), image));
    ASSERT_NE(image.Alpha, nullptr);
    EXPECT_EQ(image.AlphaGet(0, 0), 128);
    EXPECT_EQ(image.AlphaGet(1, 0), 255);
    // All-zero fourth bytes: an old-style icon, the mask decides.
    const std::vector<uint8_t> noAlpha = {1, 2, 3, 0, 4, 5, 6, 0};
    Image old;
    ASSERT_TRUE(DecodeIco(Icon(2, 1, 32, {}, noAlpha, {0x80, 0, 0, 0}), old));
    EXPECT_EQ(old.Info.TransIndex, 0);
    EXPECT_EQ(old.Info.TransColor.blue, 1);
}

TEST(IcoDecode, RefusesWhatItCannotReadSilently) {
    const std::vector<uint8_t> pixels = {0, 0, 0, 0};
    const std::vector<uint8_t> mask = {0, 0, 0, 0};
    std::vector<uint8_t> wide = Icon(1, 1, 1, kTwoColours, pixels, mask);
    wide[6] = 0;  // 256 wide in the directory, 1 in the bitmap
    std::vector<uint8_t> png = Icon(1, 1, 1, kTwoColours, pixels, mask);
    png[22] = 0x89;  // a PNG signature cut short
    png[23] = 'P';
    std::vector<uint8_t> smallHeader = Icon(1, 1, 1, kTwoColours, pixels, mask);
    smallHeader[22] = 12;
    std::vector<uint8_t> badType = Icon(1, 1, 1, kTwoColours, pixels, mask);
    badType[2] = 3;
    std::vector<uint8_t> cut = Icon(1, 1, 1, kTwoColours, pixels, mask);
    cut.resize(22 + 40 + 8 + 2);
    std::vector<uint8_t> noEntries = {0, 0, 1, 0, 0, 0};
    for (const auto& bytes : {wide, png, smallHeader, badType, cut, noEntries}) {
        IcoCodec codec;
        codec.SetLastError("before");
        MemStream s(bytes.data(), bytes.size());
        EXPECT_FALSE(codec.Decode(s));
        EXPECT_STREQ(codec.Info.LastError, "before");
    }
    // A frame beyond the directory fails, and the frame count reaches the caller.
    Image image;
    image.Info.Frame = 1;
    const std::vector<uint8_t> one = Icon(1, 1, 1, kTwoColours, pixels, mask);
    EXPECT_FALSE(DecodeIco(one, image));
    EXPECT_EQ(image.Info.NumFrames, 1);
}

TEST(IcoDecode, SizeByteZeroMeans256) {
    // 1-bit, 256 x 256: the top-left pixel (last stored row) set, the bottom-right one masked.
    const uint32_t rowBytes = 32;
    std::vector<uint8_t> pixels(rowBytes * 256, 0);
    pixels[255 * rowBytes] = 0x80;
    std::vector<uint8_t> mask(rowBytes * 256, 0);
    mask[rowBytes - 1] = 0x01;
    const std::vector<uint8_t> bytes = Icon(256, 256, 1, kTwoColours, pixels, mask);
    ASSERT_EQ(bytes[6], 0);
    Image image;
    ASSERT_TRUE(DecodeIco(bytes, image));
    EXPECT_EQ(image.GetWidth(), 256u);
    EXPECT_EQ(image.GetHeight(), 256u);
    EXPECT_EQ(image.GetPixelIndex(0, 255), 1);
    // Both colours are in use, so the mask stays as alpha.
    ASSERT_NE(image.Alpha, nullptr);
    EXPECT_EQ(image.AlphaGet(255, 0), 0);
    EXPECT_EQ(image.AlphaGet(254, 0), 255);
}

TEST(IcoDecode, LargerBitmapHeaderIsSkippedBySize) {
    // A version-5 header (124 bytes) before a 24-bit 2 x 1 bitmap.
    const std::vector<uint8_t> pixels = {10, 20, 30, 40, 50, 60, 0, 0};
    std::vector<uint8_t> bytes = Icon(2, 1, 24, {}, pixels, {0, 0, 0, 0});
    bytes[22] = 124;
    bytes.insert(bytes.begin() + 22 + 40, 84, 0xEE);
    Image image;
    ASSERT_TRUE(DecodeIco(bytes, image));
    EXPECT_EQ(image.GetPixelColor(0, 0).red, 30);
    EXPECT_EQ(image.GetPixelColor(1, 0).blue, 40);
    EXPECT_EQ(image.Alpha, nullptr);
}

TEST(IcoDecode, PngEntryDecodesThroughThePngCodec) {
    Image source;
    ASSERT_TRUE(source.Create(3, 2, 24, 0));
    source.Clear(0x40);
    source.SetPixelColor(2, 1, RgbQuad{1, 2, 3, 0});
    source.AlphaCreate();
    source.AlphaSet(0, 0, 0);
    source.AlphaSet(2, 1, 99);
    uint8_t* png = nullptr;
    size_t pngSize = 0;
    ASSERT_TRUE(source.Encode(&png, &pngSize, IMAGE_FORMAT_PNG));
    // The directory says 0 x 0 (256): the PNG's own header decides.
    std::vector<uint8_t> bytes;
    Put16(bytes, 0);
    Put16(bytes, 1);
    Put16(bytes, 1);
    bytes.insert(bytes.end(), {0, 0, 0, 0});
    Put16(bytes, 1);
    Put16(bytes, 32);
    Put32(bytes, uint32_t(pngSize));
    Put32(bytes, 22);
    bytes.insert(bytes.end(), png, png + pngSize);
    FreeMemory(png);

    Image image;
    ASSERT_TRUE(DecodeIco(bytes, image));
    EXPECT_EQ(image.Info.Type, IMAGE_FORMAT_ICO);
    EXPECT_EQ(image.Info.NumFrames, 1);
    EXPECT_EQ(image.GetWidth(), 3u);
    EXPECT_EQ(image.GetHeight(), 2u);
    EXPECT_EQ(test::TopDownRgb(image), test::TopDownRgb(source));
    ASSERT_NE(image.Alpha, nullptr);
    EXPECT_EQ(image.AlphaGet(0, 0), 0);
    EXPECT_EQ(image.AlphaGet(2, 1), 99);
    EXPECT_EQ(image.AlphaGet(1, 1), 255);
}

TEST(IcoEncode, SizeLimitIs255) {
    Image big;
    ASSERT_TRUE(big.Create(300, 200, 24, 0));
    uint8_t* out = nullptr;
    size_t size = 0;
    EXPECT_FALSE(big.Encode(&out, &size, IMAGE_FORMAT_ICO));
    EXPECT_STREQ(big.Info.LastError, kErrIconTooLarge);
    EXPECT_EQ(out, nullptr);

    Image largest;
    ASSERT_TRUE(largest.Create(255, 255, 24, 0));
    largest.Clear(0x33);
    ASSERT_TRUE(largest.Encode(&out, &size, IMAGE_FORMAT_ICO));
    Image back;
    EXPECT_TRUE(back.Decode(out, size, IMAGE_FORMAT_ICO));
    EXPECT_EQ(back.GetWidth(), 255u);
    EXPECT_EQ(back.GetPixelColor(254, 254).green, 0x33);
    FreeMemory(out);
}

TEST(IcoEncode, AlphaPlaneIsWrittenAsThirtyTwoBits) {
    Image image;
    ASSERT_TRUE(image.Create(3, 2, 24, 0));
    image.Clear(0x80);
    image.AlphaCreate();
    image.AlphaSet(0, 0, 0);
    image.AlphaSet(2, 1, 100);
    uint8_t* out = nullptr;
    size_t size = 0;
    ASSERT_TRUE(image.Encode(&out, &size, IMAGE_FORMAT_ICO));
    EXPECT_EQ(out[6 + 6], 32);                     // entry bit count
    EXPECT_EQ(size, 22u + 40 + 3 * 2 * 4 + 4 * 2);  // header, pixels, mask
    EXPECT_EQ(out[22 + 40 + 3], 0);                 // pixel (0, 0) alpha
    EXPECT_EQ(out[22 + 40 + 24], 0x80);             // its mask bit, row 0
    Image back;
    ASSERT_TRUE(back.Decode(out, size, IMAGE_FORMAT_ICO));
    EXPECT_EQ(back.AlphaGet(2, 1), 100);
    EXPECT_EQ(back.AlphaGet(0, 0), 0);
    FreeMemory(out);
}

TEST(IcoEncode, PaletteIconMasksItsTransparentIndex) {
    Image image;
    ASSERT_TRUE(image.Create(2, 1, 8, 0));
    image.SetPaletteColor(0, 1, 1, 1);
    image.SetPaletteColor(5, 250, 0, 250);
    image.SetPixelIndex(0, 0, 5);
    image.Info.TransIndex = 5;
    uint8_t* out = nullptr;
    size_t size = 0;
    ASSERT_TRUE(image.Encode(&out, &size, IMAGE_FORMAT_ICO));
    Image back;
    ASSERT_TRUE(back.Decode(out, size, IMAGE_FORMAT_ICO));
    EXPECT_EQ(back.GetPixelIndex(0, 0), back.Info.TransIndex);
    EXPECT_NE(back.GetPixelIndex(1, 0), back.Info.TransIndex);
    FreeMemory(out);
}

}  // namespace
}  // namespace ruvelto::image
