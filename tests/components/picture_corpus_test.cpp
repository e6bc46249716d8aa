// Every JPEG, BMP, ICO, GIF and PCX file of the shared corpus through the picture decoder (under
// the sanitizers in the host build): no crash, no hang, no huge allocation; valid files of the
// variants the decoder reads give the size ImageMagick reports.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "components/picture_decoder.h"

#include "tests/corpus_manifest.h"

namespace ruvelto::components {
namespace {

using corpus::CorpusFile;
using corpus::CorpusFiles;
using corpus::CorpusPath;
using corpus::ReadFileBytes;

// ImageMagick's size of the first picture: the page (logical screen) for GIF, else the image.
bool ReferenceSize(const std::string& path, bool page, int* width, int* height) {
    const std::string command = std::string("identify -format '") + (page ? "%W %H" : "%w %h") + "' '" + path +
                                "[0]' 2>/dev/null";
    FILE* p = popen(command.c_str(), "r");
    if (!p) return false;
    const int got = fscanf(p, "%d %d", width, height);
    pclose(p);
    return got == 2;
}

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
    return at + 4 <= b.size() ? uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24
                              : 0;
}

// Valid files of variants the decoder leaves out on purpose, from their headers; empty when
// the decoder should read the file.
std::string RefusedVariant(const std::string& folder, const std::vector<uint8_t>& b) {
    if (PictureFormatOf(b.data(), b.size()) == kPictureNone) return "not this format's signature";
    if (folder == "ico" && U32(b, 14) < 40) return "the entry's size field is smaller than a bitmap header";
    if (folder == "bmp") {
        const uint32_t header = U32(b, 14);
        const uint16_t bits = b.size() > 29 ? uint16_t(b[28] | b[29] << 8) : 0;
        if (header < 40) return "OS/2 header";
        if (U32(b, 30) != 0) return "compressed (RLE or bit fields)";
        if (bits != 1 && bits != 4 && bits != 8 && bits != 24 && bits != 32) return "bit count " + std::to_string(bits);
    }
    if (folder == "pcx" && PictureFormatOf(b.data(), b.size()) == kPictureNone) return "PCX variant without a format code";
    if (folder == "pcx" && b.size() > 65 && b[3] == 8 && b[65] != 1 && b[65] != 3 && b[65] != 4) return "planes";
    if (folder == "pcx" && b.size() > 65 && b[3] == 1 && b[65] != 1) return "planes";
    if (folder == "jpeg" && b.size() > 2) {
        // 12-bit and lossless JPEG are beyond the 8-bit library.
        for (size_t i = 2; i + 4 < b.size(); ++i)
            if (b[i] == 0xFF && (b[i + 1] == 0xC3 || b[i + 1] == 0xC7 || b[i + 1] == 0xCB || b[i + 1] == 0xCF ||
                                 ((b[i + 1] == 0xC0 || b[i + 1] == 0xC1 || b[i + 1] == 0xC2) && b[i + 4] == 12)))
                return "12-bit or lossless";
    }
    return "";
}

void CheckFolder(const std::string& folder) {
    SetPictureByteLimitForTesting(uint64_t{256} << 20);
    const std::vector<CorpusFile> files = CorpusFiles(folder);
    ASSERT_FALSE(files.empty());
    int checked = 0;
    for (const CorpusFile& file : files) {
        const std::string path = CorpusPath(file.path);
        const std::vector<uint8_t> bytes = ReadFileBytes(path);
        if (folder == "ico") {
            IconImage image;
            const bool chosen = ChooseIconImage(bytes.data(), bytes.size(), 32, &image);
            if (file.expectation == "valid" && RefusedVariant(folder, bytes).empty()) {
                EXPECT_TRUE(chosen) << file.path;
                ++checked;
            }
            continue;
        }
        PicturePixels pixels;
        const bool decoded = DecodePicturePixels(bytes.data(), bytes.size(), &pixels);
        std::free(pixels.pixels);
        if (file.expectation != "valid") continue;
        const std::string refused = RefusedVariant(folder, bytes);
        if (!refused.empty()) continue;
        if (!decoded) {
            ADD_FAILURE() << file.path << ": a valid file did not decode";
            continue;
        }
        int width = 0, height = 0;
        if (!ReferenceSize(path, folder == "gif", &width, &height)) continue;
        EXPECT_EQ(pixels.width, width) << file.path;
        EXPECT_EQ(pixels.height, height) << file.path;
        ++checked;
    }
    EXPECT_GT(checked, 0) << "ImageMagick gave no reference sizes";
}

// The mean difference per channel from ImageMagick's decode; -1 when there is no reference.
double MeanDifference(const std::string& relative) {
    const std::string path = CorpusPath(relative);
    const std::vector<uint8_t> bytes = ReadFileBytes(path);
    PicturePixels pixels;
    if (!DecodePicturePixels(bytes.data(), bytes.size(), &pixels)) return 1e9;
    const size_t w = size_t(pixels.width), h = size_t(pixels.height);
    std::vector<uint8_t> reference(w * h * 3);
    FILE* p = popen(("convert '" + path + "' -depth 8 rgb:- 2>/dev/null").c_str(), "r");
    const size_t got = p ? fread(reference.data(), 1, reference.size(), p) : 0;
    if (p) pclose(p);
    double total = 0;
    for (size_t y = 0; y < h && got == reference.size(); ++y)
        for (size_t x = 0; x < w; ++x)
            for (size_t c = 0; c < 3; ++c)  // ours bottom-up B, G, R; ImageMagick's top-down R, G, B
                total += std::abs(int(pixels.pixels[((h - 1 - y) * w + x) * 3 + 2 - c]) - int(reference[(y * w + x) * 3 + c]));
    std::free(pixels.pixels);
    return got == reference.size() ? total / double(w * h * 3) : -1;
}

TEST(PictureCorpus, JpegColoursMatchImageMagick) {
    // Grey, colour, progressive, and CMYK with and without Adobe's inverted values: every pixel
    // is filled with the picture's real colours.
    for (const char* file : {"jpeg/pillow/hopper_gray.jpg", "jpeg/pillow/hopper.jpg",
                             "jpeg/jpeg-decoder/reftest/mozilla/jpg-progressive.jpg", "jpeg/pillow/pil_sample_cmyk.jpg",
                             "jpeg/gfxprim/100x100-cmyk-red.jpeg", "jpeg/twelvemonkeys/cmyk-sample.jpg"}) {
        const double difference = MeanDifference(file);
        if (difference < 0) continue;  // no reference here
        EXPECT_LT(difference, 3.0) << file;
    }
}

TEST(PictureCorpus, Jpeg) { CheckFolder("jpeg"); }
TEST(PictureCorpus, Bmp) { CheckFolder("bmp"); }
TEST(PictureCorpus, Gif) { CheckFolder("gif"); }
TEST(PictureCorpus, Pcx) { CheckFolder("pcx"); }
TEST(PictureCorpus, IcoEntries) { CheckFolder("ico"); }

}  // namespace
}  // namespace ruvelto::components
