// Pixel, palette, nearest-colour and alpha access.
#include <gtest/gtest.h>

#include "image/image.h"

namespace ruvelto::image {
namespace {

TEST(PixelAccess, IndexAddressingPerDepth) {
    Image four;
    ASSERT_TRUE(four.Create(8, 2, 4, 0));
    four.GetBits(0)[1] = 0xAB;  // pixels 2 and 3
    EXPECT_EQ(four.GetPixelIndex(2, 0), 0xA);
    EXPECT_EQ(four.GetPixelIndex(3, 0), 0xB);  // odd x: low nibble of byte 1
    four.SetPixelIndex(3, 0, 0x4);
    EXPECT_EQ(four.GetBits(0)[1], 0xA4);

    Image one;
    ASSERT_TRUE(one.Create(10, 1, 1, 0));
    one.Clear(0);
    one.SetPixelIndex(9, 0, 1);
    EXPECT_EQ(one.GetBits(0)[1], 0x40);  // bit 7 - (9 mod 8)
    EXPECT_EQ(one.GetPixelIndex(9, 0), 1);
    EXPECT_EQ(one.GetPixelIndex(8, 0), 0);
    one.SetPixelIndex(10, 0, 1);  // outside: ignored
    EXPECT_EQ(one.GetBits(0)[1], 0x40);
}

TEST(PixelAccess, OutsideReadsTheBackground) {
    Image pal;
    ASSERT_TRUE(pal.Create(2, 2, 8, 0));
    pal.GetBits(0)[0] = 7;
    pal.SetPaletteColor(7, 10, 20, 30);
    pal.SetPaletteColor(3, 1, 2, 3);
    EXPECT_EQ(pal.GetPixelIndex(-1, 0), 7);  // no transparent index: first pixel byte
    pal.Info.TransIndex = 3;
    EXPECT_EQ(pal.GetPixelIndex(5, 5), 3);
    EXPECT_EQ(pal.GetPixelColor(5, 5).red, 1);

    Image rgb;
    ASSERT_TRUE(rgb.Create(2, 2, 24, 0));
    rgb.SetPixelColor(0, 0, RgbQuad{40, 50, 60, 0});
    const RgbQuad c = rgb.GetPixelColor(9, 9);  // TransIndex -1: the colour of pixel (0, 0)
    EXPECT_EQ(c.blue, 40);
    EXPECT_EQ(c.green, 50);
    EXPECT_EQ(c.red, 60);
    rgb.Info.TransIndex = 0;
    rgb.SetTransColor(RgbQuad{1, 2, 3, 99});
    EXPECT_EQ(rgb.GetPixelColor(9, 9).red, 3);
    EXPECT_EQ(rgb.Info.TransColor.reserved, 0);
}

TEST(PixelAccess, ColourWithAlphaPlane) {
    Image rgb;
    ASSERT_TRUE(rgb.Create(3, 2, 24, 0));
    rgb.AlphaCreate();
    rgb.SetPixelColor(2, 1, RgbQuad{9, 8, 7, 128}, true);
    EXPECT_EQ(rgb.AlphaGet(2, 1), 128);
    EXPECT_EQ(rgb.GetPixelColor(2, 1, true).reserved, 128);
    EXPECT_EQ(rgb.AlphaGet(0, 0), 255);
    EXPECT_EQ(rgb.AlphaGet(3, 0), 0);  // outside
    rgb.SetPixelColor(1, 1, 0x00112233u);  // RGB value: red in the low byte
    EXPECT_EQ(rgb.GetPixelColor(1, 1).red, 0x33);
    EXPECT_EQ(rgb.GetPixelColor(1, 1).blue, 0x11);
}

TEST(PixelAccess, NearestIndexPrefersTheLowerExactMatchAndCaches) {
    Image pal;
    ASSERT_TRUE(pal.Create(1, 1, 8, 0));
    pal.SetPaletteColor(2, 255, 0, 0);
    pal.SetPaletteColor(5, 255, 0, 0);
    pal.SetPaletteColor(6, 250, 10, 10);
    EXPECT_EQ(pal.GetNearestIndex(RgbQuad{0, 0, 255, 0}), 2);
    EXPECT_EQ(pal.GetNearestIndex(RgbQuad{9, 9, 251, 0}), 6);
    pal.SetPaletteColor(1, 251, 9, 9);  // a palette change clears the cache
    EXPECT_EQ(pal.GetNearestIndex(RgbQuad{9, 9, 251, 0}), 1);
    // An important-colours count beyond the palette never scans past it.
    pal.Header.ClrImportant = 100000;
    pal.SetPaletteColor(0, 0, 0, 0);
    EXPECT_EQ(pal.GetNearestIndex(RgbQuad{1, 1, 1, 0}), 0);
    pal.SetPixelColor(0, 0, RgbQuad{0, 0, 250, 0});
    EXPECT_EQ(pal.GetPixelIndex(0, 0), 2);
}

TEST(PixelAccess, GrayPaletteAndGrayScale) {
    Image four;
    ASSERT_TRUE(four.Create(1, 1, 4, 0));
    four.SetGrayPalette();
    for (uint8_t i = 0; i < 16; ++i) EXPECT_EQ(four.GetPaletteColor(i).green, i * 17);
    EXPECT_FALSE(four.IsGrayScale());  // entry i must be i itself
    Image eight;
    ASSERT_TRUE(eight.Create(1, 1, 8, 0));
    eight.SetGrayPalette();
    EXPECT_TRUE(eight.IsGrayScale());
}

TEST(PixelAccess, PaletteSetters) {
    Image pal;
    ASSERT_TRUE(pal.Create(1, 1, 1, 0));
    const uint8_t red[3] = {1, 2, 3};
    pal.SetPalette(3, red, nullptr, nullptr);  // green and blue repeat red; only 2 entries exist
    EXPECT_EQ(pal.GetPaletteColor(1).blue, 2);
    EXPECT_EQ(pal.GetPaletteColor(2).red, 0);
    const RgbTriple triplets[1] = {{7, 8, 9}};
    pal.SetPalette(triplets, 1);
    EXPECT_EQ(pal.GetPaletteColor(0).blue, 9);
    EXPECT_FALSE(pal.AlphaPaletteIsValid());
    pal.SetPaletteColor(1, 0, 0, 0, 200);
    EXPECT_TRUE(pal.AlphaPaletteIsValid());
    uint8_t r, g, b;
    EXPECT_TRUE(pal.GetPaletteColor(0, &r, &g, &b));
    EXPECT_EQ(g, 8);
    Image rgb;
    ASSERT_TRUE(rgb.Create(1, 1, 24, 0));
    EXPECT_FALSE(rgb.GetPaletteColor(0, &r, &g, &b));
}

TEST(PixelAccess, CompareColorsByLuminance) {
    EXPECT_GT(Image::CompareColors(RgbQuad{0, 255, 0, 0}, RgbQuad{0, 0, 255, 0}), 0);
    EXPECT_EQ(Image::CompareColors(RgbQuad{255, 255, 255, 0}, RgbQuad{0, 0, 0, 0}), 255);
}

}  // namespace
}  // namespace ruvelto::image
