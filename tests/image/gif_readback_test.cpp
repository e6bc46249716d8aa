// Our GIF files as ImageMagick and libvips read them: the same pixels, exactly, for tiled 24-bit
// pictures and palette pictures, under each compression, with and without transparency.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "image/gif_codec.h"
#include "tests/image/gif_test_pictures.h"
#include "tests/image/test_files.h"

namespace ruvelto::image::test {
namespace {

// Runs a command and reads its whole standard output.
std::vector<uint8_t> Output(const std::string& command) {
    std::vector<uint8_t> out;
    FILE* p = popen((command + " 2>/dev/null").c_str(), "r");
    if (!p) return out;
    uint8_t chunk[65536];
    size_t n;
    while ((n = fread(chunk, 1, sizeof chunk, p)) > 0) out.insert(out.end(), chunk, chunk + n);
    pclose(p);
    return out;
}

// The picture as a viewer shows the last frame: R, G, B, A from the top row, alpha 0 where
// the picture is transparent.
std::vector<uint8_t> Expected(const Image& picture) {
    std::vector<uint8_t> rgba;
    const RgbQuad trans = picture.GetTransColor();
    for (int32_t y = int32_t(picture.GetHeight()) - 1; y >= 0; --y) {
        for (int32_t x = 0; x < int32_t(picture.GetWidth()); ++x) {
            const RgbQuad c = picture.GetPixelColor(x, y, false);
            bool transparent = false;
            if (picture.Info.TransIndex >= 0) {
                transparent = picture.Header.ClrUsed
                    ? picture.GetPixelIndex(x, y) == picture.Info.TransIndex
                    : c.red == trans.red && c.green == trans.green && c.blue == trans.blue;
            }
            rgba.insert(rgba.end(), {c.red, c.green, c.blue, uint8_t(transparent ? 0 : 255)});
        }
    }
    return rgba;
}

// Colours only where both call a pixel opaque; transparency must agree.
std::string Compare(const std::vector<uint8_t>& want, const std::vector<uint8_t>& got, const std::string& who) {
    if (got.size() != want.size()) return who + " gave " + std::to_string(got.size()) + " bytes";
    for (size_t i = 0; i < want.size(); i += 4) {
        const bool wantClear = want[i + 3] == 0, gotClear = got[i + 3] == 0;
        if (wantClear != gotClear) return who + ": transparency differs at pixel " + std::to_string(i / 4);
        if (!wantClear && (want[i] != got[i] || want[i + 1] != got[i + 1] || want[i + 2] != got[i + 2]))
            return who + ": colour differs at pixel " + std::to_string(i / 4);
    }
    return "";
}

std::vector<uint8_t> ImageMagickPixels(const std::string& path) {
    return Output("convert '" + path + "' -coalesce -delete 0--2 -depth 8 rgba:-");
}

std::vector<uint8_t> VipsPixels(const std::string& path) {
    const std::vector<uint8_t> pagesText = Output("vipsheader -f n-pages '" + path + "'");
    const int pages = std::atoi(std::string(pagesText.begin(), pagesText.end()).c_str());
    const std::string page = "'" + path + "[page=" + std::to_string(pages > 0 ? pages - 1 : 0) + "]'";
    const std::vector<uint8_t> bandsText = Output("vipsheader -f bands " + page);
    const int bands = std::atoi(std::string(bandsText.begin(), bandsText.end()).c_str());
    const std::string raw = ScratchDir() + "/vips.raw";
    if (bands < 3 || std::system(("vips rawsave " + page + " '" + raw + "' 2>/dev/null").c_str()) != 0) return {};
    const std::vector<uint8_t> bytes = ReadFileBytes(raw);
    std::vector<uint8_t> rgba;
    for (size_t i = 0; i + size_t(bands) <= bytes.size(); i += size_t(bands))
        rgba.insert(rgba.end(), {bytes[i], bytes[i + 1], bytes[i + 2], uint8_t(bands == 4 ? bytes[i + 3] : 255)});
    return rgba;
}

struct Case {
    const char* name;
    uint32_t bits, width, height;
    int32_t transIndex;  // for 24 bits: 0 makes colour 0x252525 transparent
};

TEST(GifReadBack, ImageMagickAndLibvipsSeeOurPixels) {
    const Case cases[] = {
        {"photo", 24, 40, 20, -1},       {"photo-odd", 24, 53, 47, -1}, {"photo-clear", 24, 30, 20, 0},
        {"one-bit", 1, 33, 9, -1},       {"four-bit", 4, 19, 21, -1},   {"noise", 8, 256, 256, -1},
        {"eight-bit-clear", 8, 20, 7, 3}, {"flat", 8, 400, 300, -1},
    };
    const char* compressions[] = {"lzw", "none", "rle"};
    for (const Case& c : cases) {
        for (int32_t option = 0; option <= kGifOptionRle; ++option) {
            Image picture;
            if (c.bits == 24) {
                MakeTrueColour(picture, c.width, c.height, c.width);
                if (c.transIndex >= 0) picture.SetTransColor(RgbQuad{0x25, 0x25, 0x25, 0});
            } else {
                MakePalettePicture(picture, c.width, c.height, c.bits, c.width);
                // One colour throughout: runs far longer than the code table.
                if (std::string(c.name) == "flat") picture.Clear(5);
            }
            picture.Info.TransIndex = c.transIndex;
            picture.Info.CodecOption[IMAGE_FORMAT_GIF] = option;
            const std::string path = ScratchDir() + "/" + c.name + "-" + compressions[option] + ".gif";
            ASSERT_TRUE(picture.Save(ApiPath(path).c_str(), IMAGE_FORMAT_GIF)) << path;
            const std::vector<uint8_t> want = Expected(picture);
            EXPECT_EQ(Compare(want, ImageMagickPixels(path), "ImageMagick"), "") << path;
            EXPECT_EQ(Compare(want, VipsPixels(path), "libvips"), "") << path;
        }
    }
}

}  // namespace
}  // namespace ruvelto::image::test
