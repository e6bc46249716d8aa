// Decompression bombs: headers that promise 65535 x 65535 pictures followed by a few bytes. Each
// decode fails with the memory text its codec reports for a failed Create, before the picture is
// allocated, both when the format is named and when the probe meets the file; the caller's
// picture stays.
#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "image/codec.h"
#include "image/image.h"
#include "tests/image/test_files.h"

namespace ruvelto::image::test {
namespace {

using Bytes = std::vector<uint8_t>;

constexpr uint32_t kHuge = 65535;

Bytes HugeBmp(uint16_t bits) {
    Bytes v = StartBmp();
    PutInfoHeader(v, kHuge, kHuge, bits);
    const size_t pixels = v.size() + (bits <= 8 ? 4u << bits : 0);
    v.resize(pixels + 16, 0x5A);
    FinishBmp(v, pixels);
    return v;
}

// A GIF whose screen and only image are huge, with a colour table of 2^bits entries and a few
// bytes of LZW data.
Bytes HugeGif(uint8_t bits) {
    Bytes v = {'G', 'I', 'F', '8', '9', 'a'};
    Put16(v, kHuge);
    Put16(v, kHuge);
    v.push_back(uint8_t(0x80 | 0x70 | (bits - 1)));
    v.push_back(0);
    v.push_back(0);
    v.insert(v.end(), size_t(3) << bits, 0x40);
    v.push_back(',');
    Put16(v, 0);
    Put16(v, 0);
    Put16(v, kHuge);
    Put16(v, kHuge);
    v.push_back(0);
    v.push_back(bits < 2 ? 2 : bits);
    v.insert(v.end(), {3, 0x00, 0x01, 0x02, 0});
    v.push_back(';');
    return v;
}

uint32_t Crc(const uint8_t* p, size_t n) {
    uint32_t c = 0xFFFFFFFFu;
    for (size_t i = 0; i < n; ++i) {
        c ^= p[i];
        for (int k = 0; k < 8; ++k) c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1)));
    }
    return ~c;
}
void PutBE32(Bytes& v, uint32_t x) { for (int i = 3; i >= 0; --i) v.push_back(uint8_t(x >> (8 * i))); }
void PngChunk(Bytes& v, const char* type, const Bytes& data) {
    PutBE32(v, uint32_t(data.size()));
    const size_t at = v.size();
    v.insert(v.end(), type, type + 4);
    v.insert(v.end(), data.begin(), data.end());
    PutBE32(v, Crc(v.data() + at, v.size() - at));
}
Bytes HugePng(uint8_t depth, uint8_t colourType) {
    Bytes v = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    Bytes ihdr;
    PutBE32(ihdr, kHuge);
    PutBE32(ihdr, kHuge);
    ihdr.insert(ihdr.end(), {depth, colourType, 0, 0, 0});
    PngChunk(v, "IHDR", ihdr);
    if (colourType == 3) PngChunk(v, "PLTE", Bytes(6, 0x80));
    PngChunk(v, "IDAT", {0x78, 0x9C, 0x63, 0x00, 0x00, 0x00, 0x01, 0x00, 0x01});
    PngChunk(v, "IEND", {});
    return v;
}
// Baseline JPEG frame of the largest size libjpeg takes, with a quantization table, a scan header
// and a few bytes of scan data.
Bytes HugeJpeg(uint8_t components, uint16_t size = 65500) {
    Bytes v = {0xFF, 0xD8, 0xFF, 0xDB, 0x00, 0x43, 0x00};
    v.insert(v.end(), 64, 1);
    v.insert(v.end(), {0xFF, 0xC0});
    const uint16_t length = uint16_t(8 + 3 * components);
    v.insert(v.end(), {uint8_t(length >> 8), uint8_t(length), 8, uint8_t(size >> 8), uint8_t(size),
                       uint8_t(size >> 8), uint8_t(size), components});
    for (uint8_t c = 1; c <= components; ++c) v.insert(v.end(), {c, 0x11, 0});
    const uint16_t sos = uint16_t(6 + 2 * components);
    v.insert(v.end(), {0xFF, 0xDA, uint8_t(sos >> 8), uint8_t(sos), components});
    for (uint8_t c = 1; c <= components; ++c) v.insert(v.end(), {c, 0x00});
    v.insert(v.end(), {0, 63, 0});
    v.insert(v.end(), 16, 0x55);
    v.insert(v.end(), {0xFF, 0xD9});
    return v;
}
// Little-endian TIFF, one strip of 16 bytes.
Bytes HugeTiff(uint16_t samples, uint16_t photometric) {
    Bytes v = {'I', 'I', 42, 0};
    Put32(v, 8);
    struct Entry { uint16_t tag, type; uint32_t count, value; };
    const uint32_t extra = 8 + 2 + 10 * 12 + 4;
    std::vector<Entry> e = {
        {256, 4, 1, kHuge}, {257, 4, 1, kHuge},
        {258, 3, samples, samples == 1 ? 8u : extra}, {259, 3, 1, 1}, {262, 3, 1, photometric},
        {273, 4, 1, extra + 8}, {277, 3, 1, samples}, {278, 4, 1, kHuge}, {279, 4, 1, 16}, {284, 3, 1, 1}};
    Put16(v, uint16_t(e.size()));
    for (const Entry& x : e) { Put16(v, x.tag); Put16(v, x.type); Put32(v, x.count); Put32(v, x.value); }
    Put32(v, 0);
    for (int i = 0; i < 4; ++i) Put16(v, 8);
    v.insert(v.end(), 16, 0x33);
    return v;
}
// With `mapped`, colour-mapped with a map of 256 entries of 24 bits.
Bytes HugeTga(uint8_t type, uint8_t depth, bool mapped = false, uint16_t size = kHuge) {
    Bytes v = {0, uint8_t(mapped ? 1 : 0), type, 0, 0};
    Put16(v, mapped ? 256 : 0);
    v.push_back(mapped ? 24 : 0);
    Put16(v, 0); Put16(v, 0); Put16(v, size); Put16(v, size);
    v.push_back(depth); v.push_back(0x20);
    if (mapped) v.insert(v.end(), 256 * 3, 0x22);
    v.insert(v.end(), 16, 0x11);
    return v;
}
// The window's corners are unsigned: 0 to 65534 spans 65535 pixels.
Bytes HugePcx(uint8_t bits, uint8_t planes) {
    Bytes v = {10, 5, 1, bits};
    Put16(v, 0); Put16(v, 0); Put16(v, 0xFFFE); Put16(v, 0xFFFE); Put16(v, 72); Put16(v, 72);
    v.insert(v.end(), 48, 0);
    v.push_back(0); v.push_back(planes);
    Put16(v, uint16_t(bits == 8 ? kHuge : (kHuge + 7) / 8 + 1));  // bytes per line: a whole row
    v.resize(128, 0);
    v.insert(v.end(), 16, 0xC1);
    return v;
}

