// JPEG decoding and encoding: scale, quality, grey and CMYK files, resolution from EXIF or JFIF,
// and the section reader with its EXIF messages.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include <jpeglib.h>

#include "image/jpeg_codec.h"
#include "image/mem_stream.h"
#include "tests/image/test_files.h"

namespace ruvelto::image {
namespace {

std::vector<uint8_t> EncodeJpeg(Image& image) {
    uint8_t* out = nullptr;
    size_t size = 0;
    if (!image.Encode(&out, &size, IMAGE_FORMAT_JPG)) return {};
    std::vector<uint8_t> bytes(out, out + size);
    FreeMemory(out);
    return bytes;
}

bool DecodeJpeg(const std::vector<uint8_t>& bytes, Image& image) {
    return image.Decode(bytes.data(), bytes.size(), IMAGE_FORMAT_JPG);
}

// A colourful w x h picture encoded as JPEG with the given density.
std::vector<uint8_t> SampleJpeg(uint32_t w, uint32_t h, int32_t dpi = 96) {
    Image image;
    image.Create(w, h, 24, 0);
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x) image.SetPixelColor(int32_t(x), int32_t(y), RgbQuad{uint8_t(x), uint8_t(y), 200, 0});
    image.SetXDPI(dpi);
    image.SetYDPI(dpi);
    return EncodeJpeg(image);
}

// One IFD entry; values longer than 4 bytes go after the directory.
struct IfdEntry {
    uint16_t tag;
    uint16_t format;
    uint32_t count;
    std::vector<uint8_t> value;
};

void Put16(std::vector<uint8_t>& v, uint32_t x, bool big) {
    if (big) v.insert(v.end(), {uint8_t(x >> 8), uint8_t(x)});
    else v.insert(v.end(), {uint8_t(x), uint8_t(x >> 8)});
}
void Put32(std::vector<uint8_t>& v, uint32_t x, bool big) {
    Put16(v, big ? x >> 16 : x & 0xFFFF, big);
    Put16(v, big ? x & 0xFFFF : x >> 16, big);
}
std::vector<uint8_t> Rational(uint32_t num, uint32_t den, bool big) {
    std::vector<uint8_t> v;
    Put32(v, num, big);
    Put32(v, den, big);
    return v;
}
std::vector<uint8_t> Short(uint32_t x, bool big) {
    std::vector<uint8_t> v;
    Put16(v, x, big);
    v.resize(4, 0);
    return v;
}

// The APP1 segment (marker included) of an EXIF block with one directory.
std::vector<uint8_t> ExifSegment(const std::vector<IfdEntry>& entries, bool big = false) {
    std::vector<uint8_t> tiff = big ? std::vector<uint8_t>{'M', 'M'} : std::vector<uint8_t>{'I', 'I'};
    Put16(tiff, 42, big);
    Put32(tiff, 8, big);
    std::vector<uint8_t> data;
    const uint32_t dataStart = 8 + 2 + 12 * uint32_t(entries.size()) + 4;
    Put16(tiff, uint32_t(entries.size()), big);
    for (const IfdEntry& e : entries) {
        Put16(tiff, e.tag, big);
        Put16(tiff, e.format, big);
        Put32(tiff, e.count, big);
        if (e.value.size() <= 4) {
            std::vector<uint8_t> inline_ = e.value;
            inline_.resize(4, 0);
            tiff.insert(tiff.end(), inline_.begin(), inline_.end());
        } else {
            Put32(tiff, dataStart + uint32_t(data.size()), big);
            data.insert(data.end(), e.value.begin(), e.value.end());
        }
    }
    Put32(tiff, 0, big);
    tiff.insert(tiff.end(), data.begin(), data.end());
    std::vector<uint8_t> segment = {0xFF, 0xE1};
    const uint32_t length = 2 + 6 + uint32_t(tiff.size());
    segment.insert(segment.end(), {uint8_t(length >> 8), uint8_t(length), 'E', 'x', 'i', 'f', 0, 0});
    segment.insert(segment.end(), tiff.begin(), tiff.end());
    return segment;
}

// The JPEG with a segment inserted right after its start-of-image marker.
std::vector<uint8_t> WithSegment(std::vector<uint8_t> jpeg, const std::vector<uint8_t>& segment) {
    jpeg.insert(jpeg.begin() + 2, segment.begin(), segment.end());
    return jpeg;
}

TEST(JpegDecode, ScaleDividesBy1248RoundingUp) {
    const std::vector<uint8_t> jpeg = SampleJpeg(1001, 600);
    struct Case {
        uint8_t scale;
        uint32_t width, height;
    } cases[] = {{0, 1001, 600}, {1, 1001, 600}, {2, 501, 300}, {3, 501, 300}, {4, 251, 150},
                 {7, 251, 150}, {8, 126, 75}, {200, 126, 75}};
    for (const Case& c : cases) {
        Image image;
        image.Info.JpegScale = c.scale;
        ASSERT_TRUE(DecodeJpeg(jpeg, image)) << int(c.scale);
        EXPECT_EQ(image.GetWidth(), c.width) << int(c.scale);
        EXPECT_EQ(image.GetHeight(), c.height) << int(c.scale);
        EXPECT_EQ(image.Info.JpegScale, c.scale);
    }
    // Dimensions only.
    Image sizeOnly;
    sizeOnly.Info.Escape = -1;
    sizeOnly.Info.JpegScale = 2;
    EXPECT_TRUE(DecodeJpeg(jpeg, sizeOnly));
    EXPECT_EQ(sizeOnly.GetWidth(), 501u);
    EXPECT_FALSE(sizeOnly.IsValid());
}

TEST(JpegDecode, ColoursRowsAndOrderSurviveARoundTrip) {
    Image image;
    ASSERT_TRUE(image.Create(64, 32, 24, 0));
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 64; ++x) image.SetPixelColor(x, y, RgbQuad{uint8_t(y < 16 ? 250 : 10), 30, uint8_t(x < 32 ? 240 : 20), 0});
    image.Info.JpegQuality = 100;
    Image back;
    ASSERT_TRUE(DecodeJpeg(EncodeJpeg(image), back));
    ASSERT_EQ(back.GetBpp(), 24u);
    EXPECT_EQ(back.Header.ClrUsed, 0u);
    const RgbQuad bottomLeft = back.GetPixelColor(4, 4);  // stored row 4 is near the bottom
    EXPECT_NEAR(bottomLeft.blue, 250, 6);
    EXPECT_NEAR(bottomLeft.red, 240, 6);
    const RgbQuad topRight = back.GetPixelColor(60, 28);
    EXPECT_NEAR(topRight.blue, 10, 6);
    EXPECT_NEAR(topRight.red, 20, 6);
}

