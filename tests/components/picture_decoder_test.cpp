// The picture decoder's pure half on small fixtures that show each rule: what counts as a
// picture, BMP rows in both orders, the icon entry chosen, GIF and PCX data that ends early, and
// where mode 2 puts a picture.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "components/picture_decoder.h"

namespace ruvelto::components {
namespace {

using Bytes = std::vector<uint8_t>;

void Put16(Bytes& v, uint32_t x) { v.push_back(uint8_t(x)), v.push_back(uint8_t(x >> 8)); }
void Put32(Bytes& v, uint32_t x) { for (int i = 0; i < 4; ++i) v.push_back(uint8_t(x >> (8 * i))); }

// A BMP of `rows` (top row first, each a list of palette indices or B, G, R triples).
Bytes Bmp(int32_t width, int32_t height, uint16_t bits, const std::vector<Bytes>& rowsTopFirst, bool topDown,
          const std::vector<uint32_t>& palette = {}, uint32_t compression = 0) {
    Bytes v = {'B', 'M'};
    Put32(v, 0), Put32(v, 0);
    Put32(v, uint32_t(54 + palette.size() * 4));
    Put32(v, 40), Put32(v, uint32_t(width)), Put32(v, uint32_t(topDown ? -height : height));
    Put16(v, 1), Put16(v, bits), Put32(v, compression), Put32(v, 0), Put32(v, 2835), Put32(v, 2835);
    Put32(v, uint32_t(palette.size())), Put32(v, 0);
    for (uint32_t c : palette) Put32(v, c);
    const size_t rowBytes = (size_t(width) * bits + 31) / 32 * 4;
    for (int32_t i = 0; i < height; ++i) {
        const Bytes& row = rowsTopFirst[size_t(topDown ? i : height - 1 - i)];
        Bytes padded(rowBytes, 0);
        if (bits == 8 || bits == 24) std::copy(row.begin(), row.end(), padded.begin());
        v.insert(v.end(), padded.begin(), padded.end());
    }
    return v;
}

struct Decoded {
    PicturePixels p;
    ~Decoded() { std::free(p.pixels); }
};

TEST(PictureDecoder, FormatCodesFromTheFirstSixBytes) {
    struct Case {
        Bytes bytes;
        uint32_t kind;
    } cases[] = {
        {{0xFF, 0xD8, 0xFF, 0xE0, 0, 0x10}, kPictureJpeg},
        {{'B', 'M', 0, 0, 0, 0}, kPictureBmp},
        {{0, 0, 1, 0, 1, 0}, kPictureIcon},
        {{0, 0, 2, 0, 3, 0}, kPictureCursor},
        {{0, 0, 1, 0, 0, 0}, kPictureNone},  // an icon file of no entries
        {{'G', 'I', 'F', '8', '9', 'a'}, kPictureGif},
        {{'G', 'I', 'F', '8', '8', 'a'}, kPictureNone},
        {{0x0A, 5, 1, 8, 0, 0}, kPicturePcx256},
        {{0x0A, 6, 1, 8, 0, 0}, kPictureNone},
        {{0x0A, 3, 1, 1, 0, 0}, kPicturePcxMono},
        {{0x0A, 5, 1, 1, 0, 0}, kPictureNone},
        {{0x0A, 5, 1, 4, 0, 0}, kPictureNone},
    };
    for (const Case& c : cases) EXPECT_EQ(PictureFormatOf(c.bytes.data(), c.bytes.size()), c.kind) << int(c.bytes[0]);
    // Five bytes are never a picture, whatever they hold.
    for (const Case& c : cases) {
        Decoded d;
        EXPECT_EQ(PictureFormatOf(c.bytes.data(), 5), kPictureNone);
        EXPECT_FALSE(DecodePicturePixels(c.bytes.data(), 5, &d.p));
    }
}

TEST(PictureDecoder, TopDownBmpDecodesUprightWithTheSamePixels) {
    const std::vector<Bytes> rgbRows = {{0, 0, 255, 0, 255, 0, 255, 0, 0}, {9, 9, 9, 200, 100, 50, 1, 2, 3}};
    const std::vector<Bytes> indexRows = {{0, 1, 2}, {2, 2, 1}};
    const std::vector<uint32_t> palette = {0x000000FF, 0x0000FF00, 0x00FF0000};
    for (uint16_t bits : {uint16_t(24), uint16_t(8)}) {
        const auto& rows = bits == 24 ? rgbRows : indexRows;
        Decoded up, down;
        const Bytes bottomUp = Bmp(3, 2, bits, rows, false, bits == 8 ? palette : std::vector<uint32_t>{});
        const Bytes topDown = Bmp(3, 2, bits, rows, true, bits == 8 ? palette : std::vector<uint32_t>{});
        ASSERT_TRUE(DecodeBmpPixels(bottomUp.data(), bottomUp.size(), &up.p)) << bits;
        ASSERT_TRUE(DecodeBmpPixels(topDown.data(), topDown.size(), &down.p)) << bits;
        EXPECT_EQ(down.p.width, 3);
        EXPECT_EQ(down.p.height, 2);
        ASSERT_EQ(up.p.size, 18u);
        ASSERT_EQ(down.p.size, 18u);
        EXPECT_EQ(std::memcmp(up.p.pixels, down.p.pixels, 18), 0) << bits;
        // Rows are kept bottom-up as B, G, R: the top row's first pixel is the last row's.
        const uint8_t* topLeft = down.p.pixels + 9;
        if (bits == 24) EXPECT_EQ(Bytes(topLeft, topLeft + 3), (Bytes{0, 0, 255}));
        else EXPECT_EQ(Bytes(topLeft, topLeft + 3), (Bytes{0xFF, 0, 0}));
    }
}

TEST(PictureDecoder, BmpRefusals) {
    const std::vector<Bytes> rows = {{1, 2, 3}};
    Bytes rle = Bmp(1, 1, 24, rows, false, {}, 1);
    Bytes sixteen = Bmp(1, 1, 24, rows, false);
    sixteen[28] = 16;
    Bytes offsetInsideTable = Bmp(3, 1, 8, {{0, 1, 2}}, false, {0, 1, 2});
    offsetInsideTable[10] = 54 + 4;  // the pixels would start inside the colour table
    Bytes shortData = Bmp(3, 2, 24, {{0}, {0}}, false);
    shortData.resize(shortData.size() - 1);
    Bytes hugeHeight = Bmp(1, 1, 24, rows, false);
    for (int i = 0; i < 4; ++i) hugeHeight[22 + i] = uint8_t(0x7FFFFFFF >> (8 * i));
    for (const Bytes* bad : {&rle, &sixteen, &offsetInsideTable, &shortData, &hugeHeight}) {
        Decoded d;
        EXPECT_FALSE(DecodeBmpPixels(bad->data(), bad->size(), &d.p));
        EXPECT_EQ(d.p.pixels, nullptr);
    }
}

// An icon file with one directory entry per width, each a 32-bit bitmap image.
Bytes IconFile(const std::vector<int>& widths, uint8_t colourCount = 0) {
    Bytes v;
    Put16(v, 0), Put16(v, 1), Put16(v, uint16_t(widths.size()));
    std::vector<Bytes> images;
    for (int w : widths) {
        Bytes image;
        Put32(image, 40), Put32(image, uint32_t(w)), Put32(image, uint32_t(w * 2));
        Put16(image, 1), Put16(image, 32);
        for (int i = 0; i < 6; ++i) Put32(image, 0);
        image.resize(image.size() + size_t(w) * w * 4 + size_t((w + 31) / 32 * 4) * w, 0);
        images.push_back(image);
    }
    uint32_t offset = uint32_t(6 + 16 * widths.size());
    for (size_t i = 0; i < widths.size(); ++i) {
        v.push_back(uint8_t(widths[i])), v.push_back(uint8_t(widths[i])), v.push_back(colourCount), v.push_back(0);
        Put16(v, 1), Put16(v, 32), Put32(v, uint32_t(images[i].size())), Put32(v, offset);
        offset += uint32_t(images[i].size());
    }
    for (const Bytes& image : images) v.insert(v.end(), image.begin(), image.end());
    return v;
}

TEST(PictureDecoder, IconEntryChoice) {
    IconImage image;
    const Bytes sixteenAndFortyEight = IconFile({16, 48});
    ASSERT_TRUE(ChooseIconImage(sixteenAndFortyEight.data(), sixteenAndFortyEight.size(), 32, &image));
    EXPECT_EQ(image.width, 48) << "no 32-pixel entry: the last entry";
    EXPECT_EQ(image.height, 48);
    const Bytes colourful = IconFile({48, 32, 16}, 16);
    ASSERT_TRUE(ChooseIconImage(colourful.data(), colourful.size(), 32, &image));
    EXPECT_EQ(image.width, 32);
    ASSERT_TRUE(ChooseIconImage(colourful.data(), colourful.size(), 16, &image));
    EXPECT_EQ(image.width, 16);
    // An entry whose image runs past the data is refused before anything reads it.
    Bytes cut = sixteenAndFortyEight;
    cut.resize(cut.size() - 10);
    EXPECT_FALSE(ChooseIconImage(cut.data(), cut.size(), 32, &image));
}

// Which entry a wanted width gets by the entries' colour-count bytes: 0 stands for 256 colours
// or more (the common case for modern icons); 1 to 15 are too few.
TEST(PictureDecoder, IconEntryChoiceByColourCount) {
    struct Case {
        uint8_t colourCount;
        int expectedWidth;
    } cases[] = {{0, 32}, {16, 32}, {255, 32}, {15, 16}, {2, 16}};
    for (const Case& c : cases) {
        const Bytes icon = IconFile({48, 32, 16}, c.colourCount);
        IconImage image;
        ASSERT_TRUE(ChooseIconImage(icon.data(), icon.size(), 32, &image)) << int(c.colourCount);
        EXPECT_EQ(image.width, c.expectedWidth) << "colour count " << int(c.colourCount);
    }
}

TEST(PictureDecoder, ModeTwoPlacement) {
    struct Case {
        int32_t W, H, w, h;
        PictureRect expected;
    } cases[] = {
        {300, 200, 100, 50, {100, 75, 100, 50}},  // smaller: centred, never enlarged
        {300, 200, 600, 100, {0, 75, 300, 50}},   // wider: shrunk to the width
        {300, 200, 100, 400, {125, 0, 50, 200}},  // taller: shrunk to the height
        {300, 200, 300, 200, {0, 0, 300, 200}},
        {100, 100, 301, 300, {0, 0, 100, 99}},    // 99.67 high: truncated, not rounded
    };
    for (const Case& c : cases) {
        const PictureRect r = FitCentred(c.W, c.H, c.w, c.h);
        EXPECT_EQ(r.x, c.expected.x) << c.w << "x" << c.h;
        EXPECT_EQ(r.y, c.expected.y) << c.w << "x" << c.h;
        EXPECT_EQ(r.width, c.expected.width) << c.w << "x" << c.h;
        EXPECT_EQ(r.height, c.expected.height) << c.w << "x" << c.h;
    }
}

// A GIF of 4 x 2 pixels with two 2-colour frames; `delays` in hundredths of a second.
Bytes TwoFrameGif(uint16_t firstDelay, uint16_t secondDelay) {
    Bytes v = {'G', 'I', 'F', '8', '9', 'a'};
    Put16(v, 4), Put16(v, 2);
    v.insert(v.end(), {0x80, 0, 0});                 // global table of 2 colours
    v.insert(v.end(), {255, 0, 0, 0, 0, 255});        // red, blue
    for (uint16_t delay : {firstDelay, secondDelay}) {
        v.insert(v.end(), {0x21, 0xF9, 4, 0x08});    // disposal 2
        Put16(v, delay);
        v.insert(v.end(), {0, 0});
        v.push_back(0x2C);
        Put16(v, 0), Put16(v, 0), Put16(v, 4), Put16(v, 2);
        v.push_back(0);
        // Minimum code size 2: clear, eight indices as literal codes, end; 3-bit codes.
        const uint8_t index = delay == firstDelay ? 0 : 1;
        uint32_t bits = 0, count = 0;
        Bytes data;
        auto put = [&](uint32_t code) {
            bits |= code << count, count += 3;
            while (count >= 8) data.push_back(uint8_t(bits)), bits >>= 8, count -= 8;
        };
        put(4);
        for (int i = 0; i < 8; ++i) {
            put(index);
            put(4);  // a clear after each keeps the code size at 3 bits
        }
        put(5);
        if (count) data.push_back(uint8_t(bits));
        v.push_back(2);
        v.push_back(uint8_t(data.size()));
        v.insert(v.end(), data.begin(), data.end());
        v.push_back(0);
    }
    v.push_back(0x3B);
    return v;
}

TEST(PictureDecoder, GifFramesDelaysAndTruncation) {
    const Bytes gif = TwoFrameGif(0, 20);
    GifPicture picture;
    ASSERT_TRUE(DecodeGif(gif.data(), gif.size(), false, &picture));
    EXPECT_EQ(picture.screenWidth, 4);
    EXPECT_EQ(picture.screenHeight, 2);
    ASSERT_EQ(picture.frames.size(), 2u);
    EXPECT_EQ(picture.frames[0].delay, 0u);
    EXPECT_EQ(picture.frames[1].delay, 20u);
    EXPECT_EQ(picture.frames[0].disposal, 2u);
    EXPECT_EQ(picture.frames[1].dib[kDibHeadBytes + 3], 1) << "second frame all blue";
    Decoded first;
    ASSERT_TRUE(DecodeGifPixels(gif.data(), gif.size(), &first.p));
    EXPECT_EQ(first.p.kind, kPictureGif);
    EXPECT_EQ(first.p.pixels[40 + 2], 255) << "palette entry 0 red as B, G, R, 0";
    // Data that ends inside the second frame keeps the first; inside the first, nothing is left.
    for (size_t cut = gif.size() - 1; cut >= 14; --cut) {
        GifPicture partial;
        const bool decoded = DecodeGif(gif.data(), cut, false, &partial);
        if (decoded) {
            EXPECT_LE(partial.frames.size(), 2u) << cut;
        }
        Decoded d;
        EXPECT_EQ(DecodeGifPixels(gif.data(), cut, &d.p), decoded) << cut;
    }
}

// A GIF with a 256-entry global table (entry i = `Entry(i)`) and one frame of `indices` (rows
// from the top), optionally transparent. The LZW data clears before every index, so each code is
// 9 bits and stands for itself.
uint32_t Entry(uint32_t i) { return (i * 7 % 256) | (255 - i) << 8 | (i * 13 % 256) << 16; }  // 0x00BBGGRR

Bytes StaticGif(uint16_t screenWidth, uint16_t screenHeight, uint16_t left, uint16_t top, uint16_t width,
                uint16_t height, const Bytes& indices, int transparentIndex = -1) {
    Bytes v = {'G', 'I', 'F', '8', '9', 'a'};
    Put16(v, screenWidth), Put16(v, screenHeight);
    v.insert(v.end(), {0xF7, 3, 0});  // global table of 256 entries; background index 3
    for (uint32_t i = 0; i < 256; ++i) {
        const uint32_t c = Entry(i);
        v.insert(v.end(), {uint8_t(c), uint8_t(c >> 8), uint8_t(c >> 16)});
    }
    if (transparentIndex >= 0) v.insert(v.end(), {0x21, 0xF9, 4, 0x01, 0, 0, uint8_t(transparentIndex), 0});
    v.push_back(0x2C);
    Put16(v, left), Put16(v, top), Put16(v, width), Put16(v, height);
    v.push_back(0);
    Bytes data;
    uint32_t bits = 0, count = 0;
    auto put = [&](uint32_t code) {
        bits |= code << count, count += 9;
        while (count >= 8) data.push_back(uint8_t(bits)), bits >>= 8, count -= 8;
    };
    for (uint8_t index : indices) put(256), put(index);
    put(257);
    if (count) data.push_back(uint8_t(bits));
    v.push_back(8);
    for (size_t at = 0; at < data.size(); at += 255) {
        const size_t n = std::min<size_t>(255, data.size() - at);
        v.push_back(uint8_t(n));
        v.insert(v.end(), data.begin() + long(at), data.begin() + long(at + n));
    }
    v.push_back(0);
    v.push_back(0x3B);
    return v;
}

// The colour (0x00BBGGRR) at (x, y) from the top of a kind-5 picture, 8-bit or 24-bit.
uint32_t ColourAt(const PicturePixels& p, int32_t x, int32_t y) {
    const uint32_t bitCount = p.pixels[14] | p.pixels[15] << 8;
    const uint8_t* row = p.pixels + kDibHeadBytes + uint64_t(DibRowBytes(p.width, bitCount)) * uint32_t(y);
    const uint8_t* bgr = bitCount == 24 ? row + 3 * x : p.pixels + 40 + 4 * row[x];
    return uint32_t(bgr[2]) | uint32_t(bgr[1]) << 8 | uint32_t(bgr[0]) << 16;
}

// The first frame on its logical screen: every pixel of the frame keeps its own colour (index
// 255 included), and what the frame leaves uncovered or transparent shows the background colour
// (entry 3), whether a palette entry is free for it or the frame uses all 256.
TEST(PictureDecoder, GifFirstFrameOnItsScreenKeepsEveryColour) {
    Bytes corner(4, 255);          // 2 x 2 of index 255
    Bytes everyIndex(256);         // 16 x 16 using every index
    for (int i = 0; i < 256; ++i) everyIndex[size_t(i)] = uint8_t(i);
    Bytes withHole = {255, 9, 9, 9};
    struct Case {
        const char* name;
        uint16_t screenWidth, screenHeight, left, top, width, height;
        const Bytes* indices;
        int transparentIndex;
    } cases[] = {
        {"index 255, screen not covered", 4, 4, 0, 0, 2, 2, &corner, -1},
        {"index 255, placed inside the screen", 5, 3, 2, 1, 2, 2, &corner, -1},
        {"all 256 indices, screen not covered", 17, 17, 1, 0, 16, 16, &everyIndex, -1},
        {"transparent index 9", 2, 2, 0, 0, 2, 2, &withHole, 9},
        {"covering the screen", 2, 2, 0, 0, 2, 2, &corner, -1},
    };
    for (const Case& c : cases) {
        const Bytes gif = StaticGif(c.screenWidth, c.screenHeight, c.left, c.top, c.width, c.height, *c.indices,
                                    c.transparentIndex);
        Decoded d;
        ASSERT_TRUE(DecodeGifPixels(gif.data(), gif.size(), &d.p)) << c.name;
        ASSERT_EQ(d.p.width, c.screenWidth) << c.name;
        ASSERT_EQ(d.p.height, c.screenHeight) << c.name;
        for (int32_t y = 0; y < c.screenHeight; ++y)
            for (int32_t x = 0; x < c.screenWidth; ++x) {
                const int32_t fx = x - c.left, fy = y - c.top;
                const bool inside = fx >= 0 && fy >= 0 && fx < c.width && fy < c.height;
                const int index = inside ? (*c.indices)[size_t(fy * c.width + fx)] : -1;
                const uint32_t expected = index >= 0 && index != c.transparentIndex ? Entry(uint32_t(index)) : Entry(3);
                ASSERT_EQ(ColourAt(d.p, x, y), expected) << c.name << " at " << x << "," << y;
            }
    }
}

// A logical screen of 0 x 0 takes the first frame's extent, however wide: the DIB's width field
// holds all of it.
TEST(PictureDecoder, GifWithoutScreenSizeTakesTheFramesFullExtent) {
    const Bytes row(1000, 7);
    const Bytes gif = StaticGif(0, 0, 65000, 0, 1000, 1, row);
    Decoded d;
    ASSERT_TRUE(DecodeGifPixels(gif.data(), gif.size(), &d.p));
    EXPECT_EQ(d.p.width, 66000);
    const uint8_t* w = d.p.pixels + 4;
    EXPECT_EQ(uint32_t(w[0] | w[1] << 8 | w[2] << 16 | uint32_t(w[3]) << 24), 66000u) << "BITMAPINFOHEADER width";
    EXPECT_EQ(ColourAt(d.p, 65999, 0), Entry(7));
    EXPECT_EQ(ColourAt(d.p, 64999, 0), Entry(3));
}

// A PCX header for `width` x `height`, then run-length data.
Bytes Pcx(uint8_t version, uint8_t bits, uint8_t planes, int width, int height, uint16_t bytesPerLine,
          const Bytes& data) {
    Bytes v(128, 0);
    v[0] = 10, v[1] = version, v[2] = 1, v[3] = bits;
    v[8] = uint8_t(width - 1), v[9] = uint8_t((width - 1) >> 8);
    v[10] = uint8_t(height - 1), v[11] = uint8_t((height - 1) >> 8);
    v[65] = planes;
    v[66] = uint8_t(bytesPerLine), v[67] = uint8_t(bytesPerLine >> 8);
    v.insert(v.end(), data.begin(), data.end());
    return v;
}

TEST(PictureDecoder, PcxRunsPaletteAndTruncation) {
    // 3 x 2, 8 bits: a run of four 7s crossing the row end, then 192 (a literal, not a run), 9.
    Bytes data = {0xC4, 7, 192, 9};
    data.push_back(12);
    for (int i = 0; i < 256; ++i) data.insert(data.end(), {uint8_t(i), uint8_t(255 - i), 0});
    const Bytes pcx = Pcx(5, 8, 1, 3, 2, 3, data);
    Decoded d;
    ASSERT_TRUE(DecodePcxPixels(pcx.data(), pcx.size(), &d.p));
    EXPECT_EQ(d.p.kind, kPicturePcx256);
    ASSERT_EQ(d.p.size, kDibHeadBytes + 2 * 4u);
    const uint8_t* rows = d.p.pixels + kDibHeadBytes;
    EXPECT_EQ(Bytes(rows, rows + 3), (Bytes{7, 7, 7}));
    EXPECT_EQ(Bytes(rows + 4, rows + 7), (Bytes{7, 192, 9}));
    const uint8_t* entry7 = d.p.pixels + 40 + 7 * 4;
    EXPECT_EQ(Bytes(entry7, entry7 + 4), (Bytes{0, 248, 7, 0}));

    // Truncated anywhere: no crash, and what decodes keeps its size.
    for (size_t cut = pcx.size() - 1; cut > 128; --cut) {
        Decoded partial;
        if (DecodePcxPixels(pcx.data(), cut, &partial.p)) {
            EXPECT_EQ(partial.p.width, 3);
        }
    }
    // A header claiming 65536 x 65536 over a few bytes of data is no picture.
    const Bytes huge = Pcx(5, 8, 1, 30000, 30000, 30000, {0xC1, 0});
    Decoded none;
    EXPECT_FALSE(DecodePcxPixels(huge.data(), huge.size(), &none.p));

    // Monochrome, 10 pixels wide: two bytes a row, padded lines skipped to their end.
    const Bytes mono = Pcx(3, 1, 1, 10, 2, 2, {0x3F, 0xC0, 0x81, 0x40});
    Decoded m;
    ASSERT_TRUE(DecodePcxPixels(mono.data(), mono.size(), &m.p));
    EXPECT_EQ(m.p.kind, kPicturePcxMono);
    EXPECT_EQ(Bytes(m.p.pixels, m.p.pixels + 4), (Bytes{0x3F, 0xC0, 0x81, 0x40}));
}

}  // namespace
}  // namespace ruvelto::components
