// The image object's lifecycle: defaults, Create and its bounds, Destroy, Transfer, CopyInfo, Ghost.
#include <gtest/gtest.h>

#include <cstring>

#include "image/image.h"
#include "image/mem_stream.h"

namespace ruvelto::image {
namespace {

TEST(ImageObject, NewObjectDefaults) {
    Image image(IMAGE_FORMAT_PNG);
    EXPECT_FALSE(image.IsValid());
    EXPECT_EQ(image.Info.Type, IMAGE_FORMAT_PNG);
    EXPECT_EQ(image.Info.JpegQuality, 90);
    EXPECT_EQ(image.Info.AlphaMax, 255);
    EXPECT_EQ(image.Info.TransIndex, -1);
    EXPECT_TRUE(image.Info.Enabled);
    EXPECT_EQ(image.Info.XDPI, 96);
    EXPECT_EQ(image.Header.XPelsPerMeter, 3780);
    EXPECT_EQ(image.Header.YPelsPerMeter, 3780);
}

TEST(ImageObject, DpiSettersFallBackTo96AndRound) {
    Image image;
    image.SetXDPI(300);
    EXPECT_EQ(image.Header.XPelsPerMeter, 11811);  // 300 x 39.37 = 11811.02
    image.SetYDPI(-5);
    EXPECT_EQ(image.Info.YDPI, 96);
    EXPECT_EQ(image.Header.YPelsPerMeter, 3780);
}

TEST(ImageObject, CreateRoundsBitsAndLaysOutTheDib) {
    struct Case { uint32_t bits, rounded, clrUsed, effWidth; };
    const Case cases[] = {{0, 1, 2, 4}, {1, 1, 2, 4}, {2, 4, 16, 4}, {4, 4, 16, 4},
                          {7, 8, 256, 8}, {8, 8, 256, 8}, {16, 24, 0, 16}, {32, 24, 0, 16}};
    for (const Case& c : cases) {
        Image image;
        ASSERT_NE(image.Create(5, 3, c.bits, IMAGE_FORMAT_BMP), nullptr) << c.bits;
        EXPECT_EQ(image.Header.BitCount, c.rounded) << c.bits;
        EXPECT_EQ(image.Header.ClrUsed, c.clrUsed) << c.bits;
        EXPECT_EQ(image.Info.EffWidth, c.effWidth) << c.bits;
        EXPECT_EQ(image.Header.SizeImage, c.effWidth * 3) << c.bits;
        EXPECT_EQ(image.GetSize(), 40 + 4 * c.clrUsed + c.effWidth * 3) << c.bits;
        EXPECT_EQ(image.GetBits(0), image.Dib + 40 + 4 * c.clrUsed) << c.bits;
        EXPECT_EQ(image.GetBits(2), image.GetBits(0) + 2 * c.effWidth) << c.bits;
        EXPECT_EQ(image.GetBits(3), nullptr) << c.bits;
        EXPECT_EQ(image.Info.Type, IMAGE_FORMAT_BMP);
    }
}

TEST(ImageObject, CreateRefusesZeroSizeAndTheMemoryBound) {
    Image image;
    EXPECT_EQ(image.Create(0, 10, 24, 0), nullptr);
    EXPECT_STREQ(image.Info.LastError, kErrZeroSize);
    // 100000 x 100000 x 24 / 256 = 937,500,000 > 256,000,000; the product would overflow 32 bits.
    EXPECT_EQ(image.Create(100000, 100000, 24, 0), nullptr);
    EXPECT_STREQ(image.Info.LastError, kErrMemoryBound);
    // The largest sizes overflow even 64 bits in width x height x bits.
    EXPECT_EQ(image.Create(0xFFFFFFFF, 0xFFFFFFFF, 24, 0), nullptr);
    EXPECT_STREQ(image.Info.LastError, kErrMemoryBound);
}

TEST(ImageObject, DestroyKeepsHeaderAndSettings) {
    Image image;
    image.Info.JpegQuality = 150;
    ASSERT_TRUE(image.Create(7, 9, 8, IMAGE_FORMAT_GIF));
    image.AlphaCreate();
    EXPECT_TRUE(image.Destroy());
    EXPECT_FALSE(image.IsValid());
    EXPECT_EQ(image.Alpha, nullptr);
    EXPECT_EQ(image.GetWidth(), 7u);
    EXPECT_EQ(image.GetHeight(), 9u);
    EXPECT_EQ(image.Info.Type, IMAGE_FORMAT_GIF);
    EXPECT_EQ(image.Info.JpegQuality, 150);
}

TEST(ImageObject, TransferMovesEverythingAndEmptiesTheSource) {
    Image source;
    source.Info.JpegQuality = 33;
    ASSERT_TRUE(source.Create(4, 4, 24, IMAGE_FORMAT_BMP));
    source.AlphaCreate();
    uint8_t* dib = source.Dib;
    Image target;
    ASSERT_TRUE(target.Create(2, 2, 8, 0));
    EXPECT_TRUE(target.Transfer(source));
    EXPECT_EQ(target.Dib, dib);
    EXPECT_NE(target.Alpha, nullptr);
    EXPECT_EQ(target.Info.JpegQuality, 33);
    EXPECT_EQ(target.GetWidth(), 4u);
    EXPECT_EQ(source.Dib, nullptr);
    EXPECT_EQ(source.Alpha, nullptr);
    EXPECT_EQ(source.Header.Width, 0);
    EXPECT_EQ(source.Info.JpegQuality, 0);
}

TEST(ImageObject, CopyInfoOnlyIntoAnEmptyObject) {
    Image caller;
    caller.Info.JpegScale = 4;
    caller.Info.Escape = -1;
    caller.SetLastError("old text");
    Image codec(IMAGE_FORMAT_BMP);
    codec.CopyInfo(caller);
    EXPECT_EQ(codec.Info.JpegScale, 4);
    EXPECT_EQ(codec.Info.Escape, -1);
    EXPECT_STREQ(codec.Info.LastError, "old text");
    EXPECT_EQ(codec.Info.Type, 0);  // everything, the format number included

    Image holding;
    ASSERT_TRUE(holding.Create(1, 1, 24, 0));
    holding.CopyInfo(caller);
    EXPECT_EQ(holding.Info.JpegScale, 0);
}

TEST(ImageObject, GhostBorrowsAndNeverFrees) {
    Image source;
    ASSERT_TRUE(source.Create(3, 3, 24, IMAGE_FORMAT_BMP));
    std::memset(source.GetBits(0), 0x5A, source.Header.SizeImage);
    {
        Image ghost;
        ghost.Ghost(source);
        EXPECT_EQ(ghost.Dib, source.Dib);
        EXPECT_EQ(ghost.Info.GhostOf, &source);
        EXPECT_FALSE(ghost.Destroy());
        EXPECT_EQ(ghost.Create(9, 9, 8, 0), nullptr);
    }
    ASSERT_TRUE(source.IsValid());
    EXPECT_EQ(source.GetBits(0)[0], 0x5A);
}

TEST(ImageObject, EncodeSafeCheckTexts) {
    Image image;
    MemStream stream;
    EXPECT_FALSE(image.EncodeSafeCheck(nullptr));
    EXPECT_STREQ(image.Info.LastError, kErrNoStream);
    EXPECT_FALSE(image.EncodeSafeCheck(&stream));
    EXPECT_STREQ(image.Info.LastError, kErrNoPicture);
    ASSERT_TRUE(image.Create(1, 1, 1, 0));
    EXPECT_TRUE(image.EncodeSafeCheck(&stream));
}

}  // namespace
}  // namespace ruvelto::image