TEST(JpegEncode, QualityIsClampedToOneToHundred) {
    Image image;
    ASSERT_TRUE(image.Create(32, 32, 24, 0));
    image.Clear(0x5A);
    auto at = [&](uint8_t q) {
        image.Info.JpegQuality = q;
        return EncodeJpeg(image);
    };
    EXPECT_EQ(at(150), at(100));
    EXPECT_EQ(at(0), at(1));
    EXPECT_NE(at(100), at(50));
}

TEST(JpegEncode, PaletteMustBeAGreyRamp) {
    Image colour;
    ASSERT_TRUE(colour.Create(4, 4, 8, 0));
    colour.SetPaletteColor(1, 255, 0, 0);
    uint8_t* out = nullptr;
    size_t size = 0;
    EXPECT_FALSE(colour.Encode(&out, &size, IMAGE_FORMAT_JPG));
    EXPECT_STREQ(colour.Info.LastError, kErrJpegOnlyRgbOrGrey);
}

TEST(JpegDecode, GreyFilesAreEightBitWithAGreyPaletteAndStayGrey) {
    // An 8-bit and a 1-bit grey-ramp picture (palette entry i = level i) both write one-component
    // files; the 1-bit one is widened to a byte a pixel first.
    for (uint32_t bits : {8u, 1u}) {
        Image grey;
        ASSERT_TRUE(grey.Create(100, 10, bits, 0));
        grey.SetGrayPalette();
        if (bits == 1) grey.SetPaletteColor(1, 1, 1, 1);
        for (int x = 0; x < 100; ++x)
            for (int y = 0; y < 10; ++y) grey.SetPixelIndex(x, y, uint8_t(bits == 8 ? x * 2 : x >= 50));
        ASSERT_TRUE(grey.IsGrayScale());
        grey.Info.JpegQuality = 100;
        const std::vector<uint8_t> jpeg = EncodeJpeg(grey);
        ASSERT_FALSE(jpeg.empty());
        Image back;
        ASSERT_TRUE(DecodeJpeg(jpeg, back));
        EXPECT_EQ(back.GetBpp(), 8u);
        EXPECT_TRUE(back.IsGrayScale());
        EXPECT_NEAR(back.GetPixelIndex(90, 5), bits == 8 ? 180 : 1, 2) << bits;
        EXPECT_NEAR(back.GetPixelIndex(10, 5), bits == 8 ? 20 : 0, 2) << bits;
        // One component in the start-of-frame header.
        ImageJPG codec;
        MemStream s(jpeg.data(), jpeg.size());
        ASSERT_TRUE(codec.Decode(s));
        EXPECT_FALSE(codec.Exif.IsColor);
    }
}