struct Bomb {
    const char* name;
    std::function<Bytes()> bytes;
    int32_t format;
    const char* text;  // LastError after the named-format decode; null: any failure
};

constexpr char kPngShort[] = "Not enough image data";

const Bomb kBombs[] = {
    {"BMP 24 bits", [] { return HugeBmp(24); }, IMAGE_FORMAT_BMP, "Can't allocate memory"},
    {"BMP 32 bits", [] { return HugeBmp(32); }, IMAGE_FORMAT_BMP, "Can't allocate memory"},
    {"BMP 8 bits", [] { return HugeBmp(8); }, IMAGE_FORMAT_BMP, "Can't allocate memory"},
    {"GIF 8 bits", [] { return HugeGif(8); }, IMAGE_FORMAT_GIF, kErrMemoryBound},
    {"PNG RGB", [] { return HugePng(8, 2); }, IMAGE_FORMAT_PNG, kErrMemoryBound},
    {"PNG grey", [] { return HugePng(8, 0); }, IMAGE_FORMAT_PNG, kErrMemoryBound},
    {"PNG palette", [] { return HugePng(8, 3); }, IMAGE_FORMAT_PNG, kErrMemoryBound},
    {"PNG RGBA 16 bits", [] { return HugePng(16, 6); }, IMAGE_FORMAT_PNG, kErrMemoryBound},
    // 1 bit fits the bound (512 MB): the picture is made and the missing data ends the decode.
    {"PNG grey 1 bit", [] { return HugePng(1, 0); }, IMAGE_FORMAT_PNG, kPngShort},
    {"JPEG colour", [] { return HugeJpeg(3); }, IMAGE_FORMAT_JPG, kErrMemoryBound},
    {"JPEG grey", [] { return HugeJpeg(1); }, IMAGE_FORMAT_JPG, kErrMemoryBound},
    // Past libjpeg's own limit: its text, before anything is allocated.
    {"JPEG 65535", [] { return HugeJpeg(3, 65535); }, IMAGE_FORMAT_JPG, nullptr},
    {"TIFF RGB", [] { return HugeTiff(3, 2); }, IMAGE_FORMAT_TIF, "ImageTIF can't create image"},
    {"TIFF grey", [] { return HugeTiff(1, 1); }, IMAGE_FORMAT_TIF, "ImageTIF can't create image"},
    {"TGA RGB", [] { return HugeTga(2, 24); }, IMAGE_FORMAT_TGA, kErrMemoryBound},
    {"TGA grey", [] { return HugeTga(3, 8); }, IMAGE_FORMAT_TGA, kErrMemoryBound},
    {"TGA RLE RGBA", [] { return HugeTga(10, 32); }, IMAGE_FORMAT_TGA, kErrMemoryBound},
    {"TGA RLE colour-mapped", [] { return HugeTga(9, 8, true); }, IMAGE_FORMAT_TGA, kErrMemoryBound},
    {"PCX RGB", [] { return HugePcx(8, 3); }, IMAGE_FORMAT_PCX, kErrMemoryBound},
    {"PCX RGBA", [] { return HugePcx(8, 4); }, IMAGE_FORMAT_PCX, kErrMemoryBound},
    {"PCX 8 bits", [] { return HugePcx(8, 1); }, IMAGE_FORMAT_PCX, kErrMemoryBound},
    // 1 bit fits the bound; the few bytes cannot hold the rows, which is found before allocating.
    {"PCX 1 bit", [] { return HugePcx(1, 1); }, IMAGE_FORMAT_PCX, "corrupted PCX"},
    // Within the bound, but a body far too small for the rows: refused before allocating too.
    {"TGA 4096 x 4096", [] { return HugeTga(2, 24, false, 4096); }, IMAGE_FORMAT_TGA, "corrupted TGA"},
};

