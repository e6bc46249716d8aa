// Resampling on small pictures whose right answers can be worked out by hand: tent-weighted
// averages when shrinking, linear steps when enlarging, alpha weighting the colours, and the sizes at the edges
// (one-pixel sides, extreme ratios).
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "image/image.h"

namespace ruvelto::image {
namespace {

// A 24-bit picture of one row per entry of rows (row 0 is y = 0), grey levels given per pixel.
void Greys(Image& image, const std::vector<std::vector<uint8_t>>& rows) {
    const uint32_t w = uint32_t(rows[0].size()), h = uint32_t(rows.size());
    ASSERT_TRUE(image.Create(w, h, 24, IMAGE_FORMAT_PNG));
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x) {
            const uint8_t v = rows[y][x];
            image.SetPixelColor(int32_t(x), int32_t(y), RgbQuad{v, v, v, 0});
        }
}

uint8_t GreyAt(const Image& image, int32_t x, int32_t y) { return image.GetPixelColor(x, y, false).green; }

// Shrinking weighs each source by 1 - distance / scale from the output pixel's centre.
TEST(Resample, ShrinkingWeighsSourcesByTheirDistanceFromEachPixelCentre) {
    struct Case {
        const char* what;
        std::vector<uint8_t> in;
        std::vector<uint8_t> out;
    } cases[] = {
        // Weights 0.75, 0.75, 0.25 for the first output and 0.25, 0.75, 0.75 for the second.
        {"halving", {0, 100, 200, 40}, {71, 117}},
        // 3 -> 2: weights 5/6 and 1/2.
        {"thirds", {0, 90, 180}, {34, 146}},
        {"to one pixel", {10, 20, 30, 40, 50}, {30}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Image across, down;
        Greys(across, {c.in});
        ASSERT_TRUE(across.Resample(uint32_t(c.out.size()), 1));
        ASSERT_EQ(across.GetWidth(), c.out.size());
        ASSERT_EQ(across.GetHeight(), 1u);
        for (size_t x = 0; x < c.out.size(); ++x) EXPECT_NEAR(GreyAt(across, int32_t(x), 0), c.out[x], 1) << x;
        // The same along columns: rows are stored bottom-up, y = 0 first, and stay in that order.
        std::vector<std::vector<uint8_t>> column;
        for (uint8_t v : c.in) column.push_back({v});
        Greys(down, column);
        ASSERT_TRUE(down.Resample(1, uint32_t(c.out.size())));
        for (size_t y = 0; y < c.out.size(); ++y) EXPECT_NEAR(GreyAt(down, 0, int32_t(y)), c.out[y], 1) << y;
    }
}

TEST(Resample, EnlargingStepsLinearlyBetweenPixelCentres) {
    Image image;
    Greys(image, {{0, 255}});
    ASSERT_TRUE(image.Resample(4, 3));
    const uint8_t expected[4] = {0, 64, 191, 255};  // centres at -0.25 (held), 0.25, 0.75, 1.25 (held)
    for (int32_t y = 0; y < 3; ++y)
        for (int32_t x = 0; x < 4; ++x) EXPECT_NEAR(GreyAt(image, x, y), expected[x], 1) << x << "," << y;
}

TEST(Resample, AFlatPictureStaysFlatAtEverySizeAndRatio) {
    const struct {
        uint32_t w, h, toW, toH;
    } sizes[] = {
        {1, 1, 1, 7},      {1, 1, 9, 1},     {7, 5, 1, 1},    {640, 1, 7, 3},   {1, 640, 3, 7},
        {5000, 2, 3, 1},   {3, 2, 300, 200}, {97, 61, 50, 30}, {50, 30, 97, 61}, {4096, 1, 4095, 1},
    };
    for (const auto& s : sizes) {
        SCOPED_TRACE(testing::Message() << s.w << "x" << s.h << " -> " << s.toW << "x" << s.toH);
        Image image;
        ASSERT_TRUE(image.Create(s.w, s.h, 24, IMAGE_FORMAT_BMP));
        for (uint32_t y = 0; y < s.h; ++y)
            for (uint32_t x = 0; x < s.w; ++x) image.SetPixelColor(int32_t(x), int32_t(y), RgbQuad{17, 128, 254, 0});
        ASSERT_TRUE(image.Resample(s.toW, s.toH));
        ASSERT_EQ(image.GetWidth(), s.toW);
        ASSERT_EQ(image.GetHeight(), s.toH);
        for (uint32_t y = 0; y < s.toH; ++y)
            for (uint32_t x = 0; x < s.toW; ++x) {
                const RgbQuad c = image.GetPixelColor(int32_t(x), int32_t(y), false);
                ASSERT_EQ(c.blue, 17);
                ASSERT_EQ(c.green, 128);
                ASSERT_EQ(c.red, 254);
            }
    }
}

TEST(Resample, AnExtremeShrinkStillCountsEverySource) {
    // Ten thousand pixels into one: each weighs far less than the weights' unit, and rounding them
    // one by one would drop them all or keep only a few.
    Image image;
    std::vector<uint8_t> stripes(10000);
    for (size_t i = 0; i < stripes.size(); ++i) stripes[i] = i % 4 == 0 ? 200 : 0;
    Greys(image, {stripes});
    ASSERT_TRUE(image.Resample(2, 1));
    EXPECT_NEAR(GreyAt(image, 0, 0), 50, 1);
    EXPECT_NEAR(GreyAt(image, 1, 0), 50, 1);
}

TEST(Resample, AlphaWeightsTheColoursSoEdgesAreNotDarkened) {
    // Opaque red beside transparent black: the shared pixel is red, half covered.
    Image image;
    ASSERT_TRUE(image.Create(4, 1, 24, IMAGE_FORMAT_PNG));
    image.AlphaCreate();
    for (int32_t x = 0; x < 4; ++x) {
        image.SetPixelColor(x, 0, x < 2 ? RgbQuad{0, 0, 255, 0} : RgbQuad{0, 0, 0, 0});
        image.AlphaSet(x, 0, x < 2 ? 255 : 0);
    }
    Image enlarged;
    ASSERT_TRUE(enlarged.Copy(image));
    ASSERT_TRUE(image.Resample(1, 1));
    RgbQuad c = image.GetPixelColor(0, 0, true);
    EXPECT_EQ(c.red, 255);
    EXPECT_EQ(c.green, 0);
    EXPECT_NEAR(c.reserved, 128, 1);

    ASSERT_TRUE(enlarged.Resample(8, 1));
    ASSERT_TRUE(enlarged.AlphaIsValid());
    for (int32_t x = 0; x < 8; ++x) {
        c = enlarged.GetPixelColor(x, 0, true);
        if (c.reserved) {
            EXPECT_EQ(c.red, 255) << x;  // every visible pixel is full red
        }
    }
    EXPECT_EQ(enlarged.AlphaGet(0, 0), 255);
    EXPECT_GT(enlarged.AlphaGet(4, 0), 0);  // the edge is soft ...
    EXPECT_LT(enlarged.AlphaGet(4, 0), 255);
    EXPECT_EQ(enlarged.AlphaGet(7, 0), 0);  // ... and the far side stays clear
}

TEST(Resample, PaletteTransparencyBecomesAnAlphaPlaneAndGreyStaysGrey) {
    // A GIF-like picture: index 1 is the transparent colour.
    Image palette;
    ASSERT_TRUE(palette.Create(6, 2, 8, IMAGE_FORMAT_GIF));
    palette.SetPaletteColor(0, 0, 0, 255);
    palette.SetPaletteColor(1, 255, 0, 255);
    palette.Info.TransIndex = 1;
    for (int32_t y = 0; y < 2; ++y)
        for (int32_t x = 0; x < 6; ++x) palette.SetPixelIndex(x, y, x < 3 ? 0 : 1);
    ASSERT_TRUE(palette.Resample(3, 1));
    EXPECT_EQ(palette.GetBpp(), 24u);
    EXPECT_EQ(palette.Info.TransIndex, -1);
    ASSERT_TRUE(palette.AlphaIsValid());
    EXPECT_EQ(palette.AlphaGet(0, 0), 255);
    EXPECT_EQ(palette.AlphaGet(2, 0), 0);
    EXPECT_EQ(palette.GetPixelColor(0, 0, false).blue, 255);
    EXPECT_EQ(palette.GetPixelColor(0, 0, false).red, 0);
    EXPECT_EQ(palette.GetPixelColor(1, 0, false).blue, 255);  // the key colour never bleeds in

    Image grey;
    ASSERT_TRUE(grey.Create(4, 4, 8, IMAGE_FORMAT_JPG));
    grey.SetGrayPalette();
    for (int32_t y = 0; y < 4; ++y)
        for (int32_t x = 0; x < 4; ++x) grey.SetPixelIndex(x, y, x < 2 ? 40 : 120);
    ASSERT_TRUE(grey.Resample(2, 2));
    EXPECT_EQ(grey.GetBpp(), 8u);
    EXPECT_TRUE(grey.IsGrayScale());
    EXPECT_NEAR(grey.GetPixelIndex(0, 0), 51, 1);  // (40 x 1.5 + 120 x 0.25) / 1.75
    EXPECT_NEAR(grey.GetPixelIndex(1, 1), 109, 1);
}

TEST(Resample, RefusesWhatItCannotDoAndKeepsTheSettings) {
    Image empty;
    EXPECT_FALSE(empty.Resample(2, 2));
    EXPECT_STREQ(empty.Info.LastError, kErrNoPicture);

    Image image;
    Greys(image, {{1, 2, 3}});
    image.Info.JpegQuality = 33;
    image.SetXDPI(300);
    EXPECT_FALSE(image.Resample(0, 5));
    EXPECT_STREQ(image.Info.LastError, kErrZeroSize);
    EXPECT_EQ(image.GetWidth(), 3u);  // the picture is untouched

    // Far past the pixel bound: refused before anything is allocated.
    EXPECT_FALSE(image.Resample(2000000000u, 2000000000u));
    EXPECT_EQ(image.GetWidth(), 3u);

    ASSERT_TRUE(image.Resample(6, 2));
    EXPECT_EQ(image.Info.JpegQuality, 33);
    EXPECT_EQ(image.Info.XDPI, 300);
    EXPECT_EQ(image.Info.Type, IMAGE_FORMAT_PNG);
}

}  // namespace
}  // namespace ruvelto::image