TEST(JpegDecode, CmykIsMultipliedByItsFourthByte) {
    // An Adobe CMYK file of one flat colour, written by libjpeg at quality 100.
    const uint8_t cmyk[4] = {200, 100, 50, 128};
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* mem = nullptr;
    unsigned long memSize = 0;
    jpeg_mem_dest(&c, &mem, &memSize);
    c.image_width = 16;
    c.image_height = 16;
    c.input_components = 4;
    c.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 100, TRUE);
    jpeg_start_compress(&c, TRUE);
    std::vector<uint8_t> row(16 * 4);
    for (size_t i = 0; i < row.size(); ++i) row[i] = cmyk[i % 4];
    while (c.next_scanline < 16) {
        JSAMPROW r = row.data();
        jpeg_write_scanlines(&c, &r, 1);
    }
    jpeg_finish_compress(&c);
    const std::vector<uint8_t> jpeg(mem, mem + memSize);
    jpeg_destroy_compress(&c);
    std::free(mem);

    Image image;
    ASSERT_TRUE(DecodeJpeg(jpeg, image));
    EXPECT_EQ(image.GetBpp(), 24u);
    const RgbQuad p = image.GetPixelColor(7, 7);
    EXPECT_NEAR(p.red, 200 * 128 / 255, 1);
    EXPECT_NEAR(p.green, 100 * 128 / 255, 1);
    EXPECT_NEAR(p.blue, 50 * 128 / 255, 1);
}

TEST(JpegDecode, TruncatedFileDecodesAsFarAsItGoes) {
    const std::vector<uint8_t> jpeg = SampleJpeg(256, 256);
    size_t scan = 2;
    while (scan + 4 < jpeg.size() && !(jpeg[scan] == 0xFF && jpeg[scan + 1] == 0xDA)) ++scan;
    const size_t data = scan + 2 + (jpeg[scan + 2] << 8 | jpeg[scan + 3]);
    ASSERT_LT(data + 100, jpeg.size());
    // Half the scan data, and none of it: both decode, the missing part filled in.
    for (size_t cut : {(data + jpeg.size()) / 2, data}) {
        Image image;
        EXPECT_TRUE(image.Decode(jpeg.data(), cut, IMAGE_FORMAT_JPG)) << cut;
        EXPECT_EQ(image.GetWidth(), 256u);
    }
    // Cut inside the headers: libjpeg's message.
    Image none;
    EXPECT_FALSE(none.Decode(jpeg.data(), scan, IMAGE_FORMAT_JPG));
    EXPECT_STREQ(none.Info.LastError, "Invalid JPEG file structure: missing SOS marker");
    const std::vector<uint8_t> zeros(40, 0);
    EXPECT_FALSE(DecodeJpeg(zeros, none));
    EXPECT_STREQ(none.Info.LastError, "Not a JPEG file: starts with 0x00 0x00");
}

