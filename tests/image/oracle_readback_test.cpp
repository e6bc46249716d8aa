// Our PNG and JPEG files as ImageMagick and libvips read them back: PNG pixels and alpha exactly
// as we hold them, JPEG at quality 90 close to its source.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "tests/image/test_files.h"

namespace ruvelto::image::test {
namespace {

struct Pixels {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint8_t> rgba;  // rows from the top
};

// A folder of this test's own: other image test programs may clear the shared scratch folder
// while this one runs.
std::string ReadbackDir() {
    static const std::string dir = [] {
        const std::string d = std::string(RUVELTO_BINARY_DIR) + "/test-scratch/image-readback";
        std::filesystem::remove_all(d);
        std::filesystem::create_directories(d);
        return d;
    }();
    return dir;
}

std::string Run(const std::string& command) {
    FILE* p = popen((command + " 2>/dev/null").c_str(), "r");
    if (!p) return "";
    std::string out;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, p)) > 0) out.append(buffer, n);
    pclose(p);
    return out;
}

bool ReadWithImageMagick(const std::string& path, Pixels* px) {
    if (std::sscanf(Run("identify -format '%w %h' '" + path + "'").c_str(), "%u %u", &px->width, &px->height) != 2) return false;
    const std::string raw = Run("convert '" + path + "' -depth 8 rgba:-");
    px->rgba.assign(raw.begin(), raw.end());
    return px->rgba.size() == size_t(px->width) * px->height * 4;
}

// libvips gives 1 (grey), 2 (grey, alpha), 3 (RGB) or 4 (RGBA) bands of bytes.
bool ReadWithVips(const std::string& path, Pixels* px) {
    const std::string raw = path + ".vips.raw";
    int bands = 0;
    if (std::sscanf(Run("vipsheader -f width '" + path + "'").c_str(), "%u", &px->width) != 1 ||
        std::sscanf(Run("vipsheader -f height '" + path + "'").c_str(), "%u", &px->height) != 1 ||
        std::sscanf(Run("vipsheader -f bands '" + path + "'").c_str(), "%d", &bands) != 1 || bands < 1 || bands > 4)
        return false;
    Run("vips rawsave '" + path + "' '" + raw + "'");
    const std::vector<uint8_t> bytes = ReadFileBytes(raw);
    const size_t n = size_t(px->width) * px->height;
    if (bytes.size() != n * size_t(bands)) return false;
    px->rgba.resize(n * 4);
    for (size_t i = 0; i < n; ++i) {
        const uint8_t* s = &bytes[i * size_t(bands)];
        uint8_t* d = &px->rgba[i * 4];
        d[0] = s[0];
        d[1] = bands >= 3 ? s[1] : s[0];
        d[2] = bands >= 3 ? s[2] : s[0];
        d[3] = bands == 2 ? s[1] : bands == 4 ? s[3] : 255;
    }
    return true;
}

// Our picture as RGBA, transparency taken from wherever the picture keeps it.
Pixels Ours(const Image& image) {
    Pixels px{image.GetWidth(), image.GetHeight(), {}};
    for (int32_t y = int32_t(px.height) - 1; y >= 0; --y) {
        for (int32_t x = 0; x < int32_t(px.width); ++x) {
            const RgbQuad c = image.GetPixelColor(x, y, false);
            uint8_t a = 255;
            if (image.Alpha) a = image.AlphaGet(x, y);
            else if (image.Header.ClrUsed && image.Info.AlphaPaletteEnabled) a = image.GetPaletteColor(image.GetPixelIndex(x, y)).reserved;
            else if (image.Header.ClrUsed && image.Info.TransIndex != -1 && image.GetPixelIndex(x, y) == image.Info.TransIndex) a = 0;
            px.rgba.insert(px.rgba.end(), {c.red, c.green, c.blue, a});
        }
    }
    return px;
}

std::string FirstDifference(const Pixels& ours, const Pixels& theirs) {
    if (ours.width != theirs.width || ours.height != theirs.height) return "size differs";
    for (size_t i = 0; i < ours.rgba.size(); i += 4) {
        const bool bothClear = ours.rgba[i + 3] == 0 && theirs.rgba[i + 3] == 0;
        for (size_t c = bothClear ? 3 : 0; c < 4; ++c) {
            if (ours.rgba[i + c] != theirs.rgba[i + c])
                return "pixel " + std::to_string(i / 4) + " channel " + std::to_string(c) + ": " +
                       std::to_string(ours.rgba[i + c]) + " against " + std::to_string(theirs.rgba[i + c]);
        }
    }
    return "";
}

