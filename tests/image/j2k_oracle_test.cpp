// The JPEG-2000 family against ImageMagick: every JP2/J2K, PGX, PNM and Sun raster file of the
// shared corpus decodes to ImageMagick's pixels (valid) or fails cleanly (invalid), and
// ImageMagick reads our own JP2, JPC, PGX, PNM and Sun raster files back to the pixels written.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>

#include "tests/corpus_manifest.h"
#include "tests/image/test_files.h"

namespace ruvelto::image::test {
namespace {

using corpus::CorpusFile;
using corpus::CorpusFiles;

// Valid files refused here, with the reason.
const std::map<std::string, std::string> kRefusedValid = {
    {"jp2/conformance/p0_13.j2k", "257 components: more than 64 are refused"},
    {"jp2/openjpeg-nonregression/issue559-eci-091-CIELab.jp2", "CIELab colours: \"cannot convert to sRGB\""},
};

// Invalid files that still decode here, with the reason.
const std::map<std::string, std::string> kAcceptedInvalid = {
    {"jp2/openjpeg-nonregression/4241ac039aba57e6a9c948d519d94216_asan_heap-oob_14650f2_7469_602.jp2",
     "OpenJPEG 2.5 reads it as a sound 120 x 120 picture, as ImageMagick does"},
    {"jp2/pillow/invalid_header_length.jp2", "OpenJPEG 2.5 passes over the box length; the codestream is sound"},
};

// Valid files whose pixels ImageMagick gives differently, with the reason; they must decode.
const char kImageMagickFails[] = "ImageMagick cannot decode it";
const char kSubsampled[] = "the component is subsampled on the reference grid; ImageMagick divides its size again";
const char kSigned[] = "signed samples: ImageMagick reads them as unsigned, we move them up by half the range";
const std::map<std::string, std::string> kNoReference = {
    {"jp2/conformance/b1_mono.j2c", kImageMagickFails},
    {"jp2/conformance/p1_01.j2k", kImageMagickFails},
    {"jp2/conformance/p1_07.j2k", kImageMagickFails},
    {"jp2/openjpeg-nonregression/issue458.jp2", kImageMagickFails},
    {"jp2/openjpeg-nonregression/issue726.j2k", kImageMagickFails},
    {"jp2/openjpeg-nonregression/issue979.j2k", kImageMagickFails},
    {"jp2/conformance/e1_colr.j2c", "the picture starts at (1, 1) on the reference grid; ImageMagick cuts a row and a column"},
    {"jp2/conformance/p0_02.j2k", kSubsampled},
    {"jp2/conformance/p0_10.j2k", kSubsampled},
    {"jp2/pillow/00r0_gray_l.jp2", kSubsampled},
    {"jp2/conformance/p0_06.j2k", "four components on four grids: the first is taken as grey"},
    {"jp2/openjpeg-nonregression/issue142.j2k", "ImageMagick shows luma and subsampled chroma as red, green and blue"},
    {"jp2/openjpeg-nonregression/issue205.jp2", "ImageMagick shows cyan, magenta and yellow as red, green and blue"},
    {"pgx/conformance/c0p0_03r0.pgx", kSigned},
    {"pgx/conformance/c0p0_03r1.pgx", kSigned},
    {"pgx/conformance/c0p0_07.pgx", kSigned},
    {"pgx/conformance/c0p0_08.pgx", kSigned},
    {"pgx/conformance/c0p0_15r0.pgx", kSigned},
    {"pgx/conformance/c0p0_15r1.pgx", kSigned},
    {"ras/zigimg/sample-24bit-bgr-rle.ras", "ImageMagick takes run-length colour as red, green, blue; see the twin test"},
};

// The first difference between our picture and ImageMagick's, or "".
std::string Difference(const std::string& path, const Image& image, int tolerance) {
    uint32_t w = 0, h = 0;
    std::vector<uint8_t> ref;
    if (!Reference(path, &w, &h, &ref)) return "ImageMagick could not decode it";
    if (w != image.GetWidth() || h != image.GetHeight())
        return "size " + std::to_string(image.GetWidth()) + "x" + std::to_string(image.GetHeight()) +
               ", ImageMagick " + std::to_string(w) + "x" + std::to_string(h);
    for (uint32_t row = 0; row < h; ++row) {
        for (uint32_t x = 0; x < w; ++x) {
            const uint8_t* r = &ref[(size_t(row) * w + x) * 4];
            const RgbQuad c = image.GetPixelColor(int32_t(x), int32_t(h - 1 - row), false);
            if (std::abs(c.red - r[0]) > tolerance || std::abs(c.green - r[1]) > tolerance ||
                std::abs(c.blue - r[2]) > tolerance) {
                char text[128];
                std::snprintf(text, sizeof text, "rgb %d,%d,%d, ImageMagick %d,%d,%d at (%u, %u)", c.red, c.green,
                              c.blue, r[0], r[1], r[2], x, row);
                return text;
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
                EXPECT_FALSE(decoded) << file.path << ": now decodes; drop it from the refused list";
            } else if (!decoded) {
                ADD_FAILURE() << file.path << ": valid file refused: " << image.Info.LastError;
            } else if (!kNoReference.count(file.path)) {
                // Samples of other precisions are rescaled, and ImageMagick rounds them through
                // 16 bits; OpenJPEG's 32-bit build runs the irreversible wavelet in x87 floating
                // point and lands up to 2 away from ImageMagick's 64-bit one.
                const std::string difference = Difference(path, image, 2);
                if (!difference.empty()) ADD_FAILURE() << file.path << ": " << difference;
            }
        } else if (file.expectation == "invalid" && decoded != (kAcceptedInvalid.count(file.path) == 1)) {
            ADD_FAILURE() << file.path << (decoded ? ": invalid file decoded" : ": no longer decodes");
        }
        if (!decoded) {
            EXPECT_NE(image.Info.LastError[0], '\0') << file.path;
        }
    }
}

TEST(J2kCorpus, Jp2AndCodestreamFiles) { CheckFolder("jp2", IMAGE_FORMAT_JP2); }
TEST(J2kCorpus, PgxFiles) { CheckFolder("pgx", IMAGE_FORMAT_PGX); }
TEST(J2kCorpus, PnmFiles) { CheckFolder("pnm", IMAGE_FORMAT_PNM); }
TEST(J2kCorpus, SunRasterFiles) { CheckFolder("ras", IMAGE_FORMAT_RAS); }

std::vector<uint8_t> Decoded(const std::string& relative, int32_t format, int32_t frame = 0) {
    Image image;
    image.Info.Frame = frame;
    EXPECT_TRUE(image.Load(ApiPath(CorpusPath(relative)).c_str(), format)) << relative << ": " << image.Info.LastError;
    return TopDownRgb(image);
}

// Where ImageMagick is no oracle, files of the corpus are each other's: the conformance
// codestreams against their reference decodes (component 0, full resolution, in PGX), and the
// run-length Sun raster against its RGB-type twin.
TEST(J2kCorpus, FilesAgreeWithTheirTwins) {
    struct Reference {
        const char* codestream;
        const char* pgx;
        int peakError;  // what the conformance suite allows the decoder
    };
    const Reference references[] = {
        {"jp2/conformance/p0_01.j2k", "pgx/conformance/c1p0_01_0.pgx", 0},
        {"jp2/conformance/p0_02.j2k", "pgx/conformance/c1p0_02_0.pgx", 0},
        {"jp2/conformance/p0_09.j2k", "pgx/conformance/c1p0_09_0.pgx", 0},
        {"jp2/conformance/p0_14.j2k", "pgx/conformance/c1p0_14_0.pgx", 0},
        {"jp2/conformance/p1_06.j2k", "pgx/conformance/c1p1_06_0.pgx", 1},
    };
    for (const Reference& r : references) {
        const std::vector<uint8_t> ours = Decoded(r.codestream, IMAGE_FORMAT_JPC);
        const std::vector<uint8_t> grey = Decoded(r.pgx, IMAGE_FORMAT_PGX);
        ASSERT_EQ(ours.size(), grey.size()) << r.codestream;
        int peak = 0;
        // The first component is red in colour pictures; grey pictures repeat it.
        for (size_t i = 0; i < ours.size(); i += 3) peak = std::max(peak, std::abs(ours[i] - grey[i]));
        EXPECT_LE(peak, r.peakError) << r.codestream;
    }
    EXPECT_TRUE(Decoded("ras/zigimg/sample-24bit-bgr-rle.ras", IMAGE_FORMAT_RAS) ==
                Decoded("ras/zigimg/sample-rgb24.ras", IMAGE_FORMAT_RAS));
}

// A picture with smooth areas, edges and every grey level, in colour or grey.
void Paint(Image& image, bool grey) {
    const uint32_t w = 61, h = 47;
    ASSERT_TRUE(image.Create(w, h, grey ? 8 : 24, 0));
    if (grey) image.SetGrayPalette();
    for (uint32_t y = 0; y < h; ++y) {
        for (uint32_t x = 0; x < w; ++x) {
            const uint8_t v = uint8_t((x * 4 + y * 3) ^ (x > 30 ? 0xA5 : 0));
            if (grey) image.SetPixelIndex(int32_t(x), int32_t(y), uint8_t(x + y * w));
            else image.SetPixelColor(int32_t(x), int32_t(y), RgbQuad{v, uint8_t(y * 5), uint8_t(255 - x * 4), 0});
        }
    }
}

TEST(J2kReadBack, ImageMagickReadsOurFilesToTheSamePixels) {
    struct Output {
        int32_t format;
        const char* extension;
        bool colour;
    };
    const Output outputs[] = {
        {IMAGE_FORMAT_JP2, "jp2", true}, {IMAGE_FORMAT_JPC, "j2k", true}, {IMAGE_FORMAT_PNM, "pnm", true},
        {IMAGE_FORMAT_RAS, "ras", true}, {IMAGE_FORMAT_PGX, "pgx", false},
    };
    for (const bool grey : {false, true}) {
        Image picture;
        Paint(picture, grey);
        picture.Info.JpegQuality = 100;  // lossless
        for (const Output& o : outputs) {
            if (grey == o.colour && !grey) continue;
            if (!grey && !o.colour) continue;
            const std::string path = ScratchDir() + "/readback-" + (grey ? "grey." : "colour.") + o.extension;
            ASSERT_TRUE(picture.Save(ApiPath(path).c_str(), o.format)) << path << ": " << picture.Info.LastError;
            EXPECT_EQ(Difference(path, picture, 0), "") << path;
        }
    }
}

}  // namespace
}  // namespace ruvelto::image::test