TEST(JpegDecode, ResolutionFromExifThenJfif) {
    const bool big = true;
    struct Case {
        const char* what;
        std::vector<uint8_t> segment;  // empty: no EXIF
        int32_t jfifDpi;               // 0: no JFIF header at all
        int32_t xdpi, ydpi;
    } cases[] = {
        {"EXIF inches", ExifSegment({{0x11A, 5, 1, Rational(300, 1, false)}, {0x11B, 5, 1, Rational(200, 1, false)},
                                     {0x128, 3, 1, Short(2, false)}}), 72, 300, 200},
        {"EXIF centimetres, big-endian", ExifSegment({{0x11A, 5, 1, Rational(300, 1, big)}, {0x11B, 5, 1, Rational(300, 1, big)},
                                                      {0x128, 3, 1, Short(3, big)}}, big), 72, 762, 762},
        {"EXIF without a unit: JFIF", ExifSegment({{0x11A, 5, 1, Rational(300, 1, false)}}), 72, 72, 72},
        {"EXIF resolution 0/0: JFIF", ExifSegment({{0x11A, 5, 1, Rational(0, 0, false)}, {0x128, 3, 1, Short(2, false)}}),
         150, 150, 150},
        {"EXIF resolution beyond any density", ExifSegment({{0x11A, 5, 1, Rational(4000000000u, 1, false)},
                                                            {0x128, 3, 1, Short(2, false)}}), 72, INT32_MAX, 72},
        {"JFIF only", {}, 72, 72, 72},
        {"neither", {}, 0, 96, 96},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> jpeg = SampleJpeg(8, 8, c.jfifDpi ? c.jfifDpi : 96);
        ASSERT_EQ(jpeg[3], 0xE0);
        if (!c.jfifDpi) jpeg.erase(jpeg.begin() + 2, jpeg.begin() + 2 + 2 + 16);
        if (!c.segment.empty()) jpeg = WithSegment(jpeg, c.segment);
        Image image;
        image.SetXDPI(555);  // a previous picture's density must not carry over
        image.SetYDPI(555);
        ASSERT_TRUE(DecodeJpeg(jpeg, image)) << c.what;
        EXPECT_EQ(image.Info.XDPI, c.xdpi) << c.what;
        EXPECT_EQ(image.Info.YDPI, c.ydpi) << c.what;
        EXPECT_GT(image.Header.XPelsPerMeter, 0) << c.what;
    }
}

TEST(JpegDecode, JfifDotsPerCentimetre) {
    std::vector<uint8_t> jpeg = SampleJpeg(8, 8);
    jpeg[13] = 2;  // unit: dots per centimetre
    jpeg[14] = 0;
    jpeg[15] = 28;
    jpeg[16] = 0;
    jpeg[17] = 1;
    Image image;
    ASSERT_TRUE(DecodeJpeg(jpeg, image));
    EXPECT_EQ(image.Info.XDPI, 71);
    EXPECT_EQ(image.Info.YDPI, 3);
}

