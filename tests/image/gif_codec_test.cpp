// The GIF codec: tiles for deeper pictures, palette pictures, transparency, interlace, frames,
// disposal, the loop and comment extensions, the three compressions, damaged and cut files.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <string>

#include "image/gif_codec.h"
#include "image/mem_stream.h"
#include "tests/image/gif_test_pictures.h"
#include "tests/image/test_files.h"

namespace ruvelto::image {
namespace {

using test::EncodeToBytes;
using test::GifFile;
using test::ParseGif;

bool DecodeGif(const std::vector<uint8_t>& bytes, Image& image) {
    return image.Decode(bytes.data(), bytes.size(), IMAGE_FORMAT_GIF);
}

TEST(GifTiles, FortyByTwentyTrueColourIsSixTilesAndComesBackExactly) {
    Image picture;
    test::MakeTrueColour(picture, 40, 20, 7);
    const std::vector<uint8_t> bytes = EncodeToBytes(picture);
    const GifFile file = ParseGif(bytes);
    EXPECT_EQ(file.screenFlags, 0x11);  // no global table
    ASSERT_EQ(file.images.size(), 6u);
    const uint32_t expected[6][4] = {{0, 0, 17, 15}, {17, 0, 17, 15}, {34, 0, 6, 15},
                                     {0, 15, 17, 5}, {17, 15, 17, 5}, {34, 15, 6, 5}};
    for (size_t i = 0; i < 6; ++i) {
        const test::GifImageBlock& tile = file.images[i];
        EXPECT_EQ(tile.left, expected[i][0]) << i;
        EXPECT_EQ(tile.top, expected[i][1]) << i;
        EXPECT_EQ(tile.width, expected[i][2]) << i;
        EXPECT_EQ(tile.height, expected[i][3]) << i;
        EXPECT_EQ(tile.flags, 0x87) << i;
        EXPECT_EQ(tile.localTable.size(), 3u * 256) << i;
        EXPECT_EQ(tile.codeSize, 8) << i;
    }
    EXPECT_TRUE(file.trailer);

    Image back;
    ASSERT_TRUE(DecodeGif(bytes, back));
    EXPECT_EQ(back.GetBpp(), 24u);
    EXPECT_EQ(back.Info.NumFrames, 6);
    EXPECT_EQ(back.Info.Frame, 0);  // the caller's frame, though tile mode read them all
    EXPECT_EQ(back.Info.TransIndex, -1);
    EXPECT_TRUE(test::SameColours(picture, back));
}

// Every shape of mosaic, including those one tile wide or one tile high, under every compression.
TEST(GifTiles, EveryShapeAndCompressionComesBack) {
    const uint32_t sizes[][2] = {{1, 1}, {17, 15}, {18, 15}, {17, 16}, {10, 100}, {100, 10},
                                 {17, 40}, {60, 15}, {16, 14}, {35, 31}};
    for (int32_t option = 0; option <= kGifOptionRle; ++option) {
        for (const auto& size : sizes) {
            Image picture;
            test::MakeTrueColour(picture, size[0], size[1], size[0] * 31 + size[1]);
            Image back;
            ASSERT_TRUE(DecodeGif(EncodeToBytes(picture, option), back)) << size[0] << "x" << size[1];
            EXPECT_TRUE(test::SameColours(picture, back)) << size[0] << "x" << size[1] << " option " << option;
        }
    }
}

TEST(GifTiles, TransparentColourIsEntryZeroOfEveryTile) {
    Image picture;
    test::MakeTrueColour(picture, 30, 20, 3);
    const RgbQuad trans{0x25, 0x25, 0x25, 0};  // one of the repeated colours
    picture.Info.TransIndex = 0;
    picture.SetTransColor(trans);
    const std::vector<uint8_t> bytes = EncodeToBytes(picture);
    const GifFile file = ParseGif(bytes);
    ASSERT_EQ(file.images.size(), 4u);
    for (const test::GifImageBlock& tile : file.images) {
        ASSERT_EQ(tile.graphicControl.size(), 4u);
        EXPECT_EQ(tile.graphicControl[0], 0x01);
        EXPECT_EQ(tile.graphicControl[3], 0);
        EXPECT_EQ(tile.localTable[0], trans.red);
        EXPECT_EQ(tile.localTable[1], trans.green);
        EXPECT_EQ(tile.localTable[2], trans.blue);
    }
    Image back;
    ASSERT_TRUE(DecodeGif(bytes, back));
    EXPECT_EQ(back.Info.TransIndex, 0);
    EXPECT_EQ(back.Info.TransColor.red, trans.red);
    EXPECT_EQ(back.Info.TransColor.blue, trans.blue);
    EXPECT_TRUE(test::SameColours(picture, back));
}

TEST(GifPalette, PicturesComeBackIndexForIndexUnderEveryCompression) {
    struct Case {
        uint32_t bits, width, height;
        uint8_t headerFlags, codeSize;
    };
    // 256 x 256 of 8-bit noise fills the 4096-code table many times over.
    const Case cases[] = {{1, 33, 9, 0x80, 2}, {4, 19, 21, 0xE3, 4}, {8, 256, 256, 0xE7, 8}, {8, 1, 1, 0xE7, 8}};
    for (const Case& c : cases) {
        for (int32_t option = 0; option <= kGifOptionRle; ++option) {
            Image picture;
            test::MakePalettePicture(picture, c.width, c.height, c.bits, c.width + option);
            const std::vector<uint8_t> bytes = EncodeToBytes(picture, option);
            const GifFile file = ParseGif(bytes);
            EXPECT_EQ(file.screenFlags, c.headerFlags) << c.bits;
            ASSERT_EQ(file.images.size(), 1u);
            EXPECT_EQ(file.images[0].codeSize, c.codeSize) << c.bits;
            EXPECT_EQ(file.images[0].flags, 0);
            Image back;
            ASSERT_TRUE(DecodeGif(bytes, back)) << c.bits << " option " << option;
            EXPECT_TRUE(test::SameIndices(picture, back)) << c.bits << " option " << option;
        }
    }
    // One colour throughout: runs far longer than the code table.
    for (int32_t option = 0; option <= kGifOptionRle; ++option) {
        Image flat;
        test::MakePalettePicture(flat, 400, 300, 8, 1);
        flat.Clear(5);
        Image back;
        ASSERT_TRUE(DecodeGif(EncodeToBytes(flat, option), back)) << option;
        EXPECT_TRUE(test::SameIndices(flat, back)) << option;
    }
}

TEST(GifPalette, TransparentIndexGoesIntoTheGraphicControlExtension) {
    Image picture;
    test::MakePalettePicture(picture, 5, 5, 8, 1);
    picture.Info.TransIndex = 3;
    const std::vector<uint8_t> bytes = EncodeToBytes(picture);
    const size_t at = 13 + 3 * 256;
    ASSERT_GT(bytes.size(), at + 8);
    const uint8_t expected[8] = {0x21, 0xF9, 4, 0x01, 0, 0, 3, 0};
    EXPECT_EQ(std::memcmp(&bytes[at], expected, 8), 0);
    Image back;
    ASSERT_TRUE(DecodeGif(bytes, back));
    EXPECT_EQ(back.Info.TransIndex, 3);
    EXPECT_TRUE(test::SameIndices(picture, back));
}

// Rows stored in the order of the four interlace passes, with the descriptor's interlace flag,
// decode to the picture whose rows are in plain order.
TEST(GifInterlace, InterlacedFileEqualsItsPlainTwin) {
    for (uint32_t height : {1u, 2u, 3u, 4u, 5u, 7u, 8u, 9u, 13u, 16u, 17u, 30u}) {
        Image plain;
        test::MakePalettePicture(plain, 7, height, 8, height);
        Image shuffled;
        ASSERT_TRUE(shuffled.Copy(plain));
        uint32_t next = 0;
        const uint32_t starts[4] = {0, 4, 2, 1}, steps[4] = {8, 8, 4, 2};
        for (int pass = 0; pass < 4; ++pass) {
            for (uint32_t y = starts[pass]; y < height; y += steps[pass], ++next) {
                // File row `next` (from the top) carries picture row y.
                std::memcpy(shuffled.GetBits(height - 1 - next), plain.GetBits(height - 1 - y), plain.Info.EffWidth);
            }
        }
        ASSERT_EQ(next, height);
        std::vector<uint8_t> bytes = EncodeToBytes(shuffled);
        const GifFile file = ParseGif(bytes);
        ASSERT_EQ(file.images.size(), 1u);
        bytes[file.images[0].descriptorAt + 9] |= 0x40;
        Image back;
        ASSERT_TRUE(DecodeGif(bytes, back));
        EXPECT_TRUE(test::SameIndices(plain, back)) << "height " << height;
    }
}

// Three frames of 6 x 4: a full first frame, then small frames at offsets.
std::vector<uint8_t> ThreeFrames(uint8_t disposal, uint16_t loops, const char* comment) {
    Image first, second, third;
    test::MakePalettePicture(first, 6, 4, 8, 11);
    test::MakePalettePicture(second, 2, 2, 8, 12);
    test::MakePalettePicture(third, 3, 1, 8, 13);
    // One palette for all, as in an animation: a frame's table becomes the whole screen's.
    second.SetPalette(first.GetPalette(), 256);
    third.SetPalette(first.GetPalette(), 256);
    second.Info.OffsetX = 1;
    second.Info.OffsetY = 1;
    third.Info.OffsetX = 3;
    third.Info.OffsetY = 3;
    third.Info.FrameDelay = 25;
    GifCodec codec;
    codec.SetDisposalMethod(disposal);
    codec.SetLoops(loops);
    codec.SetComment(comment);
    Image* frames[3] = {&first, &second, &third};
    MemStream out;
    EXPECT_TRUE(codec.EncodeFrames(out, frames, 3));
    const int64_t size = out.Size();
    uint8_t* buffer = out.GetBuffer();
    std::vector<uint8_t> bytes(buffer, buffer + size);
    FreeMemory(buffer);
    return bytes;
}

TEST(GifFrames, EachFrameIsComposedOverTheOnesBefore) {
    const std::vector<uint8_t> bytes = ThreeFrames(0, 0, "");
    Image frame[3];
    for (int32_t i = 0; i < 3; ++i) {
        frame[i].Info.Frame = i;
        ASSERT_TRUE(DecodeGif(bytes, frame[i])) << i;
        EXPECT_EQ(frame[i].Info.NumFrames, 3);
        EXPECT_EQ(frame[i].GetWidth(), 6u);
        EXPECT_EQ(frame[i].GetHeight(), 4u);
    }
    EXPECT_EQ(frame[2].Info.FrameDelay, 25);
    Image first, second;
    test::MakePalettePicture(first, 6, 4, 8, 11);
    test::MakePalettePicture(second, 2, 2, 8, 12);
    second.SetPalette(first.GetPalette(), 256);
    EXPECT_TRUE(test::SameColours(first, frame[0]));
    // Frame 1: frame 0 with the 2 x 2 image at (1, 1) from the top left; y counts from the bottom.
    for (int32_t y = 0; y < 4; ++y) {
        for (int32_t x = 0; x < 6; ++x) {
            const bool inside = x >= 1 && x < 3 && y >= 1 && y < 3;
            const RgbQuad want = inside ? second.GetPixelColor(x - 1, y - 1, false) : first.GetPixelColor(x, y, false);
            const RgbQuad got = frame[1].GetPixelColor(x, y, false);
            EXPECT_TRUE(want.red == got.red && want.green == got.green && want.blue == got.blue) << x << "," << y;
        }
    }
}

TEST(GifFrames, DisposalToBackgroundClearsTheScreenBeforeTheNextFrame) {
    const std::vector<uint8_t> bytes = ThreeFrames(2, 0, "");
    Image frame;
    frame.Info.Frame = 1;
    ASSERT_TRUE(DecodeGif(bytes, frame));
    Image kept;
    kept.Info.Frame = 1;
    ASSERT_TRUE(DecodeGif(ThreeFrames(0, 0, ""), kept));
    Image first;
    test::MakePalettePicture(first, 6, 4, 8, 11);
    // Outside the 2 x 2 image the screen is back to the background index 0 after disposal,
    // and still shows frame 0 without it.
    int covered = 0;
    for (int32_t y = 0; y < 4; ++y) {
        for (int32_t x = 0; x < 6; ++x) {
            if (x >= 1 && x < 3 && y >= 1 && y < 3) continue;
            EXPECT_EQ(frame.GetPixelIndex(x, y), 0) << x << "," << y;
            EXPECT_EQ(kept.GetPixelIndex(x, y), first.GetPixelIndex(x, y)) << x << "," << y;
            covered += first.GetPixelIndex(x, y) != 0;
        }
    }
    EXPECT_GT(covered, 0);
}

TEST(GifFrames, FrameOutsideTheFileFailsAndReportsTheCount) {
    Image picture;
    test::MakePalettePicture(picture, 4, 4, 4, 2);
    const std::vector<uint8_t> single = EncodeToBytes(picture);
    const std::vector<uint8_t> three = ThreeFrames(0, 0, "");
    struct Case {
        const std::vector<uint8_t>* bytes;
        int32_t frame;
        int32_t numFrames;
    };
    for (const Case& c : {Case{&single, 1, 1}, Case{&single, -1, 1}, Case{&three, 3, 3}}) {
        Image image;
        image.Info.Frame = c.frame;
        EXPECT_FALSE(DecodeGif(*c.bytes, image)) << c.frame;
        EXPECT_EQ(image.Info.NumFrames, c.numFrames) << c.frame;
        EXPECT_FALSE(image.IsValid());
    }
}

TEST(GifExtensions, LoopCountAndCommentAreWrittenAndRead) {
    const std::vector<uint8_t> bytes = ThreeFrames(0, 3, "made by Ruvelto");
    MemStream in(bytes.data(), bytes.size());
    GifCodec codec;
    codec.Info.Frame = 2;
    ASSERT_TRUE(codec.Decode(in));
    EXPECT_EQ(codec.GetLoops(), 3);
    EXPECT_STREQ(codec.GetComment(), "made by Ruvelto");

    // A picture without a comment gets no comment extension.
    Image picture;
    test::MakePalettePicture(picture, 3, 3, 1, 5);
    const std::vector<uint8_t> plain = EncodeToBytes(picture);
    for (size_t i = 0; i + 1 < plain.size(); ++i) EXPECT_FALSE(plain[i] == 0x21 && plain[i + 1] == 0xFE);
}

// An image smaller than the screen, at (10, 20): the rest of the screen is the transparent index.
TEST(GifDecode, SmallImageSitsOnTheScreenOverTheTransparentIndex) {
    Image picture;
    test::MakePalettePicture(picture, 4, 3, 8, 9);
    for (int32_t y = 0; y < 3; ++y) {
        for (int32_t x = 0; x < 4; ++x) picture.SetPixelIndex(x, y, uint8_t(10 + x + 4 * y));
    }
    picture.Info.TransIndex = 5;
    picture.Info.OffsetX = 10;
    picture.Info.OffsetY = 20;
    std::vector<uint8_t> bytes = EncodeToBytes(picture);
    bytes[6] = 40;  // screen 40 x 30
    bytes[8] = 30;
    Image back;
    ASSERT_TRUE(DecodeGif(bytes, back));
    ASSERT_EQ(back.GetWidth(), 40u);
    ASSERT_EQ(back.GetHeight(), 30u);
    EXPECT_EQ(back.Info.TransIndex, 5);
    for (int32_t top = 0; top < 30; ++top) {
        for (int32_t x = 0; x < 40; ++x) {
            const int32_t y = 29 - top;
            const bool inside = x >= 10 && x < 14 && top >= 20 && top < 23;
            const uint8_t want = inside ? picture.GetPixelIndex(x - 10, 2 - (top - 20)) : 5;
            ASSERT_EQ(back.GetPixelIndex(x, y), want) << x << "," << top;
        }
    }
}

TEST(GifDecode, ReusedObjectReadsEachFileAfresh) {
    Image tiled;
    test::MakeTrueColour(tiled, 40, 20, 1);
    tiled.Info.TransIndex = 0;
    Image single;
    test::MakePalettePicture(single, 5, 5, 4, 1);

    Image object;
    ASSERT_TRUE(DecodeGif(EncodeToBytes(tiled), object));
    ASSERT_EQ(object.Info.TransIndex, 0);
    ASSERT_TRUE(DecodeGif(EncodeToBytes(single), object));
    EXPECT_EQ(object.Info.TransIndex, -1);
    EXPECT_EQ(object.Info.NumFrames, 1);
    EXPECT_TRUE(test::SameIndices(single, object));
}

TEST(GifDecode, SignatureVersionAndDimensionsOnly) {
    Image picture;
    test::MakePalettePicture(picture, 9, 7, 4, 4);
    std::vector<uint8_t> bytes = EncodeToBytes(picture);

    std::vector<uint8_t> old = bytes;
    std::memcpy(old.data() + 3, "87a", 3);
    Image image87;
    EXPECT_TRUE(DecodeGif(old, image87));

    std::vector<uint8_t> wrong = bytes;
    wrong[3] = '9';
    Image refused;
    std::strcpy(refused.Info.LastError, "before");
    EXPECT_FALSE(refused.Decode(wrong.data(), wrong.size(), IMAGE_FORMAT_GIF));
    EXPECT_STREQ(refused.Info.LastError, "before");

    Image dimensions;
    dimensions.Info.Escape = -1;
    EXPECT_TRUE(DecodeGif(bytes, dimensions));
    EXPECT_EQ(dimensions.GetWidth(), 9u);
    EXPECT_EQ(dimensions.GetHeight(), 7u);
    EXPECT_FALSE(dimensions.IsValid());
}

// Every cut of a file decodes what it holds or fails; a cut before the first image's data fails.
TEST(GifDecode, EveryTruncationEndsCleanly) {
    Image deep;
    test::MakeTrueColour(deep, 20, 16, 8);
    for (const std::vector<uint8_t>& whole : {EncodeToBytes(deep), ThreeFrames(2, 1, "x")}) {
        const size_t firstData = ParseGif(whole).images[0].descriptorAt + 10 +
                                 ParseGif(whole).images[0].localTable.size() + 1;
        for (size_t n = 0; n < whole.size(); ++n) {
            std::vector<uint8_t> cut(whole.begin(), whole.begin() + long(n));
            Image image;
            const bool decoded = image.Decode(cut.data(), cut.size(), IMAGE_FORMAT_GIF);
            if (n <= firstData + 1) {
                EXPECT_FALSE(decoded) << n;
            }
        }
    }
}

// Data that is not LZW at all: codes beyond the table, runaway prefixes, no end code.
TEST(GifDecode, GarbageImageDataNeitherHangsNorOverruns) {
    Image picture;
    test::MakePalettePicture(picture, 64, 64, 8, 3);
    const std::vector<uint8_t> bytes = EncodeToBytes(picture);
    const size_t data = ParseGif(bytes).images[0].descriptorAt + 11;
    uint32_t state = 1;
    for (int round = 0; round < 50; ++round) {
        std::vector<uint8_t> damaged = bytes;
        for (size_t i = data; i + 2 < damaged.size(); ++i) {
            if (i % 255 == data % 255) continue;  // keep the sub-block lengths
            state = state * 1664525u + 1013904223u;
            damaged[i] = uint8_t(state >> 24);
        }
        Image image;
        if (image.Decode(damaged.data(), damaged.size(), IMAGE_FORMAT_GIF)) {
            EXPECT_EQ(image.GetWidth(), 64u);
            EXPECT_EQ(image.GetHeight(), 64u);
        }
    }
}

TEST(GifEncode, FailuresAreReported) {
    Image wide;
    ASSERT_TRUE(wide.Create(65536, 1, 1, IMAGE_FORMAT_BMP));
    wide.Clear(0);
    EXPECT_TRUE(EncodeToBytes(wide).empty());
    EXPECT_STREQ(wide.Info.LastError, kErrGifTooLarge);

    Image picture;
    test::MakeTrueColour(picture, 300, 300, 2);
    EXPECT_FALSE(picture.Save(test::ApiPath("/dev/full").c_str(), IMAGE_FORMAT_GIF));
    EXPECT_STREQ(picture.Info.LastError, kErrGifWrite);
}

// A GIF without a global table whose frames are all of one index each, with 2-entry local
// tables (R, G, B twice) and a graphic control extension making index 1 transparent.
struct PlainFrame {
    uint16_t left, top, width, height;
    std::vector<uint8_t> table;
    uint8_t index;
};
std::vector<uint8_t> AnimationWithoutGlobalTable(uint16_t width, uint16_t height, const std::vector<PlainFrame>& frames) {
    std::vector<uint8_t> v = {'G', 'I', 'F', '8', '9', 'a'};
    test::Put16(v, width), test::Put16(v, height);
    v.insert(v.end(), {0, 0, 0});
    for (const PlainFrame& f : frames) {
        v.insert(v.end(), {0x21, 0xF9, 4, 0x05, 10, 0, 1, 0});  // disposal 1, transparent index 1
        v.push_back(0x2C);
        test::Put16(v, f.left), test::Put16(v, f.top), test::Put16(v, f.width), test::Put16(v, f.height);
        v.push_back(0x80);
        v.insert(v.end(), f.table.begin(), f.table.end());
        // Code size 2: a clear before each index keeps every code 3 bits wide.
        std::vector<uint8_t> data;
        uint32_t bits = 0, count = 0;
        auto put = [&](uint32_t code) {
            bits |= code << count, count += 3;
            while (count >= 8) data.push_back(uint8_t(bits)), bits >>= 8, count -= 8;
        };
        for (uint32_t i = 0; i < uint32_t(f.width) * f.height; ++i) put(4), put(f.index);
        put(5);
        if (count) data.push_back(uint8_t(bits));
        v.push_back(2);
        for (size_t at = 0; at < data.size(); at += 255) {
            const size_t n = std::min<size_t>(255, data.size() - at);
            v.push_back(uint8_t(n));
            v.insert(v.end(), data.begin() + long(at), data.begin() + long(at + n));
        }
        v.push_back(0);
    }
    v.push_back(0x3B);
    return v;
}

// ImageMagick's first frame on its screen as R, G, B, A bytes, rows from the top.
bool CoalescedFirstFrame(const std::string& path, uint32_t width, uint32_t height, std::vector<uint8_t>* rgba) {
    FILE* p = popen(("convert '" + path + "' -coalesce -delete 1--1 -depth 8 rgba:- 2>/dev/null").c_str(), "r");
    if (!p) return false;
    rgba->assign(size_t(width) * height * 4, 0);
    const size_t read = fread(rgba->data(), 1, rgba->size(), p);
    pclose(p);
    return read == rgba->size();
}

// Animations without a global table whose first frame is smaller than the screen are no tile
// mosaics: frame 0 alone, on a screen transparent where it does not reach, as ImageMagick shows it.
TEST(GifFrames, AnimationsWithoutGlobalTableAreNotMosaics) {
    const std::vector<uint8_t> redWhite = {255, 0, 0, 255, 255, 255}, whiteBlue = {255, 255, 255, 0, 0, 255};
    struct Case {
        const char* name;
        uint16_t width, height;
        std::vector<PlainFrame> frames;
    } cases[] = {
        {"6 x 6 screen, red 4 x 4 first frame", 6, 6, {{0, 0, 4, 4, redWhite, 0}, {2, 2, 4, 4, whiteBlue, 0}}},
        // A first frame the size of one of our tiles, but the frames do not tile the screen.
        {"20 x 20 screen, first frame the size of a tile", 20, 20,
         {{0, 0, 17, 15, redWhite, 0}, {17, 15, 3, 5, whiteBlue, 0}}},
    };
    const std::string dir = test::ScratchDir();
    for (const Case& c : cases) {
        const std::vector<uint8_t> bytes = AnimationWithoutGlobalTable(c.width, c.height, c.frames);
        Image back;
        ASSERT_TRUE(DecodeGif(bytes, back)) << c.name;
        EXPECT_EQ(back.Info.NumFrames, 2) << c.name;
        ASSERT_EQ(back.GetWidth(), c.width) << c.name;
        ASSERT_EQ(back.GetHeight(), c.height) << c.name;
        EXPECT_EQ(back.GetBpp(), 1u) << c.name << ": a palette picture, not a 24-bit mosaic";
        const std::string path = dir + "/animation.gif";
        FILE* f = std::fopen(path.c_str(), "wb");
        ASSERT_NE(f, nullptr);
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
        std::vector<uint8_t> reference;
        ASSERT_TRUE(CoalescedFirstFrame(path, c.width, c.height, &reference)) << c.name;
        for (uint32_t top = 0; top < c.height; ++top) {
            for (uint32_t x = 0; x < c.width; ++x) {
                const uint8_t* want = &reference[(size_t(top) * c.width + x) * 4];
                const int32_t y = int32_t(c.height - 1 - top);
                const bool transparent = back.GetPixelIndex(int32_t(x), y) == back.Info.TransIndex;
                ASSERT_EQ(transparent, want[3] == 0) << c.name << " at " << x << "," << top;
                if (transparent) continue;
                const RgbQuad got = back.GetPixelColor(int32_t(x), y, false);
                ASSERT_EQ(got.red, want[0]) << c.name << " at " << x << "," << top;
                ASSERT_EQ(got.green, want[1]) << c.name << " at " << x << "," << top;
                ASSERT_EQ(got.blue, want[2]) << c.name << " at " << x << "," << top;
            }
        }
    }
}

// Images that tile the screen exactly, in rows from the top-left, are a mosaic whatever their
// size (other writers use 16 x 16): one 24-bit picture of all of them.
TEST(GifTiles, TilesOfAnotherSizeMakeOnePicture) {
    const std::vector<uint8_t> red = {255, 0, 0, 0, 0, 0}, green = {0, 255, 0, 0, 0, 0}, blue = {0, 0, 255, 0, 0, 0},
                               grey = {90, 90, 90, 0, 0, 0};
    const std::vector<uint8_t> bytes = AnimationWithoutGlobalTable(
        32, 24, {{0, 0, 16, 16, red, 0}, {16, 0, 16, 16, green, 0}, {0, 16, 16, 8, blue, 0}, {16, 16, 16, 8, grey, 0}});
    Image back;
    ASSERT_TRUE(DecodeGif(bytes, back));
    EXPECT_EQ(back.GetBpp(), 24u);
    const struct {
        int32_t x, top;
        uint8_t red, green, blue;
    } samples[] = {{0, 0, 255, 0, 0}, {31, 15, 0, 255, 0}, {15, 16, 0, 0, 255}, {31, 23, 90, 90, 90}};
    for (const auto& at : samples) {
        const RgbQuad c = back.GetPixelColor(at.x, 23 - at.top, false);
        EXPECT_EQ(c.red, at.red) << at.x << "," << at.top;
        EXPECT_EQ(c.green, at.green) << at.x << "," << at.top;
        EXPECT_EQ(c.blue, at.blue) << at.x << "," << at.top;
    }
}

}  // namespace
}  // namespace ruvelto::image