double RgbPsnr(const Pixels& a, const Pixels& b) {
    double sum = 0;
    size_t n = 0;
    for (size_t i = 0; i < a.rgba.size() && i < b.rgba.size(); ++i) {
        if (i % 4 == 3) continue;
        const double d = double(a.rgba[i]) - double(b.rgba[i]);
        sum += d * d;
        ++n;
    }
    return sum == 0 ? 99.0 : 10 * std::log10(255.0 * 255.0 * double(n) / sum);
}

// Pictures of every layout the PNG encoder writes: palette with and without transparency, grey
// of 1, 4 and 8 bits, RGB (interlaced), RGBA, and a photograph.
const char* const kSources[] = {
    "png/pngsuite/basn3p08.png", "png/pngsuite/tbbn3p08.png", "png/pngsuite/tm3n3p02.png",
    "png/pngsuite/basn0g01.png", "png/pngsuite/basn0g04.png", "png/pngsuite/basn0g08.png",
    "png/pngsuite/basi2c08.png", "png/pngsuite/basn6a08.png", "jpeg/libjpeg-turbo/testorig.jpg",
};

TEST(OracleReadback, PngFilesReadBackExactly) {
    for (const char* source : kSources) {
        Image image;
        ASSERT_TRUE(image.Load(ApiPath(CorpusPath(source)).c_str(), 0)) << source;
        const std::string out = ReadbackDir() + "/" + std::string(std::strrchr(source, '/') + 1) + ".out.png";
        ASSERT_TRUE(image.Save(ApiPath(out).c_str(), IMAGE_FORMAT_PNG)) << source;
        const Pixels ours = Ours(image);
        Pixels magick, vips;
        ASSERT_TRUE(ReadWithImageMagick(out, &magick)) << source;
        EXPECT_EQ(FirstDifference(ours, magick), "") << source << " through ImageMagick";
        ASSERT_TRUE(ReadWithVips(out, &vips)) << source;
        EXPECT_EQ(FirstDifference(ours, vips), "") << source << " through libvips";
    }
}

// Quality 90 keeps a photograph above 30 dB (typically 35-45 dB with 4:2:0 chroma); wrong
// quantisation tables, channel order or row order fall far below that. ImageMagick's and libvips'
// decodes of our file also agree with ours above 40 dB, the margin between two conforming
// inverse DCTs.
constexpr double kQuality90Psnr = 30.0;
constexpr double kDecoderPsnr = 40.0;

TEST(OracleReadback, JpegFilesAtQuality90StayCloseToTheirSource) {
    for (const char* source : {"jpeg/libjpeg-turbo/testorig.jpg", "png/pillow/hopper.png", "png/pngsuite/basn0g08.png"}) {
        Image image;
        ASSERT_TRUE(image.Load(ApiPath(CorpusPath(source)).c_str(), 0)) << source;
        ASSERT_EQ(image.Info.JpegQuality, 90);
        const std::string out = ReadbackDir() + "/" + std::string(std::strrchr(source, '/') + 1) + ".out.jpg";
        ASSERT_TRUE(image.Save(ApiPath(out).c_str(), IMAGE_FORMAT_JPG)) << source;
        Image back;
        ASSERT_TRUE(back.Load(ApiPath(out).c_str(), IMAGE_FORMAT_JPG)) << source;
        const Pixels original = Ours(image), ours = Ours(back);
        Pixels magick, vips;
        ASSERT_TRUE(ReadWithImageMagick(out, &magick)) << source;
        ASSERT_TRUE(ReadWithVips(out, &vips)) << source;
        for (const Pixels* read : {&magick, &vips}) {
            ASSERT_EQ(read->width, original.width) << source;
            ASSERT_EQ(read->height, original.height) << source;
            EXPECT_GE(RgbPsnr(original, *read), kQuality90Psnr) << source;
            EXPECT_GE(RgbPsnr(ours, *read), kDecoderPsnr) << source;
        }
        if (std::getenv("RUVELTO_PRINT_PSNR"))
            std::printf("%s: %.2f dB (ImageMagick), %.2f dB (libvips)\n", source, RgbPsnr(original, magick), RgbPsnr(original, vips));
    }
}

}  // namespace
}  // namespace ruvelto::image::test