// JFIF density unit 0 gives only the pixels' aspect ratio: the resolution is unknown, 96 dpi, as
// without a JFIF header. ImageMagick writes such files; converted to PNG they keep 96 dpi
// (3780 pixels per metre), not 1.
TEST(JpegDecode, JfifUnitZeroIsAnUnknownResolution) {
    struct Case {
        const char* what;
        uint8_t unit;
        uint16_t x, y;
        int32_t xdpi, ydpi;
    } cases[] = {
        {"unit 0, 1:1", 0, 1, 1, 96, 96},
        {"unit 0, 3:2", 0, 3, 2, 96, 96},
        {"unit 1", 1, 150, 300, 150, 300},
        {"unit 2", 2, 28, 1, 71, 3},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> jpeg = SampleJpeg(8, 8);
        ASSERT_EQ(jpeg[3], 0xE0);
        jpeg[13] = c.unit;
        jpeg[14] = uint8_t(c.x >> 8), jpeg[15] = uint8_t(c.x);
        jpeg[16] = uint8_t(c.y >> 8), jpeg[17] = uint8_t(c.y);
        Image image;
        image.SetXDPI(555);
        image.SetYDPI(555);
        ASSERT_TRUE(DecodeJpeg(jpeg, image)) << c.what;
        EXPECT_EQ(image.Info.XDPI, c.xdpi) << c.what;
        EXPECT_EQ(image.Info.YDPI, c.ydpi) << c.what;
    }

    // ImageMagick's own JPEG, converted to PNG.
    const std::string path = test::ScratchDir() + "/imagemagick.jpg";
    ASSERT_EQ(std::system(("convert -size 8x8 xc:red '" + path + "' 2>/dev/null").c_str()), 0);
    const std::vector<uint8_t> magick = test::ReadFileBytes(path);
    ASSERT_GT(magick.size(), 18u);
    ASSERT_EQ(magick[13], 0) << "ImageMagick writes JFIF unit 0";
    Image image;
    ASSERT_TRUE(DecodeJpeg(magick, image));
    EXPECT_EQ(image.Info.XDPI, 96);
    uint8_t* out = nullptr;
    size_t size = 0;
    ASSERT_TRUE(image.Encode(&out, &size, IMAGE_FORMAT_PNG));
    const std::vector<uint8_t> png(out, out + size);
    FreeMemory(out);
    bool found = false;
    for (size_t at = 8; at + 12 <= png.size();) {
        const uint32_t n = uint32_t(png[at]) << 24 | png[at + 1] << 16 | png[at + 2] << 8 | png[at + 3];
        if (std::memcmp(&png[at + 4], "pHYs", 4) == 0 && n == 9) {
            const uint8_t* d = &png[at + 8];
            EXPECT_EQ(uint32_t(d[0] << 24 | d[1] << 16 | d[2] << 8 | d[3]), 3780u) << "pixels per metre";
            found = true;
        }
        at += 12 + size_t(n);
    }
    EXPECT_TRUE(found);
}

TEST(JpegEncode, WritesJfifDensityInDotsPerInch) {
    const std::vector<uint8_t> jpeg = SampleJpeg(8, 8, 300);
    ASSERT_GE(jpeg.size(), 20u);
    EXPECT_EQ(std::string(jpeg.begin() + 6, jpeg.begin() + 10), "JFIF");
    EXPECT_EQ(jpeg[13], 1);
    EXPECT_EQ(jpeg[14] << 8 | jpeg[15], 300);
    EXPECT_EQ(jpeg[16] << 8 | jpeg[17], 300);
}

// The JPEG option word: no bound command sets it, but it travels with the object's settings.
bool HasMarker(const std::vector<uint8_t>& jpeg, uint8_t marker) {
    for (size_t i = 2; i + 3 < jpeg.size();) {
        if (jpeg[i] != 0xFF) return false;
        if (jpeg[i + 1] == marker) return true;
        if (jpeg[i + 1] == 0xDA) return false;
        i += 2 + size_t(jpeg[i + 2] << 8 | jpeg[i + 3]);
    }
    return false;
}

TEST(JpegOptions, EncodeBits) {
    Image image;
    ASSERT_TRUE(image.Create(64, 64, 24, 0));
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) image.SetPixelColor(x, y, RgbQuad{uint8_t(x * 4), uint8_t(y * 4), 90, 0});
    const std::vector<uint8_t> plain = EncodeJpeg(image);
    ASSERT_TRUE(HasMarker(plain, 0xC0));  // baseline frame
    struct Case {
        int32_t option;
        uint8_t frameMarker;
    } cases[] = {{ENCODE_PROGRESSIVE, 0xC2}, {ENCODE_ARITHMETIC, 0xC9}, {ENCODE_OPTIMIZE, 0xC0}, {ENCODE_GRAYSCALE, 0xC0}};
    for (const Case& c : cases) {
        image.Info.CodecOption[IMAGE_FORMAT_JPG] = c.option;
        const std::vector<uint8_t> jpeg = EncodeJpeg(image);
        EXPECT_TRUE(HasMarker(jpeg, c.frameMarker)) << c.option;
        Image back;
        ASSERT_TRUE(DecodeJpeg(jpeg, back)) << c.option;
        EXPECT_EQ(back.GetBpp(), c.option == ENCODE_GRAYSCALE ? 8u : 24u) << c.option;
        if (c.option == ENCODE_OPTIMIZE) {
            EXPECT_LT(jpeg.size(), plain.size());
        }
    }
}

