// BMP decoding of header variants and depths from small hand-built files, and the encoder.
#include <gtest/gtest.h>

#include "image/bmp_codec.h"
#include "image/mem_stream.h"
#include "tests/image/test_files.h"

namespace ruvelto::image {
namespace {

using test::Put16;
using test::Put32;

// A 3 x 2 8-bit picture: palette entries 0-3, rows bottom-up {0,1,2} then {3,2,1}.
std::vector<uint8_t> Pal8Bmp(int32_t height) {
    std::vector<uint8_t> v = test::StartBmp();
    test::PutInfoHeader(v, 3, height, 8, 0, 0, 4);
    for (uint8_t i = 0; i < 4; ++i) v.insert(v.end(), {uint8_t(i * 10), uint8_t(i * 20), uint8_t(i * 30), 0xEE});
    const size_t pixels = v.size();
    const bool topDown = height < 0;
    const uint8_t rows[2][4] = {{0, 1, 2, 0}, {3, 2, 1, 0}};
    for (int r = 0; r < 2; ++r) v.insert(v.end(), rows[topDown ? 1 - r : r], rows[topDown ? 1 - r : r] + 4);
    test::FinishBmp(v, pixels);
    return v;
}

bool DecodeBmp(const std::vector<uint8_t>& bytes, Image& image) {
    return image.Decode(bytes.data(), bytes.size(), IMAGE_FORMAT_BMP);
}

TEST(BmpDecode, PaletteReservedBytesAreCleared) {
    Image image;
    ASSERT_TRUE(DecodeBmp(Pal8Bmp(2), image)) << image.Info.LastError;
    EXPECT_EQ(image.GetPaletteColor(3).red, 90);
    EXPECT_EQ(image.GetPaletteColor(3).reserved, 0);
    EXPECT_EQ(image.GetPixelIndex(0, 1), 3);
    EXPECT_EQ(image.Info.XDPI, 96);
    EXPECT_EQ(image.Info.Type, IMAGE_FORMAT_BMP);
}

TEST(BmpDecode, NegativeHeightGivesTheBottomUpTwin) {
    Image up, down;
    ASSERT_TRUE(DecodeBmp(Pal8Bmp(2), up));
    ASSERT_TRUE(DecodeBmp(Pal8Bmp(-2), down));
    EXPECT_EQ(down.GetHeight(), 2u);
    EXPECT_EQ(test::TopDownRgb(up), test::TopDownRgb(down));
}

TEST(BmpDecode, BareInfoHeaderInAByteSet) {
    std::vector<uint8_t> file = Pal8Bmp(2);
    std::vector<uint8_t> bare(file.begin() + 14, file.end());
    Image fromFile, fromBare;
    ASSERT_TRUE(DecodeBmp(file, fromFile));
    ASSERT_TRUE(DecodeBmp(bare, fromBare)) << fromBare.Info.LastError;
    EXPECT_EQ(test::TopDownRgb(fromFile), test::TopDownRgb(fromBare));
}

TEST(BmpDecode, Os2HeaderWithThreeBytePalette) {
    std::vector<uint8_t> v = test::StartBmp();
    Put32(v, 12);
    Put16(v, 2);
    Put16(v, 1);
    Put16(v, 1);
    Put16(v, 1);
    v.insert(v.end(), {1, 2, 3, 4, 5, 6});  // two 3-byte entries
    const size_t pixels = v.size();
    v.insert(v.end(), {0x40, 0, 0, 0});  // pixel 1 uses entry 1
    test::FinishBmp(v, pixels);
    Image image;
    ASSERT_TRUE(DecodeBmp(v, image)) << image.Info.LastError;
    EXPECT_EQ(image.GetPaletteColor(1).blue, 4);
    EXPECT_EQ(image.GetPaletteColor(1).red, 6);
    EXPECT_EQ(image.GetPaletteColor(0).reserved, 0);
    EXPECT_EQ(image.GetPixelIndex(1, 0), 1);
    EXPECT_EQ(image.GetPixelIndex(0, 0), 0);
}

TEST(BmpDecode, SixteenBitFiveFiveFiveAndFiveSixFive) {
    // One pixel: 555 0x7FFF is white; 565 with masks, 0xF800 is pure red and 0x07E0 pure green.
    std::vector<uint8_t> v555 = test::StartBmp();
    test::PutInfoHeader(v555, 2, 1, 16);
    size_t at = v555.size();
    Put16(v555, 0x7C00);
    Put16(v555, 0x001F);
    test::FinishBmp(v555, at);
    Image a;
    ASSERT_TRUE(DecodeBmp(v555, a)) << a.Info.LastError;
    EXPECT_EQ(a.Header.BitCount, 24);
    EXPECT_EQ(a.GetPixelColor(0, 0).red, 0xF8);
    EXPECT_EQ(a.GetPixelColor(0, 0).blue, 0);
    EXPECT_EQ(a.GetPixelColor(1, 0).blue, 0xF8);

    std::vector<uint8_t> v565 = test::StartBmp();
    test::PutInfoHeader(v565, 2, 1, 16, 3);
    Put32(v565, 0xF800);
    Put32(v565, 0x07E0);
    Put32(v565, 0x001F);
    at = v565.size();
    Put16(v565, 0xF800);
    Put16(v565, 0x07E0);
    test::FinishBmp(v565, at);
    Image b;
    ASSERT_TRUE(DecodeBmp(v565, b)) << b.Info.LastError;
    EXPECT_EQ(b.GetPixelColor(0, 0).red, 0xF8);
    EXPECT_EQ(b.GetPixelColor(0, 0).green, 0);
    EXPECT_EQ(b.GetPixelColor(1, 0).green, 0xFC);
    EXPECT_EQ(b.GetPixelColor(1, 0).red, 0);
}

TEST(BmpDecode, ThirtyTwoBitDropsItsFourthByte) {
    std::vector<uint8_t> v = test::StartBmp();
    test::PutInfoHeader(v, 1, 1, 32);
    const size_t at = v.size();
    v.insert(v.end(), {10, 20, 30, 77});
    test::FinishBmp(v, at);
    Image image;
    ASSERT_TRUE(DecodeBmp(v, image));
    EXPECT_EQ(image.Header.BitCount, 24);
    EXPECT_EQ(image.GetPixelColor(0, 0).blue, 10);
    EXPECT_EQ(image.GetPixelColor(0, 0).red, 30);
    EXPECT_EQ(image.Alpha, nullptr);
}

TEST(BmpDecode, Rle8RunPastTheRowEndKeepsTheRowsSoFar) {
    std::vector<uint8_t> v = test::StartBmp();
    test::PutInfoHeader(v, 4, 3, 8, 1, 0, 2);
    v.insert(v.end(), {0, 0, 0, 0, 255, 255, 255, 0});
    const size_t at = v.size();
    v.insert(v.end(), {4, 1, 0, 0,     // row 0: four pixels of index 1, end of line
                       9, 1,           // row 1: a run of nine passes the row end
                       2, 1, 0, 1});   // never reached
    test::FinishBmp(v, at);
    Image image;
    ASSERT_TRUE(DecodeBmp(v, image)) << image.Info.LastError;
    EXPECT_EQ(image.GetPixelIndex(3, 0), 1);
    EXPECT_EQ(image.GetPixelIndex(3, 1), 1);
    EXPECT_EQ(image.GetPixelIndex(0, 2), 0);  // never decoded: index 0, not stale memory
}

TEST(BmpDecode, RleCodesAndTheirFailures) {
    struct Case { const char* name; uint16_t bits; uint32_t compression; std::vector<uint8_t> data; bool ok; };
    const Case cases[] = {
        {"rle8 absolute and delta", 8, 1, {0, 3, 1, 0, 1, 0, 0, 2, 0, 1, 1, 1, 0, 1}, true},
        {"rle4 alternating nibbles", 4, 2, {4, 0x10, 0, 0, 0, 1}, true},
        {"rle4 absolute run", 4, 2, {0, 3, 0x10, 0x10, 0, 1}, true},
        {"truncated run", 8, 1, {5}, false},
        {"delta below the picture then data", 8, 1, {0, 2, 0, 9, 1, 1}, false},
        {"data ends before the picture", 8, 1, {2, 1}, false},
        {"rle8 on a 4-bit picture", 4, 1, {0, 1}, false},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> v = test::StartBmp();
        test::PutInfoHeader(v, 4, 2, c.bits, c.compression, 0, 2);
        v.insert(v.end(), {0, 0, 0, 0, 255, 255, 255, 0});
        const size_t at = v.size();
        v.insert(v.end(), c.data.begin(), c.data.end());
        test::FinishBmp(v, at);
        Image image;
        EXPECT_EQ(DecodeBmp(v, image), c.ok) << c.name << ": " << image.Info.LastError;
        if (std::string(c.name) == "rle8 absolute and delta") {
            EXPECT_EQ(image.GetPixelIndex(0, 0), 1);
            EXPECT_EQ(image.GetPixelIndex(1, 0), 0);
            EXPECT_EQ(image.GetPixelIndex(3, 1), 1);  // the delta (0, +1) moved from (3, 0) to (3, 1)
        }
        if (std::string(c.name) == "rle4 alternating nibbles") {
            EXPECT_EQ(image.GetPixelIndex(0, 0), 1);
            EXPECT_EQ(image.GetPixelIndex(1, 0), 0);
            EXPECT_EQ(image.GetPixelIndex(2, 0), 1);
        }
    }
}

TEST(BmpDecode, BrokenHeadersFailWithTheirTexts) {
    struct Case { const char* name; std::vector<uint8_t> bytes; const char* text; };
    std::vector<uint8_t> good = Pal8Bmp(2);
    std::vector<uint8_t> shortHeader(good.begin(), good.begin() + 30);
    std::vector<uint8_t> badBits = good;
    badBits[28] = 7;
    std::vector<uint8_t> bigPalette = good;
    bigPalette[46] = 0x01;
    bigPalette[47] = 0x01;  // 257 colours for 8 bits
    std::vector<uint8_t> truncated(good.begin(), good.end() - 3);
    std::vector<uint8_t> rgb24rle = test::StartBmp();
    test::PutInfoHeader(rgb24rle, 1, 1, 24, 1);
    rgb24rle.insert(rgb24rle.end(), {0, 0, 0, 0});
    std::vector<uint8_t> huge = test::StartBmp();
    test::PutInfoHeader(huge, 3000000, 2000000, 24);
    const Case cases[] = {
        {"too short", {'B', 'M', 0}, "Not a BMP"},
        {"short info header", shortHeader, "Error reading BMP info"},
        {"odd bit count", badBits, "Error reading BMP info"},
        {"palette beyond the depth", bigPalette, "Error reading BMP info"},
        {"pixel data cut short", truncated, "Error reading BMP data"},
        {"24-bit RLE", rgb24rle, "unknown compression"},
        {"huge declared size, over the memory bound", huge, "Can't allocate memory"},
    };
    for (const Case& c : cases) {
        BmpCodec codec;
        MemStream s(c.bytes.data(), c.bytes.size());
        EXPECT_FALSE(codec.Decode(s)) << c.name;
        EXPECT_STREQ(codec.Info.LastError, c.text) << c.name;
        EXPECT_FALSE(codec.IsValid()) << c.name;
    }
}

TEST(BmpDecode, EscapeMinusOneReportsDimensionsOnly) {
    std::vector<uint8_t> v = Pal8Bmp(-2);
    BmpCodec codec;
    codec.Info.Escape = -1;
    MemStream s(v.data(), v.size());
    EXPECT_TRUE(codec.Decode(s));
    EXPECT_STREQ(codec.Info.LastError, "output dimensions returned");
    EXPECT_EQ(codec.GetWidth(), 3u);
    EXPECT_EQ(codec.GetHeight(), 2u);
    EXPECT_FALSE(codec.IsValid());
    BmpCodec cancelled;
    cancelled.Info.Escape = 1;
    MemStream again(v.data(), v.size());
    EXPECT_FALSE(cancelled.Decode(again));
    EXPECT_STREQ(cancelled.Info.LastError, "Cancelled");
}

TEST(BmpEncode, WritesFileHeaderAndDibAndReadsBack) {
    for (uint32_t bits : {1u, 4u, 8u, 24u}) {
        Image image;
        ASSERT_TRUE(image.Create(13, 5, bits, 0));
        for (uint32_t i = 0; i < image.Header.ClrUsed; ++i) image.SetPaletteColor(uint8_t(i), uint8_t(i), 0, uint8_t(255 - i));
        for (uint32_t i = 0; i < image.Header.SizeImage; ++i) image.GetBits(0)[i] = uint8_t(i * 13);
        image.SetXDPI(300);
        uint8_t* out = nullptr;
        size_t size = 0;
        ASSERT_TRUE(image.Encode(&out, &size, IMAGE_FORMAT_BMP));
        ASSERT_EQ(size, image.GetSize() + 14u);
        EXPECT_EQ(out[0], 'B');
        EXPECT_EQ(out[10] | out[11] << 8, int(54 + image.GetPaletteSize()));
        Image back;
        ASSERT_TRUE(back.Decode(out, size, IMAGE_FORMAT_BMP));
        EXPECT_EQ(test::TopDownRgb(back), test::TopDownRgb(image)) << bits;
        EXPECT_EQ(back.Info.XDPI, 300);
        FreeMemory(out);
    }
}

}  // namespace
}  // namespace ruvelto::image
