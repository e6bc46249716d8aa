// Every BMP and ICO file of the shared corpus: valid files decode to the pixels ImageMagick
// decodes from them, invalid ones fail cleanly, questionable ones may go either way.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include "tests/image/test_files.h"

namespace ruvelto::image::test {
namespace {

struct CorpusFile {
    std::string path;
    std::string expectation;
};

std::vector<CorpusFile> CorpusFiles(const std::string& folder) {
    std::ifstream manifest(CorpusPath("MANIFEST.tsv"));
    std::vector<CorpusFile> files;
    std::string line;
    while (std::getline(manifest, line)) {
        std::vector<std::string> cols;
        std::stringstream row(line);
        std::string col;
        while (std::getline(row, col, '\t')) cols.push_back(col);
        if (cols.size() >= 5 && cols[0].rfind(folder + "/", 0) == 0) files.push_back({cols[0], cols[4]});
    }
    return files;
}

// Valid files this library refuses by design, with the reason.
const std::map<std::string, std::string> kRefusedValid = {
    {"ico/dotnet/256x256_one_entry_32bit.ico", "PNG image in the icon"},
    {"ico/dotnet/256x256_two_entries_multiple_bits.ico", "first entry 256 wide (size byte 0)"},
    {"ico/dotnet/415581.ico", "first entry 256 wide (size byte 0)"},
    {"ico/gfxprim/png_8x8.ico", "PNG image in the icon"},
    {"ico/image-rs/bmp_v5_with_icc.ico", "version 5 bitmap header inside the icon"},
    {"ico/image-rs/png-32bpp-alpha.ico", "PNG image in the icon"},
    {"ico/image-rs/png_l8.ico", "PNG image in the icon"},
    {"ico/image-rs/png_rgb8.ico", "PNG image in the icon"},
    {"ico/pillow/hopper_256x256.ico", "256 wide (size byte 0)"},
    {"ico/pillow/hopper_draw.ico", "PNG image in the icon"},
    {"ico/pillow/pillow.ico", "first entry is a 256-wide PNG"},
};

// Invalid files that still decode under this library's rules, with the reason.
const std::map<std::string, std::string> kAcceptedInvalid = {
    {"bmp/bmpsuite/b/badbitssize.bmp", "the image size field is not needed for uncompressed rows"},
    {"bmp/bmpsuite/b/baddens1.bmp", "the density only sets the DPI"},
    {"bmp/bmpsuite/b/baddens2.bmp", "the density only sets the DPI"},
    {"bmp/bmpsuite/b/badfilesize.bmp", "the file size field is not read"},
    {"bmp/bmpsuite/b/pal8badindex.bmp", "indices past the file's palette show black"},
    {"bmp/bmptestsuite/corrupt/8bpp-colorsimportant-large.bmp", "the important-colours field is not read"},
    {"bmp/bmptestsuite/corrupt/offbits-zero.bmp", "a zero pixel offset means the pixels follow the palette"},
    {"bmp/commons-imaging/SanselanTest.bmp", "only its file size field is wrong"},
    // A run past the row end ends the decode with the rows decoded so far.
    {"bmp/bmpsuite/b/badrle.bmp", "RLE run past the row end"},
    {"bmp/bmpsuite/b/badrlebis.bmp", "RLE run past the row end"},
    {"bmp/bmpsuite/b/badrleter.bmp", "RLE run past the row end"},
    {"bmp/bmpsuite/b/badrle4.bmp", "RLE run past the row end"},
    {"bmp/bmpsuite/b/badrle4bis.bmp", "RLE run past the row end"},
    {"bmp/bmpsuite/b/badrle4ter.bmp", "RLE run past the row end"},
    {"bmp/image-rs/Bad_unusual_extend_buffer_usage.bmp", "RLE run past the row end"},
    {"bmp/bmptestsuite/corrupt/rle4-no-end-of-line-marker.bmp", "RLE run past the row end"},
    {"bmp/bmptestsuite/corrupt/rle8-no-end-of-line-marker.bmp", "RLE run past the row end"},
    {"bmp/bmptestsuite/corrupt/rle8-deltaleavesimage.bmp", "the data ends after leaving the picture"},
    {"ico/image-rs/Bad_smile-incorrect-image-length.ico", "the entry's data size field is not read"},
    {"ico/commons-imaging/OutOfMemory_epine.ico", "the icon's own 35 x 40 bitmap is sound"},
};

// Valid files ImageMagick itself cannot decode here.
const std::map<std::string, std::string> kNoReference = {
    {"bmp/bmptestsuite/valid/rle8-64000x1.bmp", "ImageMagick's width limit"},
};

// ImageMagick's decode of the file's first image as R, G, B, A bytes, rows from the top.
bool Reference(const std::string& path, uint32_t* width, uint32_t* height, std::vector<uint8_t>* rgba) {
    const std::string quoted = "'" + path + "[0]'";
    FILE* p = popen(("identify -format '%w %h' " + quoted + " 2>/dev/null").c_str(), "r");
    if (!p) return false;
    const int got = fscanf(p, "%u %u", width, height);
    pclose(p);
    if (got != 2) return false;
    p = popen(("convert " + quoted + " -depth 8 rgba:- 2>/dev/null").c_str(), "r");
    if (!p) return false;
    rgba->assign(size_t(*width) * *height * 4, 0);
    const size_t read = fread(rgba->data(), 1, rgba->size(), p);
    pclose(p);
    return read == rgba->size();
}

uint16_t BmpBitCount(const std::vector<uint8_t>& bytes) {
    if (bytes.size() < 30) return 0;
    const uint32_t headerSize = bytes[14] | bytes[15] << 8;
    const size_t at = headerSize == 12 ? 24 : 28;
    return uint16_t(bytes[at] | bytes[at + 1] << 8);
}

bool Transparent(const Image& image, int32_t x, int32_t y) {
    if (image.Alpha) return image.AlphaGet(x, y) == 0;
    if (image.Info.TransIndex == -1) return false;
    if (image.Header.ClrUsed) return image.GetPixelIndex(x, y) == image.Info.TransIndex;
    const RgbQuad c = image.GetPixelColor(x, y, false);
    const RgbQuad t = image.Info.TransColor;
    return c.red == t.red && c.green == t.green && c.blue == t.blue;
}

// Compares the decoded picture with ImageMagick's; returns a description of the first difference.
std::string CompareWithReference(const std::string& path, const Image& image, bool isIcon) {
    uint32_t w = 0, h = 0;
    std::vector<uint8_t> ref;
    if (!Reference(path, &w, &h, &ref)) return "ImageMagick could not decode it";
    if (w != image.GetWidth() || h != image.GetHeight())
        return "size " + std::to_string(image.GetWidth()) + "x" + std::to_string(image.GetHeight()) +
               ", ImageMagick " + std::to_string(w) + "x" + std::to_string(h);
    // 16-bit channels are widened by shifting; ImageMagick also repeats the top bits below.
    const int tolerance = !isIcon && BmpBitCount(ReadFileBytes(path)) == 16 ? 15 : 0;
    for (uint32_t row = 0; row < h; ++row) {
        for (uint32_t x = 0; x < w; ++x) {
            const int32_t y = int32_t(h - 1 - row);
            const uint8_t* r = &ref[(size_t(row) * w + x) * 4];
            const RgbQuad c = image.GetPixelColor(int32_t(x), y, false);
            const std::string where = " at (" + std::to_string(x) + ", " + std::to_string(row) + ")";
            if (isIcon) {
                if ((r[3] == 0) != Transparent(image, int32_t(x), y)) return "transparency differs" + where;
                if (r[3] == 0) continue;
                if (image.Alpha && image.AlphaGet(int32_t(x), y) != r[3]) return "alpha differs" + where;
            }
            if (std::abs(c.red - r[0]) > tolerance || std::abs(c.green - r[1]) > tolerance ||
                std::abs(c.blue - r[2]) > tolerance) {
                char text[96];
                std::snprintf(text, sizeof text, "rgb %d,%d,%d, ImageMagick %d,%d,%d", c.red, c.green, c.blue,
                              r[0], r[1], r[2]);
                return text + where;
            }
        }
    }
    return "";
}

void CheckFolder(const std::string& folder, int32_t format) {
    const std::vector<CorpusFile> files = CorpusFiles(folder);
    ASSERT_FALSE(files.empty());
    for (const CorpusFile& file : files) {
        const std::string path = CorpusPath(file.path);
        Image image;
        const bool decoded = image.Load(ApiPath(path).c_str(), format);
        if (file.expectation == "valid") {
            if (kRefusedValid.count(file.path)) {
                if (decoded) ADD_FAILURE() << file.path << ": now decodes; drop it from the refused list";
            } else if (!decoded) {
                ADD_FAILURE() << file.path << ": valid file refused: " << image.Info.LastError;
            } else {
                const std::string difference = kNoReference.count(file.path)
                    ? "" : CompareWithReference(path, image, format == IMAGE_FORMAT_ICO);
                if (!difference.empty()) ADD_FAILURE() << file.path << ": " << difference;
            }
        } else if (file.expectation == "invalid" && decoded != (kAcceptedInvalid.count(file.path) == 1)) {
            ADD_FAILURE() << file.path << (decoded ? ": invalid file decoded" : ": no longer decodes");
        }
    }
}

TEST(ImageCorpus, BmpFiles) { CheckFolder("bmp", IMAGE_FORMAT_BMP); }

TEST(ImageCorpus, IcoFiles) { CheckFolder("ico", IMAGE_FORMAT_ICO); }

// Every file of the corpus, whatever its format, through the probing decode: no crash, hang or
// huge allocation; BMP, GIF and ICO files get the same verdict as when their format is named; formats
// this library has no codec for are refused with a reason.
TEST(ImageCorpus, EveryFileThroughTheProbe) {
    const std::map<std::string, int32_t> kDecodedFormats = {
        {"bmp", IMAGE_FORMAT_BMP}, {"gif", IMAGE_FORMAT_GIF}, {"ico", IMAGE_FORMAT_ICO}};
    const char* folders[] = {"bmp", "gif", "ico", "jp2", "jpeg", "pcx", "pgx", "png",
                             "pnm", "ras", "tga", "tiff", "wbmp", "wmf"};
    for (const char* folder : folders) {
        for (const CorpusFile& file : CorpusFiles(folder)) {
            const std::string path = ApiPath(CorpusPath(file.path));
            Image probed;
            const bool decoded = probed.Load(path.c_str(), IMAGE_FORMAT_UNKNOWN);
            const std::string name = folder;
            const auto namedFormat = kDecodedFormats.find(name);
            if (namedFormat != kDecodedFormats.end()) {
                Image named;
                const bool direct = named.Load(path.c_str(), namedFormat->second);
                EXPECT_EQ(decoded, direct) << file.path;
                if (decoded && direct) {
                    EXPECT_EQ(probed.GetWidth(), named.GetWidth()) << file.path;
                    EXPECT_EQ(probed.GetHeight(), named.GetHeight()) << file.path;
                }
            } else if (decoded) {
                ADD_FAILURE() << file.path << ": a " << name << " file decoded as format " << probed.Info.Type;
            } else {
                EXPECT_NE(probed.Info.LastError[0], '\0') << file.path;
            }
        }
    }
}

}  // namespace
}  // namespace ruvelto::image::test
