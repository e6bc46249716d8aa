// PNG decoding of every colour type into the picture layouts, and the encoder's choices: palette
// size, transparent index, RGBA for alpha, interlacing, density.
#include <gtest/gtest.h>
#include <png.h>

#include <cstdio>
#include <cstring>
#include <string>

#include "image/stream.h"
#include "image/png_codec.h"
#include "tests/image/test_files.h"

namespace ruvelto::image {
namespace {

// A PNG file written with libpng itself, from rows of raw samples (top row first).
struct PngLayout {
    uint32_t width = 0;
    uint32_t height = 0;
    int bitDepth = 8;
    int colorType = PNG_COLOR_TYPE_GRAY;
    bool interlaced = false;
    std::vector<png_color> palette;
    std::vector<uint8_t> trans;         // palette tRNS
    int greyTrans = -1;                 // grey tRNS: the transparent level
    const png_color_16* background = nullptr;
    int physUnit = -1;                  // pHYs: -1 none, else the unit with physX, physY
    uint32_t physX = 0, physY = 0;
    std::vector<std::vector<uint8_t>> rows;
};

PngLayout Layout(uint32_t width, uint32_t height, int bitDepth, int colorType) {
    PngLayout layout;
    layout.width = width;
    layout.height = height;
    layout.bitDepth = bitDepth;
    layout.colorType = colorType;
    return layout;
}

void Append(png_structp png, png_bytep data, size_t n) {
    auto* out = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + n);
}

std::vector<uint8_t> WritePng(PngLayout layout) {
    std::vector<uint8_t> out;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        ADD_FAILURE() << "libpng could not write the fixture";
        png_destroy_write_struct(&png, &info);
        return {};
    }
    png_set_write_fn(png, &out, Append, nullptr);
    png_set_IHDR(png, info, layout.width, layout.height, layout.bitDepth, layout.colorType,
                 layout.interlaced ? PNG_INTERLACE_ADAM7 : PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    if (!layout.palette.empty()) png_set_PLTE(png, info, layout.palette.data(), int(layout.palette.size()));
    if (!layout.trans.empty()) png_set_tRNS(png, info, layout.trans.data(), int(layout.trans.size()), nullptr);
    png_color_16 greyTrans{};
    greyTrans.gray = png_uint_16(layout.greyTrans);
    if (layout.greyTrans >= 0) png_set_tRNS(png, info, nullptr, 1, &greyTrans);
    if (layout.physUnit >= 0) png_set_pHYs(png, info, layout.physX, layout.physY, layout.physUnit);
    if (layout.background) png_set_bKGD(png, info, layout.background);
    png_write_info(png, info);
    std::vector<png_bytep> rows;
    for (auto& r : layout.rows) rows.push_back(r.data());
    png_write_image(png, rows.data());
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return out;
}

bool DecodePng(const std::vector<uint8_t>& bytes, Image& image) {
    return image.Decode(bytes.data(), bytes.size(), IMAGE_FORMAT_PNG);
}

std::vector<uint8_t> EncodePng(Image& image) {
    uint8_t* out = nullptr;
    size_t size = 0;
    if (!image.Encode(&out, &size, IMAGE_FORMAT_PNG)) return {};
    std::vector<uint8_t> bytes(out, out + size);
    FreeMemory(out);
    return bytes;
}

// A chunk's data in a PNG file, empty when the chunk is absent.
std::vector<uint8_t> Chunk(const std::vector<uint8_t>& png, const char* type) {
    for (size_t at = 8; at + 12 <= png.size();) {
        const uint32_t n = uint32_t(png[at]) << 24 | png[at + 1] << 16 | png[at + 2] << 8 | png[at + 3];
        if (std::memcmp(&png[at + 4], type, 4) == 0 && at + 8 + n <= png.size())
            return std::vector<uint8_t>(png.begin() + long(at) + 8, png.begin() + long(at) + 8 + n);
        at += 12 + size_t(n);
    }
    return {};
}

TEST(PngDecode, RgbaKeepsItsAlphaThroughARoundTrip) {
    PngLayout layout = Layout(2, 1, 8, PNG_COLOR_TYPE_RGB_ALPHA);
    layout.rows = {{10, 20, 30, 0, 40, 50, 60, 128}};
    Image image;
    ASSERT_TRUE(DecodePng(WritePng(layout), image));
    EXPECT_EQ(image.GetBpp(), 24u);
    ASSERT_NE(image.Alpha, nullptr);
    EXPECT_EQ(image.AlphaGet(0, 0), 0);
    EXPECT_EQ(image.AlphaGet(1, 0), 128);
    EXPECT_EQ(image.GetPixelColor(1, 0).red, 40);
    EXPECT_EQ(image.GetPixelColor(1, 0).blue, 60);

    const std::vector<uint8_t> again = EncodePng(image);
    ASSERT_GE(Chunk(again, "IHDR").size(), 10u);
    EXPECT_EQ(Chunk(again, "IHDR")[9], PNG_COLOR_TYPE_RGB_ALPHA);
    Image back;
    ASSERT_TRUE(DecodePng(again, back));
    EXPECT_EQ(back.AlphaGet(1, 0), 128);
    EXPECT_EQ(test::TopDownRgb(back), test::TopDownRgb(image));
}

TEST(PngDecode, GreyAlphaIsCompositedOntoItsBackground) {
    // Half-transparent white over the file's black bKGD, or over grey 192 without one.
    PngLayout layout = Layout(2, 1, 8, PNG_COLOR_TYPE_GRAY_ALPHA);
    layout.rows = {{255, 0, 255, 255}};
    Image plain;
    ASSERT_TRUE(DecodePng(WritePng(layout), plain));
    EXPECT_EQ(plain.GetBpp(), 8u);
    EXPECT_EQ(plain.Alpha, nullptr);
    EXPECT_EQ(plain.GetPixelColor(0, 0).red, 192);
    EXPECT_EQ(plain.GetPixelColor(1, 0).red, 255);

    png_color_16 black{};
    layout.background = &black;
    Image onBlack;
    ASSERT_TRUE(DecodePng(WritePng(layout), onBlack));
    EXPECT_EQ(onBlack.GetPixelColor(0, 0).red, 0);
    EXPECT_EQ(onBlack.GetPixelColor(1, 0).red, 255);
}

TEST(PngDecode, PaletteTransparency) {
    PngLayout layout = Layout(2, 1, 8, PNG_COLOR_TYPE_PALETTE);
    layout.palette = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}};
    layout.rows = {{0, 2}};
    layout.trans = {0};
    Image index;
    ASSERT_TRUE(DecodePng(WritePng(layout), index));
    EXPECT_EQ(index.Info.TransIndex, 0);
    EXPECT_FALSE(index.Info.AlphaPaletteEnabled);

    layout.trans = {255, 100};
    Image alpha;
    ASSERT_TRUE(DecodePng(WritePng(layout), alpha));
    EXPECT_EQ(alpha.Info.TransIndex, -1);
    EXPECT_TRUE(alpha.Info.AlphaPaletteEnabled);
    EXPECT_EQ(alpha.GetPaletteColor(1).reserved, 100);
    EXPECT_EQ(alpha.GetPaletteColor(2).reserved, 255);
    EXPECT_EQ(alpha.GetPaletteColor(2).red, 7);
}