TEST(JpegOptions, DecodeBits) {
    const std::vector<uint8_t> jpeg = SampleJpeg(64, 64);
    Image grey;
    grey.Info.CodecOption[IMAGE_FORMAT_JPG] = DECODE_GRAYSCALE;
    ASSERT_TRUE(DecodeJpeg(jpeg, grey));
    EXPECT_EQ(grey.GetBpp(), 8u);
    EXPECT_TRUE(grey.IsGrayScale());

    // Quantizing asks for JpegQuality colours.
    for (int32_t option : {int32_t{DECODE_QUANTIZE}, DECODE_QUANTIZE | DECODE_DITHER | DECODE_ONEPASS | DECODE_NOSMOOTH}) {
        Image few;
        few.Info.CodecOption[IMAGE_FORMAT_JPG] = option;
        few.Info.JpegQuality = 16;
        ASSERT_TRUE(DecodeJpeg(jpeg, few)) << option;
        EXPECT_EQ(few.GetBpp(), 8u);
        int highest = 0;
        for (int y = 0; y < 64; ++y)
            for (int x = 0; x < 64; ++x) highest = std::max(highest, int(few.GetPixelIndex(x, y)));
        EXPECT_LT(highest, 16) << option;
        EXPECT_FALSE(few.IsGrayScale());
    }
    // libjpeg refuses fewer than 8 colours.
    Image refused;
    refused.Info.CodecOption[IMAGE_FORMAT_JPG] = DECODE_QUANTIZE;
    refused.Info.JpegQuality = 4;
    EXPECT_FALSE(DecodeJpeg(jpeg, refused));
    EXPECT_STREQ(refused.Info.LastError, "Cannot quantize to fewer than 8 colors");
}

// The section reader and the EXIF interpreter: what they report, and that a bad EXIF block never
// fails the decode.
TEST(ExifReader, MessagesOfBadBlocks) {
    struct Case {
        const char* what;
        std::vector<uint8_t> segment;
        const char* error;
        bool isExif;
    } cases[] = {
        {"camera fields", ExifSegment({{0x10F, 2, 6, {'C', 'a', 'n', 'o', 'n', 0}}, {0x112, 3, 1, Short(6, false)}}), "", true},
        {"bad orientation", ExifSegment({{0x112, 3, 1, Short(9, false)}}), kErrRotation, true},
        {"bad format", ExifSegment({{0x112, 13, 1, Short(1, false)}}), kErrFormatCode, false},
        {"pointer outside", ExifSegment({{0x10F, 2, 4000, {}}}), kErrPointerOffset, false},
        {"subdirectory outside", ExifSegment({{0x8769, 4, 1, {0xFF, 0xFF, 0, 0}}}), kErrSubdirectoryLink, false},
        {"subdirectory loop", ExifSegment({{0x8769, 4, 1, {8, 0, 0, 0}}}), kErrNesting, false},
    };
    for (const Case& c : cases) {
        const std::vector<uint8_t> jpeg = WithSegment(SampleJpeg(8, 8), c.segment);
        ImageJPG codec;
        MemStream s(jpeg.data(), jpeg.size());
        EXPECT_TRUE(codec.Decode(s)) << c.what;
        EXPECT_EQ(codec.Exif.IsExif, c.isExif) << c.what;
        ASSERT_TRUE(codec.Reader) << c.what;
        EXPECT_STREQ(codec.Reader->LastError(), c.error) << c.what;
    }
    // The good block's fields.
    const std::vector<uint8_t> jpeg = WithSegment(SampleJpeg(8, 8), cases[0].segment);
    ImageJPG codec;
    MemStream s(jpeg.data(), jpeg.size());
    ASSERT_TRUE(codec.Decode(s));
    EXPECT_STREQ(codec.Exif.CameraMake, "Canon");
    EXPECT_EQ(codec.Exif.Orientation, 6);
    EXPECT_EQ(codec.Exif.Width, 8);
    EXPECT_TRUE(codec.Exif.IsColor);
}

