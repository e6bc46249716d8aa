// Decompression bombs: headers that promise 65535 x 65535 pictures followed by a few bytes. Each
// decode fails with the memory text its codec reports for a failed Create, before the picture is
// allocated, both when the format is named and when the probe meets the file; the caller's
// picture stays.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

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

struct Bomb {
    const char* name;
    std::function<Bytes()> bytes;
    int32_t format;
    const char* text;  // LastError after the named-format decode
};

const Bomb kBombs[] = {
    {"BMP 24 bits", [] { return HugeBmp(24); }, IMAGE_FORMAT_BMP, "Can't allocate memory"},
    {"BMP 32 bits", [] { return HugeBmp(32); }, IMAGE_FORMAT_BMP, "Can't allocate memory"},
    {"BMP 8 bits", [] { return HugeBmp(8); }, IMAGE_FORMAT_BMP, "Can't allocate memory"},
    {"GIF 8 bits", [] { return HugeGif(8); }, IMAGE_FORMAT_GIF, kErrMemoryBound},
};

TEST(HugeHeaders, FailWithTheMemoryTextBeforeAllocating) {
    for (const Bomb& bomb : kBombs) {
        SCOPED_TRACE(bomb.name);
        const Bytes bytes = bomb.bytes();
        ASSERT_LT(bytes.size(), 2048u);
        Image image;
        ASSERT_TRUE(image.Create(3, 2, 24, IMAGE_FORMAT_BMP));
        EXPECT_FALSE(image.Decode(bytes.data(), uint32_t(bytes.size()), bomb.format));
        EXPECT_STREQ(image.Info.LastError, bomb.text);
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