TEST(PngDecode, TwoBitGreyWidensToFourBits) {
    PngLayout layout = Layout(5, 1, 2, PNG_COLOR_TYPE_GRAY);
    layout.rows = {{0b00011011, 0b10000000}};  // levels 0, 1, 2, 3, 2
    Image image;
    ASSERT_TRUE(DecodePng(WritePng(layout), image));
    EXPECT_EQ(image.GetBpp(), 4u);
    const uint8_t levels[] = {0, 85, 170, 255};
    for (int i = 0; i < 4; ++i) EXPECT_EQ(image.GetPaletteColor(uint8_t(i)).green, levels[i]);
    const uint8_t expected[] = {0, 1, 2, 3, 2};
    for (int x = 0; x < 5; ++x) EXPECT_EQ(image.GetPixelIndex(x, 0), expected[x]) << x;
}

// Low-bit grey with a transparent level and no bKGD: composited onto grey 192 at 8 bits, every
// opaque pixel keeps ImageMagick's grey and every transparent one shows 192.
TEST(PngDecode, LowBitGreyWithTransparencyMatchesImageMagick) {
    struct Case {
        int bitDepth;
        uint32_t width;
        std::vector<uint8_t> row;  // packed samples
        int transparentLevel;
    } cases[] = {
        {1, 8, {0b01011001}, 1},
        {1, 8, {0b01011001}, 0},
        {2, 8, {0b00011011, 0b11100100}, 2},
        {4, 6, {0x01, 0x5F, 0xA7}, 5},
    };
    const std::string dir = test::ScratchDir();
    for (const Case& c : cases) {
        PngLayout layout = Layout(c.width, 1, c.bitDepth, PNG_COLOR_TYPE_GRAY);
        layout.rows = {c.row};
        layout.greyTrans = c.transparentLevel;
        const std::vector<uint8_t> png = WritePng(layout);
        const std::string path = dir + "/grey" + std::to_string(c.bitDepth) + ".png";
        FILE* f = std::fopen(path.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fwrite(png.data(), 1, png.size(), f);
        std::fclose(f);
        uint32_t w = 0, h = 0;
        std::vector<uint8_t> reference;
        ASSERT_TRUE(test::Reference(path, &w, &h, &reference)) << c.bitDepth;
        ASSERT_EQ(w, c.width);
        Image image;
        ASSERT_TRUE(DecodePng(png, image)) << c.bitDepth;
        for (uint32_t x = 0; x < c.width; ++x) {
            const uint8_t* want = &reference[4 * size_t(x)];
            const RgbQuad got = image.GetPixelColor(int32_t(x), 0, false);
            const uint8_t expected = want[3] == 0 ? 192 : want[0];
            EXPECT_EQ(got.red, expected) << c.bitDepth << " bits, transparent " << c.transparentLevel << ", x " << x;
            EXPECT_EQ(got.green, expected) << c.bitDepth << " bits, x " << x;
            EXPECT_EQ(got.blue, expected) << c.bitDepth << " bits, x " << x;
        }
    }
}

// pHYs unit 0 carries only the aspect ratio, and a file without pHYs says nothing: both are
// unknown and decode at 96 dpi; only unit metre gives a resolution.
TEST(PngDecode, DensityOnlyFromPixelsPerMetre) {
    struct Case {
        const char* what;
        int unit;
        uint32_t x, y;
        int32_t xdpi, ydpi;
    } cases[] = {
        {"no pHYs", -1, 0, 0, 96, 96},
        {"unit 0, square pixels", PNG_RESOLUTION_UNKNOWN, 1, 1, 96, 96},
        {"unit 0, large numbers", PNG_RESOLUTION_UNKNOWN, 2835, 5669, 96, 96},
        {"metre", PNG_RESOLUTION_METER, 2835, 11811, 72, 300},
    };
    for (const Case& c : cases) {
        PngLayout layout = Layout(1, 1, 8, PNG_COLOR_TYPE_GRAY);
        layout.rows = {{7}};
        layout.physUnit = c.unit, layout.physX = c.x, layout.physY = c.y;
        Image image;
        image.SetXDPI(555);  // a previous picture's density must not carry over
        image.SetYDPI(555);
        ASSERT_TRUE(DecodePng(WritePng(layout), image)) << c.what;
        EXPECT_EQ(image.Info.XDPI, c.xdpi) << c.what;
        EXPECT_EQ(image.Info.YDPI, c.ydpi) << c.what;
    }
}

TEST(PngDecode, SixteenBitSamplesKeepTheirHighByte) {
    PngLayout rgb = Layout(1, 1, 16, PNG_COLOR_TYPE_RGB);
    rgb.rows = {{0x12, 0xFF, 0x80, 0x80, 0x00, 0x7F}};
    Image image;
    ASSERT_TRUE(DecodePng(WritePng(rgb), image));
    EXPECT_EQ(image.GetBpp(), 24u);
    EXPECT_EQ(image.GetPixelColor(0, 0).red, 0x12);
    EXPECT_EQ(image.GetPixelColor(0, 0).green, 0x80);
    EXPECT_EQ(image.GetPixelColor(0, 0).blue, 0x00);

    // 16-bit RGBA keeps its alpha, as 8-bit RGBA does.
    PngLayout rgba = Layout(1, 1, 16, PNG_COLOR_TYPE_RGB_ALPHA);
    rgba.rows = {{0x12, 0xFF, 0x80, 0x80, 0x00, 0x7F, 0x40, 0x00}};
    Image deep;
    ASSERT_TRUE(DecodePng(WritePng(rgba), deep));
    ASSERT_NE(deep.Alpha, nullptr);
    EXPECT_EQ(deep.AlphaGet(0, 0), 0x40);
    EXPECT_EQ(deep.GetPixelColor(0, 0).red, 0x12);
}

TEST(PngDecode, InterlacedEqualsItsTwinAndStaysInterlaced) {
    for (int colorType : {PNG_COLOR_TYPE_RGB, PNG_COLOR_TYPE_RGB_ALPHA}) {
        const int channels = colorType == PNG_COLOR_TYPE_RGB ? 3 : 4;
        PngLayout layout = Layout(13, 11, 8, colorType);
        for (uint32_t y = 0; y < layout.height; ++y) {
            std::vector<uint8_t> row;
            for (uint32_t x = 0; x < layout.width * channels; ++x) row.push_back(uint8_t(x * 7 + y * 31));
            layout.rows.push_back(row);
        }
        Image flat;
        ASSERT_TRUE(DecodePng(WritePng(layout), flat));
        EXPECT_EQ(flat.Info.CodecOption[IMAGE_FORMAT_PNG], 0);
        layout.interlaced = true;
        Image laced;
        ASSERT_TRUE(DecodePng(WritePng(layout), laced));
        EXPECT_EQ(laced.Info.CodecOption[IMAGE_FORMAT_PNG], 1);
        EXPECT_EQ(test::TopDownRgb(laced), test::TopDownRgb(flat));
        if (channels == 4) {
            ASSERT_NE(laced.Alpha, nullptr);
            EXPECT_EQ(std::memcmp(laced.Alpha, flat.Alpha, 13 * 11), 0);
        }
        const std::vector<uint8_t> again = EncodePng(laced);
        ASSERT_GE(Chunk(again, "IHDR").size(), 13u);
        EXPECT_EQ(Chunk(again, "IHDR")[12], 1) << "interlace method";
        Image back;
        ASSERT_TRUE(DecodePng(again, back));
        EXPECT_EQ(test::TopDownRgb(back), test::TopDownRgb(flat));
    }
}

TEST(PngDecode, BadFilesFailWithLibpngsMessage) {
    PngLayout layout = Layout(4, 4, 8, PNG_COLOR_TYPE_GRAY);
    layout.rows.assign(4, std::vector<uint8_t>(4, 9));
    std::vector<uint8_t> cut = WritePng(layout);
    cut.resize(cut.size() - 20);
    const std::vector<uint8_t> notPng = {'G', 'I', 'F', '8', '9', 'a', 0, 0, 0, 0, 0, 0};
    struct Case {
        std::vector<uint8_t> bytes;
        const char* message;
    } cases[] = {{cut, "Read Error"}, {notPng, "Not a PNG file"}};
    for (const Case& c : cases) {
        Image image;
        ASSERT_TRUE(image.Create(1, 1, 24, 0));
        EXPECT_FALSE(DecodePng(c.bytes, image));
        EXPECT_STREQ(image.Info.LastError, c.message);
        EXPECT_EQ(image.GetWidth(), 1u);  // the previous picture stays
    }
}

TEST(PngEncode, PaletteHoldsTheIndicesUsedOnSmallPictures) {
    struct Case {
        uint32_t side;
        size_t entries;
    } cases[] = {{64, 10}, {300, 256}};
    for (const Case& c : cases) {
        Image image;
        ASSERT_TRUE(image.Create(c.side, c.side, 8, 0));
        image.Clear(0);
        image.SetPixelIndex(3, 3, 9);
        EXPECT_EQ(Chunk(EncodePng(image), "PLTE").size(), 3 * c.entries) << c.side;
    }
}

TEST(PngEncode, TransparentIndexMovesToEntryZero) {
    Image image;
    ASSERT_TRUE(image.Create(2, 1, 8, 0));
    image.SetPaletteColor(0, 10, 10, 10);
    image.SetPaletteColor(5, 250, 0, 250);
    image.SetPixelIndex(0, 0, 5);
    image.SetPixelIndex(1, 0, 0);
    image.Info.TransIndex = 5;
    const std::vector<uint8_t> png = EncodePng(image);
    EXPECT_EQ(Chunk(png, "tRNS"), std::vector<uint8_t>{0});
    const std::vector<uint8_t> plte = Chunk(png, "PLTE");
    ASSERT_GE(plte.size(), 18u);
    EXPECT_EQ(plte[0], 250);  // entry 0 is the transparent magenta
    EXPECT_EQ(plte[15], 10);  // entry 5 the former entry 0
    // The caller's picture is swapped along with its file.
    EXPECT_EQ(image.Info.TransIndex, 0);
    EXPECT_EQ(image.GetPixelIndex(0, 0), 0);
    EXPECT_EQ(image.GetPixelIndex(1, 0), 5);
    Image back;
    ASSERT_TRUE(DecodePng(png, back));
    EXPECT_EQ(back.Info.TransIndex, 0);
    EXPECT_EQ(back.GetPixelColor(0, 0).red, 250);
}

TEST(PngEncode, TransparentColourBecomesAlpha) {
    Image image;
    ASSERT_TRUE(image.Create(3, 1, 24, 0));
    image.SetPixelColor(0, 0, RgbQuad{0, 255, 0, 0});
    image.SetPixelColor(1, 0, RgbQuad{0, 254, 0, 0});
    image.SetPixelColor(2, 0, RgbQuad{0, 255, 0, 0});
    image.Info.TransIndex = 0;
    image.SetTransColor(RgbQuad{0, 255, 0, 0});
    const std::vector<uint8_t> png = EncodePng(image);
    EXPECT_EQ(image.Alpha, nullptr);  // the plane made for writing is gone again
    Image back;
    ASSERT_TRUE(DecodePng(png, back));
    ASSERT_NE(back.Alpha, nullptr);
    EXPECT_EQ(back.AlphaGet(0, 0), 0);
    EXPECT_EQ(back.AlphaGet(1, 0), 255);
    EXPECT_EQ(back.AlphaGet(2, 0), 0);
}

TEST(PngEncode, DensityAndBackgroundChunks) {
    Image image;
    ASSERT_TRUE(image.Create(1, 1, 24, 0));
    image.SetXDPI(72);
    image.SetYDPI(300);
    const std::vector<uint8_t> png = EncodePng(image);
    const std::vector<uint8_t> phys = Chunk(png, "pHYs");
    ASSERT_EQ(phys.size(), 9u);
    EXPECT_EQ(uint32_t(phys[0] << 24 | phys[1] << 16 | phys[2] << 8 | phys[3]), 2835u);
    EXPECT_EQ(phys[8], 1);  // metre
    EXPECT_EQ(Chunk(png, "bKGD"), (std::vector<uint8_t>{0, 255, 0, 255, 0, 255}));
    Image back;
    ASSERT_TRUE(DecodePng(png, back));
    EXPECT_EQ(back.Info.XDPI, 72);
    EXPECT_EQ(back.Info.YDPI, 300);
    EXPECT_EQ(back.Header.XPelsPerMeter, 2835);
}

TEST(PngEncode, WriteFailureReportsItsText) {
    // A stream that takes nothing.
    class Full final : public Stream {
    public:
        bool Close() override { return true; }
        size_t Read(void*, size_t, size_t) override { return 0; }
        size_t Write(const void*, size_t, size_t) override { return 0; }
        bool Seek(int64_t, int) override { return true; }
        int64_t Tell() override { return 0; }
        int64_t Size() override { return 0; }
        bool Flush() override { return true; }
        bool Eof() override { return true; }
        bool Error() override { return false; }
        int GetC() override { return -1; }
    } full;
    Image image;
    ASSERT_TRUE(image.Create(2, 2, 24, 0));
    EXPECT_FALSE(image.Encode(full, IMAGE_FORMAT_PNG));
    EXPECT_STREQ(image.Info.LastError, kErrPngSave);
}

}  // namespace
}  // namespace ruvelto::image
