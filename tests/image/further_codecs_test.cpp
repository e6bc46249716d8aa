// The edge cases of the TIFF, TGA, PCX, WBMP and WMF codecs, and our files read back by ImageMagick.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <tiffio.h>

#include "image/mem_stream.h"
#include "image/tga_codec.h"
#include "image/tiff_codec.h"
#include "image/wbmp_codec.h"
#include "image/wmf_codec.h"
#include "tests/image/test_files.h"

namespace ruvelto::image::test {
namespace {

// A 24-bit picture with a colour per pixel that no codec could guess.
void MakeColourful(Image& image, uint32_t width, uint32_t height) {
    ASSERT_TRUE(image.Create(width, height, 24, IMAGE_FORMAT_BMP));
    for (uint32_t y = 0; y < height; ++y)
        for (uint32_t x = 0; x < width; ++x)
            image.SetPixelColor(int32_t(x), int32_t(y), RgbQuad{uint8_t(x * 7), uint8_t(y * 5), uint8_t(x ^ y), 0});
}

bool Encode(Image& image, int32_t format, std::vector<uint8_t>* bytes) {
    uint8_t* buffer = nullptr;
    size_t size = 0;
    if (!image.Encode(&buffer, &size, format)) return false;
    bytes->assign(buffer, buffer + size);
    FreeMemory(buffer);
    return true;
}

TEST(TiffCodec, TwentyFourBitPicturesAreJpegCompressedUnlessTheOptionSaysOtherwise) {
    Image image;
    MakeColourful(image, 64, 48);
    image.Info.JpegQuality = 75;
    std::vector<uint8_t> jpeg, plain;
    ASSERT_TRUE(Encode(image, IMAGE_FORMAT_TIF, &jpeg));
    image.Info.CodecOption[IMAGE_FORMAT_TIF] = 1;  // COMPRESSION_NONE
    ASSERT_TRUE(Encode(image, IMAGE_FORMAT_TIF, &plain));

    Image back;
    ASSERT_TRUE(back.Decode(jpeg.data(), jpeg.size(), IMAGE_FORMAT_TIF)) << back.Info.LastError;
    EXPECT_EQ(back.Info.CodecOption[IMAGE_FORMAT_TIF], 7);  // COMPRESSION_JPEG
    EXPECT_LT(jpeg.size(), plain.size());
    ASSERT_TRUE(back.Decode(plain.data(), plain.size(), IMAGE_FORMAT_TIF)) << back.Info.LastError;
    EXPECT_EQ(back.Info.CodecOption[IMAGE_FORMAT_TIF], 1);
    EXPECT_GE(plain.size(), 64u * 48 * 3);
    EXPECT_EQ(TopDownRgb(back), TopDownRgb(image));
}

TEST(TiffCodec, AlphaTravelsAsAFourthSample) {
    Image image;
    MakeColourful(image, 16, 8);
    image.AlphaCreate();
    for (int32_t x = 0; x < 16; ++x) image.AlphaSet(x, 3, uint8_t(x * 16));
    for (int32_t option : {0, 5}) {  // JPEG by default, and LZW
        image.Info.CodecOption[IMAGE_FORMAT_TIF] = option;
        std::vector<uint8_t> bytes;
        ASSERT_TRUE(Encode(image, IMAGE_FORMAT_TIF, &bytes)) << option << ": " << image.Info.LastError;
        Image back;
        ASSERT_TRUE(back.Decode(bytes.data(), bytes.size(), IMAGE_FORMAT_TIF)) << option << ": " << back.Info.LastError;
        ASSERT_TRUE(back.AlphaIsValid()) << option;
        for (int32_t x = 0; x < 16; ++x) EXPECT_NEAR(back.AlphaGet(x, 3), x * 16, option ? 0 : 8) << option;
        EXPECT_EQ(back.AlphaGet(0, 0), 255);
    }
}

TEST(TiffCodec, QualityReachesTheJpegData) {
    Image image;
    MakeColourful(image, 64, 64);
    std::vector<uint8_t> low, high;
    image.Info.JpegQuality = 10;
    ASSERT_TRUE(Encode(image, IMAGE_FORMAT_TIF, &low));
    image.Info.JpegQuality = 95;
    ASSERT_TRUE(Encode(image, IMAGE_FORMAT_TIF, &high));
    EXPECT_LT(low.size(), high.size());
}

TEST(TiffCodec, PagesAreWrittenWithTheirNamesAndReadBackOneByOne) {
    Image first, second;
    MakeColourful(first, 30, 20);
    ASSERT_TRUE(second.Create(8, 9, 1, IMAGE_FORMAT_BMP));
    second.SetGrayPalette();
    second.Clear(0);
    second.SetPixelIndex(3, 4, 1);
    Image* pages[] = {&first, &second};
    const std::string path = ScratchDir() + "/pages.tif";
    {
        TiffCodec codec;
        MemStream out;
        ASSERT_TRUE(codec.EncodePages(out, pages, 2)) << codec.Info.LastError;
        const size_t size = size_t(out.Size());
        uint8_t* bytes = out.GetBuffer();
        FILE* f = std::fopen(path.c_str(), "wb");
        ASSERT_TRUE(f);
        std::fwrite(bytes, 1, size, f);
        std::fclose(f);
        FreeMemory(bytes);
    }
    TIFF* tif = TIFFOpen(path.c_str(), "r");
    ASSERT_TRUE(tif);
    for (int page = 0; page < 2; ++page) {
        char* name = nullptr;
        uint16_t number = 0, count = 0;
        ASSERT_TRUE(TIFFSetDirectory(tif, tdir_t(page)));
        ASSERT_TRUE(TIFFGetField(tif, TIFFTAG_PAGENAME, &name));
        EXPECT_STREQ(name, page == 0 ? "Page 1" : "Page 2");
        ASSERT_TRUE(TIFFGetField(tif, TIFFTAG_PAGENUMBER, &number, &count));
        EXPECT_EQ(number, page);
        EXPECT_EQ(count, 2);
    }
    TIFFClose(tif);

    Image back;
    back.Info.Frame = 1;
    ASSERT_TRUE(back.Load(ApiPath(path).c_str(), IMAGE_FORMAT_TIF)) << back.Info.LastError;
    EXPECT_EQ(back.Info.NumFrames, 2);
    EXPECT_EQ(back.GetWidth(), 8u);
    EXPECT_EQ(back.GetBpp(), 1u);
    EXPECT_EQ(TopDownRgb(back), TopDownRgb(second));
    back.Info.Frame = 2;
    EXPECT_FALSE(back.Load(ApiPath(path).c_str(), IMAGE_FORMAT_TIF));
}

// A little-endian TIFF of one 8 x 2 grey strip with the given extra entries (tag, type, value).
std::vector<uint8_t> GreyTiff(std::vector<std::array<uint32_t, 3>> extra) {
    std::vector<std::array<uint32_t, 3>> tags = {
        {256, 4, 8}, {257, 4, 2}, {258, 3, 8}, {259, 3, 1}, {262, 3, 1}, {273, 4, 0}, {278, 4, 2}, {279, 4, 16}};
    tags.insert(tags.end(), extra.begin(), extra.end());
    std::sort(tags.begin(), tags.end());
    std::vector<uint8_t> v = {'I', 'I', 42, 0};
    Put32(v, 8);
    Put16(v, uint32_t(tags.size()));
    const uint32_t pixels = uint32_t(8 + 2 + tags.size() * 12 + 4);
    for (const auto& t : tags) {
        Put16(v, t[0]);
        Put16(v, t[1]);
        Put32(v, 1);
        Put32(v, t[0] == 273 ? pixels : t[1] == 3 ? (t[2] & 0xFFFF) : t[2]);
    }
    Put32(v, 0);
    for (int i = 0; i < 16; ++i) v.push_back(uint8_t(i * 16));
    return v;
}

// Stored rows turned upright by the file's orientation, once, as ImageMagick's -auto-orient shows
// them: ImageMagick writes the same colourful 5 x 3 picture with each orientation tag.
TEST(TiffCodec, EveryOrientationDecodesUpright) {
    Image source;
    MakeColourful(source, 5, 3);
    const std::string bmp = ScratchDir() + "/orient-source.bmp";
    ASSERT_TRUE(source.Save(ApiPath(bmp).c_str(), IMAGE_FORMAT_BMP));
    const char* orientations[] = {"TopLeft", "TopRight", "BottomRight", "BottomLeft",
                                  "LeftTop", "RightTop", "RightBottom", "LeftBottom"};
    for (int tag = 1; tag <= 8; ++tag) {
        SCOPED_TRACE(orientations[tag - 1]);
        const std::string tif = ScratchDir() + "/orient-" + std::to_string(tag) + ".tif";
        ASSERT_EQ(std::system(("convert '" + bmp + "' -orient " + orientations[tag - 1] + " -compress none '" + tif + "'").c_str()), 0);
        Image decoded;
        ASSERT_TRUE(decoded.Load(ApiPath(tif).c_str(), IMAGE_FORMAT_TIF));
        EXPECT_EQ(decoded.GetWidth(), tag >= 5 ? 3u : 5u);
        FILE* p = popen(("convert '" + tif + "' -auto-orient -depth 8 rgb:- 2>/dev/null").c_str(), "r");
        ASSERT_TRUE(p);
        std::vector<uint8_t> upright(5 * 3 * 3 + 1);
        upright.resize(fread(upright.data(), 1, upright.size(), p));
        pclose(p);
        EXPECT_EQ(TopDownRgb(decoded), upright);
    }
}

TEST(TiffCodec, HeaderFieldsThatContradictEachOtherFailCleanly) {
    Image sound;
    const std::vector<uint8_t> plain = GreyTiff({});
    ASSERT_TRUE(sound.Decode(plain.data(), plain.size(), IMAGE_FORMAT_TIF)) << sound.Info.LastError;
    EXPECT_EQ(sound.GetBpp(), 8u);
    EXPECT_EQ(sound.GetPixelIndex(1, 1), 16);  // the first row is the top one
    // An extra sample that would be the only sample (found by the fuzzer: it once read the row
    // as 24-bit pixels), and a sample count the strip cannot hold.
    for (const auto& broken : {GreyTiff({{338, 3, 0}}), GreyTiff({{277, 3, 3}})}) {
        Image image;
        EXPECT_FALSE(image.Decode(broken.data(), broken.size(), IMAGE_FORMAT_TIF));
        EXPECT_NE(image.Info.LastError[0], 0);
    }
}

// Every decoder stops at a nonzero Escape with "Cancelled"; TIFF's -1 reports the size alone.
TEST(FurtherCodecs, EscapeStopsEveryDecoder) {
    Image picture;
    ASSERT_TRUE(picture.Create(12, 10, 1, IMAGE_FORMAT_BMP));
    picture.SetGrayPalette();
    picture.Clear(0);
    for (int32_t format : {IMAGE_FORMAT_TIF, IMAGE_FORMAT_PCX, IMAGE_FORMAT_WBMP}) {
        std::vector<uint8_t> bytes;
        ASSERT_TRUE(Encode(picture, format, &bytes)) << format;
        Image image;
        image.Info.Escape = 1;
        EXPECT_FALSE(image.Decode(bytes.data(), bytes.size(), format)) << format;
        EXPECT_STREQ(image.Info.LastError, "Cancelled") << format;
    }
    std::vector<uint8_t> tga;
    ASSERT_TRUE(picture.Create(12, 10, 8, IMAGE_FORMAT_BMP));
    ASSERT_TRUE(Encode(picture, IMAGE_FORMAT_TGA, &tga));
    Image image;
    image.Info.Escape = 1;
    EXPECT_FALSE(image.Decode(tga.data(), tga.size(), IMAGE_FORMAT_TGA));
    EXPECT_STREQ(image.Info.LastError, "Cancelled");

    std::vector<uint8_t> tiff;
    ASSERT_TRUE(Encode(picture, IMAGE_FORMAT_TIF, &tiff));
    Image sized;
    sized.Info.Escape = -1;
    EXPECT_TRUE(sized.Decode(tiff.data(), tiff.size(), IMAGE_FORMAT_TIF));
    EXPECT_FALSE(sized.IsValid());
    EXPECT_EQ(sized.GetWidth(), 12u);
    EXPECT_EQ(sized.GetHeight(), 10u);
}

// An 18-byte TGA header and the pixels.
std::vector<uint8_t> Tga(uint8_t type, uint16_t width, uint16_t height, uint8_t depth, uint8_t descriptor) {
    std::vector<uint8_t> v = {0, 0, type, 0, 0, 0, 0, 0, 0, 0, 0, 0};
    Put16(v, width);
    Put16(v, height);
    v.push_back(depth);
    v.push_back(descriptor);
    return v;
}

TEST(TgaCodec, TopDownThirtyTwoBitPictureKeepsItsAlphaWithItsPixels) {
    std::vector<uint8_t> v = Tga(2, 2, 2, 32, 0x28);
    // Top row: red (alpha 10), green (alpha 20); bottom row: blue (alpha 30), white (alpha 40).
    const uint8_t pixels[] = {0, 0, 255, 10, 0, 255, 0, 20, 255, 0, 0, 30, 255, 255, 255, 40};
    v.insert(v.end(), pixels, pixels + sizeof pixels);
    Image image;
    ASSERT_TRUE(image.Decode(v.data(), v.size(), IMAGE_FORMAT_TGA)) << image.Info.LastError;
    ASSERT_TRUE(image.AlphaIsValid());
    EXPECT_EQ(image.GetPixelColor(0, 1).red, 255);  // row 1 is the top in bottom-up storage
    EXPECT_EQ(image.AlphaGet(0, 1), 10);
    EXPECT_EQ(image.GetPixelColor(1, 1).green, 255);
    EXPECT_EQ(image.AlphaGet(1, 1), 20);
    EXPECT_EQ(image.GetPixelColor(0, 0).blue, 255);
    EXPECT_EQ(image.AlphaGet(0, 0), 30);
    EXPECT_EQ(image.AlphaGet(1, 0), 40);
}

TEST(TgaCodec, RunsCrossRowEndsButNotThePictureEnd) {
    std::vector<uint8_t> v = Tga(11, 2, 2, 8, 0);
    v.insert(v.end(), {0x82, 7, 0x00, 9});  // three 7s across the first row end, then one 9
    Image image;
    ASSERT_TRUE(image.Decode(v.data(), v.size(), IMAGE_FORMAT_TGA)) << image.Info.LastError;
    EXPECT_EQ(image.GetPixelIndex(0, 1), 7);
    EXPECT_EQ(image.GetPixelIndex(1, 0), 7);
    EXPECT_EQ(image.GetPixelIndex(1, 1), 9);
    std::vector<uint8_t> over = Tga(11, 2, 2, 8, 0);
    over.insert(over.end(), {0x84, 7});  // five pixels for four
    EXPECT_FALSE(image.Decode(over.data(), over.size(), IMAGE_FORMAT_TGA));
    EXPECT_STREQ(image.Info.LastError, "corrupted TGA");
}

// The probe finds each of these formats after the earlier codecs have refused the bytes; TGA has
// no signature, so a plausible header is all it takes.
TEST(FurtherCodecs, TheProbeFindsEachFormat) {
    Image picture;
    MakeColourful(picture, 9, 7);
    Image mono;
    ASSERT_TRUE(mono.Create(9, 7, 1, IMAGE_FORMAT_BMP));
    mono.SetGrayPalette();
    mono.Clear(1);
    struct Case {
        Image* image;
        int32_t format;
    } cases[] = {{&picture, IMAGE_FORMAT_TIF}, {&picture, IMAGE_FORMAT_TGA}, {&picture, IMAGE_FORMAT_PCX}, {&mono, IMAGE_FORMAT_WBMP}};
    for (const Case& c : cases) {
        std::vector<uint8_t> bytes;
        ASSERT_TRUE(Encode(*c.image, c.format, &bytes)) << c.format;
        Image probed;
        ASSERT_TRUE(probed.Decode(bytes.data(), bytes.size(), IMAGE_FORMAT_UNKNOWN)) << c.format;
        EXPECT_EQ(probed.Info.Type, c.format);
        EXPECT_EQ(probed.GetWidth(), 9u);
    }
}

TEST(TgaCodec, PicturesBelowEightBitsCannotBeSaved) {
    Image image;
    ASSERT_TRUE(image.Create(4, 4, 4, IMAGE_FORMAT_BMP));
    std::vector<uint8_t> bytes;
    EXPECT_FALSE(Encode(image, IMAGE_FORMAT_TGA, &bytes));
    EXPECT_STREQ(image.Info.LastError, kErrTgaDepth);
}

// TGA keeps width and height in 16 bits: larger pictures are refused with a text, not written
// with their size cut; 65535 still goes and comes back.
TEST(TgaCodec, SidesAbove65535AreRefused) {
    struct Case {
        uint32_t width, height;
        bool saves;
    } cases[] = {{65536, 1, false}, {1, 65536, false}, {70000, 2, false}, {65535, 1, true}, {1, 65535, true}};
    for (const Case& c : cases) {
        Image image;
        ASSERT_TRUE(image.Create(c.width, c.height, 8, IMAGE_FORMAT_BMP));
        image.SetGrayPalette();
        image.SetPixelIndex(int32_t(c.width - 1), int32_t(c.height - 1), 200);
        std::vector<uint8_t> bytes;
        EXPECT_EQ(Encode(image, IMAGE_FORMAT_TGA, &bytes), c.saves) << c.width << " x " << c.height;
        if (!c.saves) {
            EXPECT_STREQ(image.Info.LastError, kErrTgaSize) << c.width << " x " << c.height;
            continue;
        }
        Image back;
        ASSERT_TRUE(back.Decode(bytes.data(), bytes.size(), IMAGE_FORMAT_TGA)) << back.Info.LastError;
        EXPECT_EQ(back.GetWidth(), c.width);
        EXPECT_EQ(back.GetHeight(), c.height);
        EXPECT_EQ(back.GetPixelIndex(int32_t(c.width - 1), int32_t(c.height - 1)), 200);
    }
}

// A colour palette picture with an alpha plane has no TIFF form of its own (palette data has
// one sample): it is written as RGBA, which our decoder and ImageMagick both read with its
// colours and alpha. A grey one stays grey with alpha.
TEST(TiffCodec, PalettePicturesWithAlphaAreWrittenInAFormReadersTake) {
    const std::string dir = ScratchDir();
    for (const bool grey : {false, true}) {
        Image image;
        ASSERT_TRUE(image.Create(8, 4, 8, IMAGE_FORMAT_BMP));
        if (grey) {
            image.SetGrayPalette();
        } else {
            RgbQuad palette[256] = {};
            for (uint32_t i = 0; i < 256; ++i) palette[i] = RgbQuad{uint8_t(i * 3), uint8_t(255 - i), uint8_t(i * 11), 0};
            image.SetPalette(palette, 256);
        }
        image.AlphaCreate();
        for (int32_t y = 0; y < 4; ++y)
            for (int32_t x = 0; x < 8; ++x) {
                image.SetPixelIndex(x, y, uint8_t(x * 30 + y));
                image.AlphaSet(x, y, x == 7 ? 255 : uint8_t(x * 36));
            }
        std::vector<uint8_t> bytes;
        ASSERT_TRUE(Encode(image, IMAGE_FORMAT_TIF, &bytes)) << image.Info.LastError;
        Image back;
        ASSERT_TRUE(back.Decode(bytes.data(), bytes.size(), IMAGE_FORMAT_TIF)) << grey << ": " << back.Info.LastError;
        ASSERT_TRUE(back.AlphaIsValid()) << grey;
        const std::string path = dir + (grey ? "/grey-alpha.tif" : "/palette-alpha.tif");
        FILE* f = std::fopen(path.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
        uint32_t w = 0, h = 0;
        std::vector<uint8_t> reference;
        ASSERT_TRUE(Reference(path, &w, &h, &reference)) << grey;
        ASSERT_EQ(w, 8u);
        ASSERT_EQ(h, 4u);
        for (int32_t top = 0; top < 4; ++top)
            for (int32_t x = 0; x < 8; ++x) {
                const int32_t y = 3 - top;
                const RgbQuad want = image.GetPixelColor(x, y, false);
                // Our decoder reads RGBA through libtiff's raster, which premultiplies: colours
                // compare where the pixel is opaque.
                const RgbQuad got = back.GetPixelColor(x, y, false);
                if (image.AlphaGet(x, y) == 255) {
                    EXPECT_EQ(got.red, want.red) << grey << " at " << x << "," << top;
                    EXPECT_EQ(got.green, want.green) << grey << " at " << x << "," << top;
                    EXPECT_EQ(got.blue, want.blue) << grey << " at " << x << "," << top;
                }
                EXPECT_EQ(back.AlphaGet(x, y), image.AlphaGet(x, y)) << grey << " at " << x << "," << top;
                const uint8_t* magick = &reference[4 * size_t(top * 8 + x)];
                EXPECT_EQ(magick[0], want.red) << grey << " at " << x << "," << top;
                EXPECT_EQ(magick[1], want.green) << grey << " at " << x << "," << top;
                EXPECT_EQ(magick[2], want.blue) << grey << " at " << x << "," << top;
                EXPECT_EQ(magick[3], image.AlphaGet(x, y)) << grey << " at " << x << "," << top;
            }
    }
}

// PCX window corners are unsigned: pictures wider or higher than 32767, our own included, read
// back whole.
TEST(PcxCodec, SidesAbove32767ReadBack) {
    struct Case {
        uint32_t width, height, bits;
    } cases[] = {{40000, 1, 8}, {1, 40000, 8}, {40000, 2, 1}, {65536, 1, 1}};
    for (const Case& c : cases) {
        Image image;
        ASSERT_TRUE(image.Create(c.width, c.height, c.bits, IMAGE_FORMAT_BMP));
        image.SetGrayPalette();
        auto index = [&](uint32_t x, uint32_t y) { return uint8_t(c.bits == 8 ? (x * 7 + y * 3) % 251 : (x + y) % 3 == 0); };
        for (uint32_t y = 0; y < c.height; ++y)
            for (uint32_t x = 0; x < c.width; ++x) image.SetPixelIndex(int32_t(x), int32_t(y), index(x, y));
        std::vector<uint8_t> bytes;
        ASSERT_TRUE(Encode(image, IMAGE_FORMAT_PCX, &bytes)) << image.Info.LastError;
        Image back;
        ASSERT_TRUE(back.Decode(bytes.data(), bytes.size(), IMAGE_FORMAT_PCX)) << c.width << " x " << c.height << ": "
                                                                                << back.Info.LastError;
        ASSERT_EQ(back.GetWidth(), c.width);
        ASSERT_EQ(back.GetHeight(), c.height);
        for (uint32_t y = 0; y < c.height; ++y)
            for (uint32_t x = 0; x < c.width; ++x)
                ASSERT_EQ(back.GetPixelIndex(int32_t(x), int32_t(y)), index(x, y)) << c.width << " x " << c.height
                                                                                   << " at " << x << "," << y;
    }
}

TEST(WbmpCodec, OnlyOneBitPicturesBelow256PixelsCanBeSaved) {
    struct Case {
        uint32_t width, height, bits;
        bool saves;
    } cases[] = {{300, 10, 1, false}, {10, 300, 1, false}, {255, 255, 1, true}, {10, 10, 8, false}};
    for (const Case& c : cases) {
        Image image;
        ASSERT_TRUE(image.Create(c.width, c.height, c.bits, IMAGE_FORMAT_BMP));
        image.Clear(0);
        std::vector<uint8_t> bytes;
        EXPECT_EQ(Encode(image, IMAGE_FORMAT_WBMP, &bytes), c.saves) << c.width << "x" << c.height;
        if (!c.saves) {
            EXPECT_STREQ(image.Info.LastError, kErrWbmpSize);
        }
    }
}

TEST(WbmpCodec, WidthsFrom128AreMultiByteIntegers) {
    Image image;
    ASSERT_TRUE(image.Create(200, 3, 1, IMAGE_FORMAT_BMP));
    image.SetGrayPalette();
    image.Clear(0);
    image.SetPixelIndex(199, 2, 1);
    std::vector<uint8_t> bytes;
    ASSERT_TRUE(Encode(image, IMAGE_FORMAT_WBMP, &bytes));
    EXPECT_EQ(bytes[2], 0x81);  // 200 = 1 * 128 + 72
    EXPECT_EQ(bytes[3], 72);
    Image back;
    ASSERT_TRUE(back.Decode(bytes.data(), bytes.size(), IMAGE_FORMAT_WBMP));
    EXPECT_EQ(back.GetWidth(), 200u);
    EXPECT_EQ(back.GetPixelIndex(199, 2), 1);
    EXPECT_EQ(back.GetPixelIndex(0, 2), 0);
}

TEST(WmfCodec, PlaceableSizesFollowTheBoxAndStopAt4000Pixels) {
    // 10 x 10 inches and 100 x 50 inches at 1440 units per inch, on a 96-DPI screen.
    PlaceableSize small = LimitMetafileSize(PlaceablePixels(14400, 14400, 1440, 96, 96));
    EXPECT_EQ(small.width, 960);
    EXPECT_EQ(small.height, 960);
    PlaceableSize large = LimitMetafileSize(PlaceablePixels(144000, 72000, 1440, 96, 96));
    EXPECT_EQ(large.width, 4000);
    EXPECT_EQ(large.height, 2000);
    PlaceableSize tall = LimitMetafileSize({1000, 8000});
    EXPECT_EQ(tall.width, 500);
    EXPECT_EQ(tall.height, 4000);
    Image image;
    MakeColourful(image, 4, 4);
    std::vector<uint8_t> bytes;
    EXPECT_FALSE(Encode(image, IMAGE_FORMAT_WMF, &bytes));
    EXPECT_STREQ(image.Info.LastError, kErrWmfNoEncode);
}

// A placeable metafile of the given box that draws one rectangle over it.
std::vector<uint8_t> PlaceableWmf(int16_t right, int16_t bottom, uint16_t unitsPerInch) {
    std::vector<uint8_t> v;
    Put32(v, 0x9AC6CDD7);
    Put16(v, 0);
    Put16(v, 0);
    Put16(v, 0);
    Put16(v, uint16_t(right));
    Put16(v, uint16_t(bottom));
    Put16(v, unitsPerInch);
    Put32(v, 0);
    uint16_t sum = 0;
    for (size_t i = 0; i < 20; i += 2) sum ^= uint16_t(v[i] | v[i + 1] << 8);
    Put16(v, sum);
    const uint16_t words[] = {
        1, 9, 0x300, 0, 0, 0, 7, 0, 0,       // header: memory metafile, size patched below, largest record 7 words
        5, 0, 0x020B, 0, 0,                  // SetWindowOrg 0, 0
        5, 0, 0x020C, uint16_t(bottom), uint16_t(right),  // SetWindowExt
        7, 0, 0x041B, uint16_t(bottom), uint16_t(right), 0, 0,  // Rectangle
        3, 0, 0};                           // end
    for (uint16_t w : words) Put16(v, w);
    const uint32_t total = uint32_t(sizeof words / 2);
    v[22 + 6] = uint8_t(total);
    v[22 + 7] = uint8_t(total >> 8);
    return v;
}

TEST(WmfCodec, PlaceableMetafilesDecodeAtScreenResolutionWithinTheLimit) {
    struct Case {
        int16_t right, bottom;
        uint16_t inch;
        uint32_t width, height;
    } cases[] = {{10000, 10000, 1000, 960, 960}, {10000, 5000, 100, 4000, 2000}};
    for (const Case& c : cases) {
        const std::vector<uint8_t> wmf = PlaceableWmf(c.right, c.bottom, c.inch);
        Image image;
        const bool decoded = image.Decode(wmf.data(), wmf.size(), IMAGE_FORMAT_WMF);
        if (!kMetafilesRender) {
            EXPECT_FALSE(decoded);
            EXPECT_STREQ(image.Info.LastError, kErrWmfDamaged);
            continue;
        }
        ASSERT_TRUE(decoded) << image.Info.LastError;
        EXPECT_EQ(image.GetWidth(), c.width);
        EXPECT_EQ(image.GetHeight(), c.height);
        EXPECT_EQ(image.Info.Type, IMAGE_FORMAT_WMF);
    }
    std::vector<uint8_t> damaged = PlaceableWmf(10000, 10000, 1000);
    damaged[20] ^= 1;  // checksum; no enhanced metafile either
    Image image;
    EXPECT_FALSE(image.Decode(damaged.data(), damaged.size(), IMAGE_FORMAT_WMF));
    EXPECT_STREQ(image.Info.LastError, kErrWmfDamaged);
}

// ImageMagick reads our TIFF, TGA, PCX and WBMP files back with the same pixels.
TEST(FurtherCodecsReadBack, ImageMagickSeesOurPixels) {
    Image colour;
    MakeColourful(colour, 37, 21);
    colour.Info.CodecOption[IMAGE_FORMAT_TIF] = 5;  // LZW: lossless
    Image palette;
    ASSERT_TRUE(palette.Create(19, 7, 8, IMAGE_FORMAT_BMP));
    for (uint32_t i = 0; i < 256; ++i) palette.SetPaletteColor(uint8_t(i), uint8_t(i), uint8_t(255 - i), uint8_t(i * 3));
    for (int32_t y = 0; y < 7; ++y)
        for (int32_t x = 0; x < 19; ++x) palette.SetPixelIndex(x, y, uint8_t(x * 13 + y));
    Image four;
    ASSERT_TRUE(four.Create(21, 6, 4, IMAGE_FORMAT_BMP));
    for (uint32_t i = 0; i < 16; ++i) four.SetPaletteColor(uint8_t(i), uint8_t(i * 16), uint8_t(200 - i * 8), uint8_t(i * i));
    for (int32_t y = 0; y < 6; ++y)
        for (int32_t x = 0; x < 21; ++x) four.SetPixelIndex(x, y, uint8_t((x + 3 * y) % 16));
    Image mono;
    ASSERT_TRUE(mono.Create(13, 5, 1, IMAGE_FORMAT_BMP));
    mono.SetGrayPalette();
    for (int32_t y = 0; y < 5; ++y)
        for (int32_t x = 0; x < 13; ++x) mono.SetPixelIndex(x, y, uint8_t((x * y + x) % 3 == 0));
    struct Case {
        Image* image;
        int32_t format;
        const char* name;
    } cases[] = {{&colour, IMAGE_FORMAT_TIF, "c.tif"}, {&colour, IMAGE_FORMAT_TGA, "c.tga"}, {&colour, IMAGE_FORMAT_PCX, "c.pcx"},
                 {&palette, IMAGE_FORMAT_TIF, "p.tif"}, {&palette, IMAGE_FORMAT_TGA, "p.tga"}, {&palette, IMAGE_FORMAT_PCX, "p.pcx"},
                 {&four, IMAGE_FORMAT_TIF, "f.tif"},    {&four, IMAGE_FORMAT_PCX, "f.pcx"},     {&mono, IMAGE_FORMAT_TIF, "m.tif"},
                 {&mono, IMAGE_FORMAT_WBMP, "m.wbmp"}};
    for (const Case& c : cases) {
        const std::string path = ScratchDir() + "/" + c.name;
        ASSERT_TRUE(c.image->Save(ApiPath(path).c_str(), c.format)) << c.name;
        FILE* p = popen(("convert '" + path + "' -auto-orient -depth 8 rgb:- 2>/dev/null").c_str(), "r");
        ASSERT_TRUE(p);
        std::vector<uint8_t> rgb(size_t(c.image->GetWidth()) * c.image->GetHeight() * 3 + 1);
        const size_t got = fread(rgb.data(), 1, rgb.size(), p);
        pclose(p);
        rgb.resize(got);
        EXPECT_EQ(rgb, TopDownRgb(*c.image)) << c.name;
    }
}

}  // namespace
}  // namespace ruvelto::image::test
