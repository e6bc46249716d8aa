// The JPEG-2000 family codec: each variant written and read back, recognition in the probe,
// the refusals and texts of the encoder, and headers that promise more than the file holds.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "image/j2k_codec.h"
#include "image/mem_stream.h"
#include "tests/image/test_files.h"

namespace ruvelto::image::test {
namespace {

// A 24-bit picture whose pixels all differ from their neighbours, or its grey twin.
void Paint(Image& image, uint32_t w, uint32_t h, bool grey) {
    ASSERT_TRUE(image.Create(w, h, grey ? 8 : 24, 0));
    if (grey) image.SetGrayPalette();
    for (uint32_t y = 0; y < h; ++y) {
        for (uint32_t x = 0; x < w; ++x) {
            if (grey) image.SetPixelIndex(int32_t(x), int32_t(y), uint8_t(x * 7 + y * 13));
            else image.SetPixelColor(int32_t(x), int32_t(y), RgbQuad{uint8_t(x * 9), uint8_t(y * 5), uint8_t(x ^ y), 0});
        }
    }
}

std::vector<uint8_t> Encoded(Image& image, int32_t format) {
    uint8_t* buffer = nullptr;
    size_t size = 0;
    if (!image.Encode(&buffer, &size, format)) return {};
    std::vector<uint8_t> bytes(buffer, buffer + size);
    FreeMemory(buffer);
    return bytes;
}

struct Variant {
    int32_t format;
    const char* name;
};
const Variant kVariants[] = {
    {IMAGE_FORMAT_JP2, "JP2"}, {IMAGE_FORMAT_JPC, "JPC"}, {IMAGE_FORMAT_PGX, "PGX"},
    {IMAGE_FORMAT_PNM, "PNM"}, {IMAGE_FORMAT_RAS, "RAS"},
};

// Every variant keeps every pixel (JP2 and JPC losslessly at quality 100), names itself when the
// probe finds it, and comes back as the same kind of picture.
TEST(J2kCodec, EveryVariantReadsBackItsPixelsAndIsRecognised) {
    for (const bool grey : {false, true}) {
        Image original;
        Paint(original, 37, 23, grey);
        original.Info.JpegQuality = 100;
        for (const Variant& v : kVariants) {
            if (v.format == IMAGE_FORMAT_PGX && !grey) continue;
            SCOPED_TRACE(std::string(v.name) + (grey ? " grey" : " colour"));
            const std::vector<uint8_t> bytes = Encoded(original, v.format);
            ASSERT_FALSE(bytes.empty()) << original.Info.LastError;
            EXPECT_EQ(RecogniseJ2kVariant(bytes.data(), bytes.size()), v.format);
            for (const int32_t format : {v.format, int32_t(IMAGE_FORMAT_UNKNOWN)}) {
                Image back;
                ASSERT_TRUE(back.Decode(bytes.data(), bytes.size(), format)) << back.Info.LastError;
                EXPECT_EQ(back.Info.Type, v.format);
                EXPECT_EQ(back.GetBpp(), grey ? 8u : 24u);
                EXPECT_EQ(TopDownRgb(back), TopDownRgb(original));
            }
        }
    }
}

TEST(J2kCodec, LowerQualityMakesSmallerLossyFiles) {
    Image original;
    Paint(original, 64, 64, false);
    original.Info.JpegQuality = 100;
    const size_t lossless = Encoded(original, IMAGE_FORMAT_JP2).size();
    original.Info.JpegQuality = 10;
    const std::vector<uint8_t> small = Encoded(original, IMAGE_FORMAT_JP2);
    ASSERT_FALSE(small.empty());
    EXPECT_LT(small.size(), lossless);
    // Ten per cent of the raw size, give or take the headers.
    EXPECT_LT(small.size(), 64 * 64 * 3 / 10 + 100);
    Image back;
    EXPECT_TRUE(back.Decode(small.data(), small.size(), IMAGE_FORMAT_JP2)) << back.Info.LastError;
}

TEST(J2kCodec, EncoderRefusals) {
    Image colour;
    Paint(colour, 8, 8, false);
    EXPECT_TRUE(Encoded(colour, IMAGE_FORMAT_PGX).empty());
    EXPECT_STREQ(colour.Info.LastError, "PGX can save only GrayScale images");

    Image palette;
    ASSERT_TRUE(palette.Create(8, 8, 8, 0));
    palette.SetGrayPalette();
    palette.SetPaletteColor(3, 200, 10, 10);
    for (const Variant& v : kVariants) {
        EXPECT_TRUE(Encoded(palette, v.format).empty()) << v.name;
        EXPECT_STREQ(palette.Info.LastError, "JasPer \xD6\xBB\xC4\xDC\xB1\xA3\xB4\xE6\xCE\xAARGB\xBB\xF2\xBB\xD2\xB6\xC8\xCD\xBC\xCF\xF1")
            << v.name;
    }
    Image empty;
    EXPECT_TRUE(Encoded(empty, IMAGE_FORMAT_PNM).empty());
}

// Texts and results of bad or cut data, and of a caller that asks to stop.
TEST(J2kCodec, BadDataFailsWithItsText) {
    struct Case {
        const char* what;
        std::string bytes;
        int32_t format;
        const char* textStart;
    };
    const std::string pixels(64, '\x40');
    const Case cases[] = {
        {"PNM promising a huge picture", "P5\n100000 100000\n255\n" + pixels, IMAGE_FORMAT_PNM, "error: cannot load image data: PNM data is shorter"},
        {"PNM cut short", "P5\n16 16\n255\n" + pixels, IMAGE_FORMAT_PNM, "error: cannot load image data: PNM data is shorter"},
        {"plain PGM cut short", "P2 3 3 255 1 2 3 4 5 6 7 8", IMAGE_FORMAT_PNM, "error: cannot load image data: PNM data ends early"},
        {"PNM sample above maximum", "P2 1 1 15 16", IMAGE_FORMAT_PNM, "error: cannot load image data: PNM sample above"},
        {"PGX promising a huge picture", "PG ML +8 90000 90000\n" + pixels, IMAGE_FORMAT_PGX, "error: cannot load image data: PGX data is shorter"},
        {"PGX of 17 bits", "PG ML +17 4 4\n" + pixels, IMAGE_FORMAT_PGX, "error: cannot load image data: PGX precision"},
        {"Sun raster of 7 bits", std::string("\x59\xA6\x6A\x95\0\0\0\4\0\0\0\4\0\0\0\7", 16) + std::string(16, '\0') + pixels,
         IMAGE_FORMAT_RAS, "error: cannot load image data: Sun raster depth"},
        {"codestream cut after its signature", std::string("\xFF\x4F\xFF\x51\0\x29", 6) + pixels, IMAGE_FORMAT_JPC, "error: cannot load image data"},
        {"JP2 with nothing after the signature", std::string("\0\0\0\x0CjP  \r\n\x87\n", 12) + pixels, IMAGE_FORMAT_JP2, "error: cannot load image data"},
        {"none of the family", pixels, IMAGE_FORMAT_UNKNOWN, "\xBD\xE2\xC2\xEB"},  // 解码: the probe's text
    };
    for (const Case& c : cases) {
        Image image;
        EXPECT_FALSE(image.Decode(reinterpret_cast<const uint8_t*>(c.bytes.data()), c.bytes.size(), c.format)) << c.what;
        EXPECT_EQ(std::string(image.Info.LastError).rfind(c.textStart, 0), 0u) << c.what << ": " << image.Info.LastError;
        EXPECT_FALSE(image.IsValid()) << c.what;
    }
}

TEST(J2kCodec, EscapeStopsEveryVariant) {
    Image original;
    Paint(original, 16, 16, true);
    for (const Variant& v : kVariants) {
        const std::vector<uint8_t> bytes = Encoded(original, v.format);
        ASSERT_FALSE(bytes.empty()) << v.name;
        for (const int32_t escape : {1, -1}) {
            Image image;
            image.Info.Escape = escape;
            EXPECT_FALSE(image.Decode(bytes.data(), bytes.size(), v.format)) << v.name;
            EXPECT_STREQ(image.Info.LastError, "Cancelled") << v.name;
        }
    }
}

// Components beyond the first three: alpha when there are four; a chosen single component
// otherwise, which Frame names; more than 64 refused before decoding.
TEST(J2kCodec, ComponentsChooseThePicture) {
    // A PAM of grey and alpha, and one of colour and alpha.
    const std::string greyAlpha = std::string("P7\nWIDTH 2\nHEIGHT 1\nDEPTH 2\nMAXVAL 255\nTUPLTYPE GRAYSCALE_ALPHA\nENDHDR\n") +
                                  std::string("\x10\x80\x20\xFF", 4);
    Image grey;
    ASSERT_TRUE(grey.Decode(reinterpret_cast<const uint8_t*>(greyAlpha.data()), greyAlpha.size(), IMAGE_FORMAT_PNM))
        << grey.Info.LastError;
    EXPECT_EQ(grey.GetBpp(), 8u);
    ASSERT_TRUE(grey.AlphaIsValid());
    EXPECT_EQ(grey.GetPixelIndex(1, 0), 0x20);
    EXPECT_EQ(grey.AlphaGet(0, 0), 0x80);

    const std::string rgba = std::string("P7\nWIDTH 1\nHEIGHT 1\nDEPTH 4\nMAXVAL 255\nTUPLTYPE RGB_ALPHA\nENDHDR\n") +
                             std::string("\x11\x22\x33\x44", 4);
    Image colour;
    ASSERT_TRUE(colour.Decode(reinterpret_cast<const uint8_t*>(rgba.data()), rgba.size(), IMAGE_FORMAT_PNM));
    EXPECT_EQ(colour.GetBpp(), 24u);
    EXPECT_EQ(colour.GetPixelColor(0, 0, false).red, 0x11);
    EXPECT_EQ(colour.GetPixelColor(0, 0, false).blue, 0x33);
    EXPECT_EQ(colour.AlphaGet(0, 0), 0x44);

    Image second;
    second.Info.Frame = 1;
    ASSERT_TRUE(second.Decode(reinterpret_cast<const uint8_t*>(greyAlpha.data()), greyAlpha.size(), IMAGE_FORMAT_PNM));
    EXPECT_EQ(second.GetPixelIndex(0, 0), 0x80);
    EXPECT_FALSE(second.AlphaIsValid());

    Image beyond;
    beyond.Info.Frame = 2;
    EXPECT_FALSE(beyond.Decode(reinterpret_cast<const uint8_t*>(greyAlpha.data()), greyAlpha.size(), IMAGE_FORMAT_PNM));
    EXPECT_STREQ(beyond.Info.LastError, "wrong frame!");

    // The conformance codestream with 257 components.
    Image many;
    EXPECT_FALSE(many.Load(ApiPath(CorpusPath("jp2/conformance/p0_13.j2k")).c_str(), IMAGE_FORMAT_JPC));
    EXPECT_STREQ(many.Info.LastError, "error: too much components");
}

// Samples of fewer or more than 8 bits keep their brightness: a 4-bit PGM becomes a 16-grey
// picture, a maximum of 4 is spread over 0-255, 16-bit samples keep their high byte's level.
TEST(J2kCodec, SamplePrecisionKeepsBrightness) {
    struct Case {
        std::string bytes;
        uint32_t bpp;
        uint8_t grey;  // of the one pixel
    };
    const Case cases[] = {
        {"P2 1 1 15 15", 4, 255}, {"P2 1 1 15 5", 4, 85}, {"P2 1 1 4 2", 8, 128},
        {"P2 1 1 65535 32896", 8, 128}, {"P1 1 1 1", 1, 0}, {"P1 1 1 0", 1, 255},
        {"PG ML -4 1 1\n\xF8", 4, 0}, {"PG ML -4 1 1\n\x07", 4, 255}, {"PG LM +12 1 1\n\xFF\x0F", 8, 255},
    };
    for (const Case& c : cases) {
        Image image;
        ASSERT_TRUE(image.Decode(reinterpret_cast<const uint8_t*>(c.bytes.data()), c.bytes.size(), 0))
            << c.bytes << ": " << image.Info.LastError;
        EXPECT_EQ(image.GetBpp(), c.bpp) << c.bytes;
        EXPECT_EQ(image.GetPixelColor(0, 0, false).green, c.grey) << c.bytes;
    }
}

}  // namespace
}  // namespace ruvelto::image::test