TEST(HugeHeaders, FailWithTheMemoryTextBeforeAllocating) {
    for (const Bomb& bomb : kBombs) {
        SCOPED_TRACE(bomb.name);
        const Bytes bytes = bomb.bytes();
        ASSERT_LT(bytes.size(), 2048u);
        Image image;
        ASSERT_TRUE(image.Create(3, 2, 24, IMAGE_FORMAT_BMP));
        EXPECT_FALSE(image.Decode(bytes.data(), uint32_t(bytes.size()), bomb.format));
        // Codecs still being built into the library are not in the dispatch yet.
        if (std::strcmp(image.Info.LastError, kErrUnknownDecodeFormat) == 0) continue;
        if (bomb.text) {
            EXPECT_STREQ(image.Info.LastError, bomb.text);
        }
        EXPECT_FALSE(image.Decode(bytes.data(), uint32_t(bytes.size()), IMAGE_FORMAT_UNKNOWN));
        EXPECT_EQ(image.GetWidth(), 3u);
        EXPECT_EQ(image.GetHeight(), 2u);
        EXPECT_TRUE(image.IsValid());
    }
}

TEST(HugeHeaders, TheBoundRefusesWhatA32BitProgramCouldNeverHold) {
    // 24 bits are over the bound itself; 8 bits pass it (65535 x 65535 x 8 / 256 is 134 million)
    // but need 4 GB in one block.
    EXPECT_FALSE(FitsPixelMemoryBound(kHuge, kHuge, 24));
    EXPECT_FALSE(FitsPixelMemoryBound(kHuge, kHuge, 8));
    EXPECT_TRUE(FitsPixelMemoryBound(kHuge, kHuge, 1));  // 512 MB
    EXPECT_TRUE(FitsPixelMemoryBound(20000, 20000, 24));  // 1.2 GB
    EXPECT_FALSE(FitsPixelMemoryBound(0, 10, 24));
    Image image;
    EXPECT_EQ(image.Create(kHuge, kHuge, 8, IMAGE_FORMAT_GIF), nullptr);
    EXPECT_STREQ(image.Info.LastError, kErrMemoryBound);
}

}  // namespace
}  // namespace ruvelto::image::test