TEST(ExifReader, HeaderErrors) {
    struct Case {
        std::vector<uint8_t> tiff;
        const char* error;
    } cases[] = {
        {{'X', 'X', 42, 0, 8, 0, 0, 0}, kErrExifAlignment},
        {{'I', 'I', 43, 0, 8, 0, 0, 0}, kErrExifStart},
        {{'I', 'I', 42, 0, 200, 0, 0, 0}, kErrDirectorySize},
        {{'I', 'I', 42, 0, 8, 0, 0, 0, 9, 0}, kErrDirectorySize},
    };
    for (const Case& c : cases) {
        std::vector<uint8_t> block = {'E', 'x', 'i', 'f', 0, 0};
        block.insert(block.end(), c.tiff.begin(), c.tiff.end());
        ExifInfo info;
        ExifReader reader(&info);
        EXPECT_FALSE(reader.process_EXIF(block.data(), uint32_t(block.size())));
        EXPECT_STREQ(reader.LastError(), c.error);
    }
    ExifInfo info;
    ExifReader reader(&info);
    const uint8_t notExif[] = {'E', 'x', 'i', 'x', 0, 0};
    EXPECT_FALSE(reader.process_EXIF(notExif, sizeof notExif));
    EXPECT_STREQ(reader.LastError(), kErrExifHeader);
}

TEST(ExifReader, SectionTableAndItsLimits) {
    const std::vector<uint8_t> plain = SampleJpeg(8, 8);
    {
        ExifInfo info;
        ExifReader reader(&info);
        MemStream s(plain.data(), plain.size());
        ASSERT_TRUE(reader.DecodeExif(s, kExifReadExif | kExifReadImage));
        // JFIF is dropped; tables, frame, scan header and the compressed data are kept.
        ASSERT_GE(reader.SectionCount(), 3);
        EXPECT_EQ(reader.GetSection(reader.SectionCount() - 2).Type, 0xDA);
        const ExifReader::Section& data = reader.GetSection(reader.SectionCount() - 1);
        EXPECT_EQ(data.Type, ExifReader::kImageDataSection);
        EXPECT_EQ(data.Data[data.Size - 1], 0xD9);
    }
    {
        // A comment is kept once, in the record.
        const std::vector<uint8_t> com = {0xFF, 0xFE, 0, 7, 'h', 'e', 'l', 'l', 'o'};
        const std::vector<uint8_t> jpeg = WithSegment(WithSegment(plain, com), com);
        ExifInfo info;
        ExifReader reader(&info);
        MemStream s(jpeg.data(), jpeg.size());
        ASSERT_TRUE(reader.DecodeExif(s, kExifReadExif));
        EXPECT_STREQ(info.Comments, "hello");
    }
    {
        std::vector<uint8_t> many = plain;
        for (int i = 0; i < 25; ++i) many = WithSegment(many, {0xFF, 0xE5, 0, 3, 0});
        ExifInfo info;
        ExifReader reader(&info);
        MemStream s(many.data(), many.size());
        EXPECT_FALSE(reader.DecodeExif(s, kExifReadExif));
        EXPECT_STREQ(reader.LastError(), kErrTooManySections);
        Image image;
        EXPECT_TRUE(DecodeJpeg(many, image));  // libjpeg reads it all the same
    }
    {
        const std::vector<uint8_t> shortLength = WithSegment(plain, {0xFF, 0xE5, 0, 1});
        ExifInfo info;
        ExifReader reader(&info);
        MemStream s(shortLength.data(), shortLength.size());
        EXPECT_FALSE(reader.DecodeExif(s, kExifReadExif));
        EXPECT_STREQ(reader.LastError(), kErrInvalidMarker);
    }
    {
        const std::vector<uint8_t> cut = {0xFF, 0xD8, 0xFF, 0xE5, 0, 50, 1, 2};
        ExifInfo info;
        ExifReader reader(&info);
        MemStream s(cut.data(), cut.size());
        EXPECT_FALSE(reader.DecodeExif(s, kExifReadExif));
        EXPECT_STREQ(reader.LastError(), kErrPrematureEnd);
    }
}

}  // namespace
}  // namespace ruvelto::image
