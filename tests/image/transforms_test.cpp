// Whole-picture transforms on small pictures with known pixels, for every depth.
#include <gtest/gtest.h>

#include <cstring>

#include "image/image.h"

namespace ruvelto::image {
namespace {

// A w x h picture whose pixel (x, y) has index (or colour) derived from its position.
void Fill(Image& image, uint32_t w, uint32_t h, uint32_t bits) {
    ASSERT_TRUE(image.Create(w, h, bits, IMAGE_FORMAT_BMP));
    const uint32_t colours = image.Header.ClrUsed;
    for (uint32_t i = 0; i < colours; ++i) image.SetPaletteColor(uint8_t(i), uint8_t(i), uint8_t(255 - i), uint8_t(i * 3));
    for (uint32_t y = 0; y < h; ++y) {
        for (uint32_t x = 0; x < w; ++x) {
            if (colours) {
                image.SetPixelIndex(int32_t(x), int32_t(y), uint8_t((x * 7 + y * 3) % colours));
            } else {
                image.SetPixelColor(int32_t(x), int32_t(y), RgbQuad{uint8_t(x), uint8_t(y), uint8_t(x ^ y), 0});
            }
        }
    }
    image.AlphaCreate();
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x) image.AlphaSet(int32_t(x), int32_t(y), uint8_t(x + 10 * y));
}

bool SamePixel(const Image& a, int32_t ax, int32_t ay, const Image& b, int32_t bx, int32_t by) {
    const RgbQuad p = a.GetPixelColor(ax, ay, true);
    const RgbQuad q = b.GetPixelColor(bx, by, true);
    return std::memcmp(&p, &q, 4) == 0;
}

TEST(Transforms, FlipMirrorAndTurnsMoveEveryPixel) {
    for (uint32_t bits : {1u, 4u, 8u, 24u}) {
        SCOPED_TRACE(bits);
        // 70 x 67 crosses the 64 x 64 block edges of the turns.
        const int32_t w = 70, h = 67;
        Image original, image;
        Fill(original, w, h, bits);
        Fill(image, w, h, bits);

        ASSERT_TRUE(image.Flip());
        for (int32_t y = 0; y < h; ++y)
            for (int32_t x = 0; x < w; ++x) ASSERT_TRUE(SamePixel(image, x, y, original, x, h - 1 - y));
        ASSERT_TRUE(image.Flip());  // twice restores it exactly, alpha included
        for (int32_t y = 0; y < h; ++y)
            for (int32_t x = 0; x < w; ++x) ASSERT_TRUE(SamePixel(image, x, y, original, x, y));

        ASSERT_TRUE(image.Mirror());
        for (int32_t y = 0; y < h; ++y)
            for (int32_t x = 0; x < w; ++x) ASSERT_TRUE(SamePixel(image, x, y, original, w - 1 - x, y));
        ASSERT_TRUE(image.Mirror());

        ASSERT_TRUE(image.RotateLeft());
        ASSERT_EQ(image.Header.Width, h);
        ASSERT_EQ(image.Header.Height, w);
        for (int32_t y = 0; y < w; ++y)
            for (int32_t x = 0; x < h; ++x) ASSERT_TRUE(SamePixel(image, x, y, original, y, h - 1 - x));
        if (bits > 1) {
            EXPECT_EQ(image.Info.Progress, 100);  // block copies report progress
        }
        ASSERT_TRUE(image.RotateRight());
        for (int32_t y = 0; y < h; ++y)
            for (int32_t x = 0; x < w; ++x) ASSERT_TRUE(SamePixel(image, x, y, original, x, y));
        EXPECT_EQ(image.Info.Type, IMAGE_FORMAT_BMP);
    }
}

TEST(Transforms, NegativeBlackAndWhiteSwapsThePalette) {
    Image bw;
    ASSERT_TRUE(bw.Create(8, 1, 1, 0));
    bw.SetPaletteColor(0, 0, 0, 0);
    bw.SetPaletteColor(1, 255, 255, 255);
    bw.GetBits(0)[0] = 0xF0;
    ASSERT_TRUE(bw.Negative());
    EXPECT_EQ(bw.GetBits(0)[0], 0xF0);
    EXPECT_EQ(bw.GetPaletteColor(0).red, 255);
    EXPECT_EQ(bw.GetPaletteColor(1).red, 0);
}

TEST(Transforms, NegativeOfGrayRampAndTrueColour) {
    Image gray;
    ASSERT_TRUE(gray.Create(2, 1, 8, 0));
    gray.SetGrayPalette();
    gray.GetBits(0)[0] = 10;
    ASSERT_TRUE(gray.Negative());
    EXPECT_EQ(gray.GetBits(0)[0], 245);
    EXPECT_EQ(gray.GetPaletteColor(10).red, 10);

    Image rgb;
    ASSERT_TRUE(rgb.Create(1, 1, 24, 0));
    rgb.SetPixelColor(0, 0, RgbQuad{0, 100, 255, 0});
    rgb.SetTransColor(RgbQuad{1, 2, 3, 0});
    ASSERT_TRUE(rgb.Negative());
    EXPECT_EQ(rgb.GetPixelColor(0, 0).green, 155);
    EXPECT_EQ(rgb.Info.TransColor.blue, 254);
    Image empty;
    EXPECT_FALSE(empty.Negative());
}

TEST(Transforms, SwapIndexSwapsEntriesAndPixels) {
    Image pal;
    ASSERT_TRUE(pal.Create(3, 1, 4, 0));
    pal.SetPaletteColor(1, 10, 0, 0);
    pal.SetPaletteColor(2, 20, 0, 0);
    pal.SetPixelIndex(0, 0, 1);
    pal.SetPixelIndex(1, 0, 2);
    pal.SetPixelIndex(2, 0, 3);
    pal.SwapIndex(1, 2);
    EXPECT_EQ(pal.GetPaletteColor(1).red, 20);
    EXPECT_EQ(pal.GetPixelIndex(0, 0), 2);
    EXPECT_EQ(pal.GetPixelIndex(1, 0), 1);
    EXPECT_EQ(pal.GetPixelIndex(2, 0), 3);
    // Both pixels still show the colours they showed.
    EXPECT_EQ(pal.GetPixelColor(0, 0).red, 10);
}

TEST(Transforms, ClearFillsByDepth) {
    struct Case { uint32_t bits; uint8_t value, expected; };
    for (const Case& c : {Case{1, 3, 255}, Case{1, 0, 0}, Case{4, 0x12, 0x22}, Case{8, 9, 9}}) {
        Image image;
        ASSERT_TRUE(image.Create(5, 2, c.bits, 0));
        image.Clear(c.value);
        EXPECT_EQ(image.GetBits(1)[0], c.expected) << c.bits;
    }
}

TEST(Transforms, CopyWithAndWithoutPixels) {
    Image source;
    Fill(source, 5, 4, 8);
    source.Info.JpegQuality = 77;
    Image full, paletteOnly;
    ASSERT_TRUE(full.Copy(source));
    EXPECT_EQ(std::memcmp(full.Dib, source.Dib, source.GetSize()), 0);
    EXPECT_EQ(full.AlphaGet(4, 3), source.AlphaGet(4, 3));
    EXPECT_EQ(full.Info.JpegQuality, 77);
    ASSERT_TRUE(paletteOnly.Copy(source, false, false, false));
    EXPECT_EQ(paletteOnly.GetPaletteColor(9).red, source.GetPaletteColor(9).red);
    EXPECT_EQ(paletteOnly.Alpha, nullptr);
}

// Alpha laid over white: clear pixels turn white, half-clear ones halfway, opaque ones stay.
TEST(Transforms, AlphaStripLaysThePictureOverWhite) {
    Image image;
    ASSERT_TRUE(image.Create(3, 1, 24, IMAGE_FORMAT_PNG));
    EXPECT_FALSE(image.AlphaStrip());  // no alpha: nothing to do
    image.AlphaCreate();
    const uint8_t alphas[3] = {255, 128, 0};
    for (int32_t x = 0; x < 3; ++x) {
        image.SetPixelColor(x, 0, RgbQuad{0, 100, 200, 0});
        image.AlphaSet(x, 0, alphas[x]);
    }
    ASSERT_TRUE(image.AlphaStrip());
    EXPECT_FALSE(image.AlphaIsValid());
    const RgbQuad opaque = image.GetPixelColor(0, 0), half = image.GetPixelColor(1, 0), clear = image.GetPixelColor(2, 0);
    EXPECT_EQ(opaque.blue, 0);
    EXPECT_EQ(opaque.red, 200);
    EXPECT_NEAR(half.blue, 127, 1);
    EXPECT_NEAR(half.green, 178, 1);
    EXPECT_EQ(clear.blue, 255);
    EXPECT_EQ(clear.red, 255);
}

}  // namespace
}  // namespace ruvelto::image
