// Every TIFF, TGA, PCX, WBMP and WMF/EMF file of the shared corpus: valid files decode to the
// pixels ImageMagick decodes from them, invalid ones fail cleanly, questionable ones may go either
// way but never crash.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>

#include "image/codec.h"
#include "image/wmf_codec.h"
#include "tests/corpus_manifest.h"
#include "tests/image/test_files.h"

namespace ruvelto::image::test {
namespace {

using corpus::CorpusFile;
using corpus::CorpusFiles;

// Files whose verdict differs from their expectation, with the reason: valid files refused
// (rare variants end in a clean "unsupported" error) and invalid files that still decode.
const std::map<std::string, std::string> kExceptions = {
    {"tiff/commons-imaging/clusterfuzz-testcase-minimized-ImagingTiffFuzzer-5965016805539840.tiff",
     "libtiff reads its one directory as a sound 16 x 15 palette picture"},
    // TIFF variants libtiff's RGBA conversion does not take end in its "can not handle" message.
    {"tiff/image-tiff/12bit.cropped.rgb.tiff", "12-bit samples"},
    {"tiff/image-tiff/12bit.cropped.tiff", "12-bit samples"},
    {"tiff/image-tiff/cmyk-3c-32b-float.tiff", "signed, floating-point, LogLuv or separate grey-and-alpha samples"},
    {"tiff/image-tiff/gradient-1c-32b-float.tiff", "signed, floating-point, LogLuv or separate grey-and-alpha samples"},
    {"tiff/image-tiff/gradient-1c-32b.tiff", "32-bit samples"},
    {"tiff/image-tiff/gradient-1c-64b-float.tiff", "signed, floating-point, LogLuv or separate grey-and-alpha samples"},
    {"tiff/image-tiff/gradient-1c-64b.tiff", "64-bit samples"},
    {"tiff/image-tiff/gradient-3c-32b-float.tiff", "signed, floating-point, LogLuv or separate grey-and-alpha samples"},
    {"tiff/image-tiff/gradient-3c-32b.tiff", "32-bit samples"},
    {"tiff/image-tiff/gradient-3c-64b.tiff", "64-bit samples"},
    {"tiff/image-tiff/hpredict-1c-12b.tiff", "12-bit samples"},
    {"tiff/image-tiff/int16.tif", "signed, floating-point, LogLuv or separate grey-and-alpha samples"},
    {"tiff/image-tiff/int16_rgb.tif", "signed, floating-point, LogLuv or separate grey-and-alpha samples"},
    {"tiff/image-tiff/int16_zstd.tif", "signed, floating-point, LogLuv or separate grey-and-alpha samples"},
    {"tiff/image-tiff/int8.tif", "signed, floating-point, LogLuv or separate grey-and-alpha samples"},
    {"tiff/image-tiff/int8_rgb.tif", "signed, floating-point, LogLuv or separate grey-and-alpha samples"},
    {"tiff/image-tiff/logluv-3c-16b.tiff", "signed, floating-point, LogLuv or separate grey-and-alpha samples"},
    {"tiff/image-tiff/minisblack-1c-3b.tiff", "3-bit samples"},
    {"tiff/image-tiff/minisblack-1c-5b.tiff", "5-bit samples"},
    {"tiff/image-tiff/minisblack-1c-7b.tiff", "7-bit samples"},
    {"tiff/image-tiff/minisblack-1c-i16b.tiff", "signed, floating-point, LogLuv or separate grey-and-alpha samples"},
    {"tiff/image-tiff/minisblack-1c-i8b.tiff", "signed, floating-point, LogLuv or separate grey-and-alpha samples"},
    {"tiff/image-tiff/minisblack-2c-8b-alpha.tiff", "signed, floating-point, LogLuv or separate grey-and-alpha samples"},
    {"tiff/image-tiff/miniswhite-1c-12b.tiff", "12-bit samples"},
    {"tiff/image-tiff/miniswhite-1c-3b.tiff", "3-bit samples"},
    {"tiff/image-tiff/miniswhite-1c-6b.tiff", "6-bit samples"},
    {"tiff/image-tiff/predictor-3-gray-f32.tif", "signed, floating-point, LogLuv or separate grey-and-alpha samples"},
    {"tiff/image-tiff/predictor-3-rgb-f32.tif", "signed, floating-point, LogLuv or separate grey-and-alpha samples"},
    {"tiff/image-tiff/random-fp16-pred2.tiff", "signed, floating-point, LogLuv or separate grey-and-alpha samples"},
    {"tiff/image-tiff/random-fp16-pred3.tiff", "signed, floating-point, LogLuv or separate grey-and-alpha samples"},
    {"tiff/image-tiff/random-fp16.tiff", "signed, floating-point, LogLuv or separate grey-and-alpha samples"},
    {"tiff/image-tiff/seq/seq-1c-12b-47c39b31.tiff", "12-bit samples"},
    {"tiff/image-tiff/seq/seq-1c-32f-deflate-fpredict-390fe673.tiff", "signed, floating-point, LogLuv or separate grey-and-alpha samples"},
    {"tiff/image-tiff/seq/seq-1c-64f-deflate-fpredict-afa8560e.tiff", "signed, floating-point, LogLuv or separate grey-and-alpha samples"},
    {"tiff/image-tiff/seq/seq-1c-7b-9c61ba70.tiff", "7-bit samples"},
    {"tiff/image-tiff/seq/seq-1c-i16-63af2488.tiff", "signed, floating-point, LogLuv or separate grey-and-alpha samples"},
    {"tiff/image-tiff/seq/seq-1c-i32-99fddec2.tiff", "signed, floating-point, LogLuv or separate grey-and-alpha samples"},
    {"tiff/image-tiff/seq/seq-1c-i8-f8446bbe.tiff", "signed, floating-point, LogLuv or separate grey-and-alpha samples"},
    {"tiff/image-tiff/seq/seq-3c-12b-contig-e6f40b4a.tiff", "12-bit samples"},
    {"tiff/image-tiff/seq/seq-3c-12b-planar-e29e8e25.tiff", "12-bit samples"},
    {"tiff/image-tiff/seq/seq-3c-24b-contig-27b9f8ce.tiff", "24-bit samples"},
    {"tiff/image-tiff/seq/seq-3c-24b-planar-6296c0c9.tiff", "24-bit samples"},
    {"tiff/image-tiff/seq/seq-3c-32f-9a471c2b.tiff", "signed, floating-point, LogLuv or separate grey-and-alpha samples"},
    {"tiff/image-tiff/seq/seq-3c-5b-contig-09f197f4.tiff", "5-bit samples"},
    {"tiff/image-tiff/seq/seq-3c-64f-9fff098a.tiff", "signed, floating-point, LogLuv or separate grey-and-alpha samples"},
    {"tiff/image-tiff/seq/seq-3c-7b-contig-2e4f43c5.tiff", "7-bit samples"},
    {"tiff/image-tiff/seq/seq-3c-8b-tiled-8743c999.tiff", "libtiff: stream: Invalid tile byte count for tile 0. Expected 768, got 1024"},
    {"tiff/image-tiff/seq/seq-4c-16b-cmyk-c6e52592.tiff", "sample layout libtiff's RGBA conversion does not take"},
    {"tiff/image-tiff/single-black-fp16.tiff", "signed, floating-point, LogLuv or separate grey-and-alpha samples"},
    {"tiff/image-tiff/tiled-oversize-gray-i8.tif", "signed, floating-point, LogLuv or separate grey-and-alpha samples"},
    {"tiff/image-tiff/white-fp16-pred2.tiff", "signed, floating-point, LogLuv or separate grey-and-alpha samples"},
    {"tiff/image-tiff/white-fp16-pred3.tiff", "signed, floating-point, LogLuv or separate grey-and-alpha samples"},
    {"tiff/image-tiff/white-fp16.tiff", "signed, floating-point, LogLuv or separate grey-and-alpha samples"},
    {"tiff/libtiffpic/depth/flower-minisblack-06.tif", "6-bit samples"},
    {"tiff/libtiffpic/depth/flower-minisblack-10.tif", "10-bit samples"},
    {"tiff/libtiffpic/depth/flower-minisblack-12.tif", "12-bit samples"},
    {"tiff/libtiffpic/depth/flower-minisblack-14.tif", "14-bit samples"},
    {"tiff/libtiffpic/depth/flower-minisblack-24.tif", "24-bit samples"},
    {"tiff/libtiffpic/depth/flower-minisblack-32.tif", "32-bit samples"},
    {"tiff/libtiffpic/depth/flower-rgb-contig-02.tif", "sample layout libtiff's RGBA conversion does not take"},
    {"tiff/libtiffpic/depth/flower-rgb-contig-04.tif", "sample layout libtiff's RGBA conversion does not take"},
    {"tiff/libtiffpic/depth/flower-rgb-contig-10.tif", "10-bit samples"},
    {"tiff/libtiffpic/depth/flower-rgb-contig-12.tif", "12-bit samples"},
    {"tiff/libtiffpic/depth/flower-rgb-contig-14.tif", "14-bit samples"},
    {"tiff/libtiffpic/depth/flower-rgb-contig-24.tif", "24-bit samples"},
    {"tiff/libtiffpic/depth/flower-rgb-contig-32.tif", "32-bit samples"},
    {"tiff/libtiffpic/depth/flower-rgb-planar-02.tif", "sample layout libtiff's RGBA conversion does not take"},
    {"tiff/libtiffpic/depth/flower-rgb-planar-04.tif", "sample layout libtiff's RGBA conversion does not take"},
    {"tiff/libtiffpic/depth/flower-rgb-planar-10.tif", "10-bit samples"},
    {"tiff/libtiffpic/depth/flower-rgb-planar-12.tif", "12-bit samples"},
    {"tiff/libtiffpic/depth/flower-rgb-planar-14.tif", "14-bit samples"},
    {"tiff/libtiffpic/depth/flower-rgb-planar-24.tif", "24-bit samples"},
    {"tiff/libtiffpic/depth/flower-rgb-planar-32.tif", "32-bit samples"},
    {"tiff/libtiffpic/depth/flower-separated-contig-16.tif", "sample layout libtiff's RGBA conversion does not take"},
    {"tiff/libtiffpic/depth/flower-separated-planar-16.tif", "sample layout libtiff's RGBA conversion does not take"},
    {"tiff/libtiffpic/off_l16.tif", "signed, floating-point, LogLuv or separate grey-and-alpha samples"},
    {"tiff/libtiffpic/off_luv32.tif", "signed, floating-point, LogLuv or separate grey-and-alpha samples"},
    {"tiff/libtiffpic/text.tif", "libtiff: Corrupted TIFF file!"},
    {"tiff/libgd-conformance/edge-cases/geo-5b.tif", "signed, floating-point, LogLuv or separate grey-and-alpha samples"},
    {"tiff/libgd-conformance/valid/test_float64_predictor2_be_lzw.tif", "signed, floating-point, LogLuv or separate grey-and-alpha samples"},
    {"tiff/libgd-conformance/valid/test_float64_predictor2_le_lzw.tif", "signed, floating-point, LogLuv or separate grey-and-alpha samples"},
    {"tiff/libgd-conformance/valid/testfax3_bug54_1dnoEOL.tif", "libtiff: Corrupted TIFF file!"},
    {"tiff/pillow/12bit.cropped.tif", "12-bit samples"},
    {"tiff/pillow/16bit.s.tif", "signed, floating-point, LogLuv or separate grey-and-alpha samples"},
    {"tiff/pillow/8bit.s.tif", "signed, floating-point, LogLuv or separate grey-and-alpha samples"},
    {"tiff/pillow/10ct_32bit_128.tiff", "signed, floating-point, LogLuv or separate grey-and-alpha samples"},
    {"tiff/twelvemonkeys/lzw-rgba-4444.tif", "sample layout libtiff's RGBA conversion does not take"},
    {"tiff/twelvemonkeys/part.tif", "signed, floating-point, LogLuv or separate grey-and-alpha samples"},
    {"tiff/twelvemonkeys/planar-yuv410-jpeg-lzw.tif", "sample layout libtiff's RGBA conversion does not take"},
    {"tiff/twelvemonkeys/planar-yuv420-jpeg-lzw.tif", "sample layout libtiff's RGBA conversion does not take"},
    {"tiff/twelvemonkeys/planar-yuv422-bt601-lzw.tif", "sample layout libtiff's RGBA conversion does not take"},
    {"tiff/twelvemonkeys/shapes_lzw_predictor3.tif", "signed, floating-point, LogLuv or separate grey-and-alpha samples"},
    {"tiff/openjpeg-data/flower-minisblack-03.tif", "3-bit samples"},
    {"tiff/openjpeg-data/flower-minisblack-05.tif", "5-bit samples"},
    {"tiff/openjpeg-data/flower-minisblack-07.tif", "7-bit samples"},
    {"tiff/openjpeg-data/flower-minisblack-09.tif", "9-bit samples"},
    {"tiff/openjpeg-data/flower-minisblack-11.tif", "11-bit samples"},
    {"tiff/openjpeg-data/flower-minisblack-13.tif", "13-bit samples"},
    {"tiff/openjpeg-data/flower-minisblack-15.tif", "15-bit samples"},
    {"tga/libgd/bug00248.tga", "its two packets fill the 199 x 1 picture exactly; only libgd's old reader failed on it"},
};

// Valid files whose pixels ImageMagick does not give as a reference here, with the reason.
const std::map<std::string, std::string> kNoReference = {
    {"tiff/image-tiff/cmyk-4c-8b.tiff", "CMYK with alpha: libtiff's conversion keeps the inks, not the alpha"},
    {"tiff/libgd-conformance/valid/hpredict_cmyk.tiff", "CMYK with alpha: libtiff's conversion keeps the inks, not the alpha"},
    {"tiff/image-tiff/extra_bits_gray_8b.tiff", "an extra sample of unspecified meaning is not alpha here"},
    {"tiff/pillow/hopper.Lab.tif", "CIELab to sRGB: libtiff's white point is not ImageMagick's"},
    {"tiff/pillow/lab.tif", "CIELab to sRGB: libtiff's white point is not ImageMagick's"},
    {"tga/truevision/b5-unused-cmap.tga", "ImageMagick applies the unused colour map to true-colour pixels"},
    // Grey with 8 alpha bits is grey then alpha per pixel; ImageMagick reads 16-bit grey words.
    {"tga/pillow-common/200x32_la_bl_raw.tga", "ImageMagick reads grey-with-alpha as 16-bit grey"},
    {"tga/pillow-common/200x32_la_bl_rle.tga", "ImageMagick reads grey-with-alpha as 16-bit grey"},
    {"tga/pillow-common/200x32_la_tl_raw.tga", "ImageMagick reads grey-with-alpha as 16-bit grey"},
    {"tga/pillow-common/200x32_la_tl_rle.tga", "ImageMagick reads grey-with-alpha as 16-bit grey"},
    {"tga/pillow/la.tga", "ImageMagick reads grey-with-alpha as 16-bit grey"},
    {"tga/twelvemonkeys/monochrome16_top_left.tga", "ImageMagick reads grey-with-alpha as 16-bit grey"},
    {"tga/twelvemonkeys/monochrome16_top_left_rle.tga", "ImageMagick reads grey-with-alpha as 16-bit grey"},
};

// 15/16-bit TGA pixels keep their colour only: the top bit is not made alpha.
bool IgnoresReferenceAlpha(const std::string& folder, const std::vector<uint8_t>& bytes) {
    return folder == "tga" && bytes.size() > 17 && (bytes[16] == 15 || bytes[16] == 16) && (bytes[2] & 3) == 2;
}

// A reference decode of the file's first image, upright, as R, G, B, A bytes from the top:
// ImageMagick's, or GraphicsMagick's where ImageMagick goes its own way (it inverts 1-bit PCX and
// 2/4-bit min-is-white TIFF, leaves some YCbCr TIFF unconverted, takes unspecified extra samples
// for alpha).
bool Reference(bool graphicsMagick, const std::string& path, uint32_t* width, uint32_t* height,
               std::vector<uint8_t>* rgba) {
    const std::string quoted = "'" + path + "[0]'";
    const std::string size = graphicsMagick ? "gm identify -format '%w %h' " + quoted
                                            : "convert " + quoted + " -auto-orient -format '%w %h' info:";
    FILE* p = popen((size + " 2>/dev/null").c_str(), "r");
    if (!p) return false;
    const int got = fscanf(p, "%u %u", width, height);
    pclose(p);
    if (got != 2) return false;
    const std::string pixels = graphicsMagick ? "gm convert " + quoted + " -depth 8 rgba:-"
                                              : "convert " + quoted + " -auto-orient -depth 8 rgba:-";
    p = popen((pixels + " 2>/dev/null").c_str(), "r");
    if (!p) return false;
    rgba->assign(size_t(*width) * *height * 4, 0);
    const size_t read = fread(rgba->data(), 1, rgba->size(), p);
    pclose(p);
    return read == rgba->size();
}

// How far a channel may be from ImageMagick's: 5-bit channels widen by shifting here and by
// scaling there; JPEG-compressed TIFF data may be decoded with a different IDCT.
int Tolerance(const std::string& folder, const Image& image) {
    if (folder == "tga") return 7;
    if (folder == "tiff") return image.Info.CodecOption[IMAGE_FORMAT_TIF] == 7 ? 8 : 1;
    return 0;
}

// Compares the decoded picture with one reference; returns the first difference, or "".
std::string Compare(bool graphicsMagick, const std::string& folder, const std::string& path, const Image& image) {
    uint32_t w = 0, h = 0;
    std::vector<uint8_t> ref;
    const std::vector<uint8_t> bytes = ReadFileBytes(path);
    if (!Reference(graphicsMagick, path, &w, &h, &ref)) return "unreadable";
    if (IgnoresReferenceAlpha(folder, bytes))
        for (size_t i = 3; i < ref.size(); i += 4) ref[i] = 255;
    if (w != image.GetWidth() || h != image.GetHeight())
        return "size " + std::to_string(image.GetWidth()) + "x" + std::to_string(image.GetHeight()) +
               ", ImageMagick " + std::to_string(w) + "x" + std::to_string(h);
    const int tolerance = Tolerance(folder, image);
    bool refHasAlpha = false;
    for (size_t i = 3; i < ref.size(); i += 4) refHasAlpha |= ref[i] != 255;
    if (refHasAlpha && !image.Alpha) return "ImageMagick has alpha, the picture none";
    for (uint32_t row = 0; row < h; ++row) {
        for (uint32_t x = 0; x < w; ++x) {
            const int32_t y = int32_t(h - 1 - row);
            const uint8_t* r = &ref[(size_t(row) * w + x) * 4];
            const RgbQuad c = image.GetPixelColor(int32_t(x), y, false);
            const std::string where = " at (" + std::to_string(x) + ", " + std::to_string(row) + ")";
            const int alpha = image.Alpha ? image.AlphaGet(int32_t(x), y) : 255;
            if (std::abs(alpha - r[3]) > 1)
                return "alpha " + std::to_string(alpha) + ", ImageMagick " + std::to_string(r[3]) + where;
            if (alpha == 0) continue;
            // Partly transparent pixels: premultiplying and back loses up to 255 / alpha levels.
            const int t = tolerance + (alpha < 255 ? 255 / alpha + 1 : 0);
            if (std::abs(c.red - r[0]) > t || std::abs(c.green - r[1]) > t || std::abs(c.blue - r[2]) > t) {
                char text[96];
                std::snprintf(text, sizeof text, "rgb %d,%d,%d, ImageMagick %d,%d,%d", c.red, c.green, c.blue,
                              r[0], r[1], r[2]);
                return text + where;
            }
        }
    }
    return "";
}

// A valid file's pixels must match ImageMagick's or, failing that, GraphicsMagick's. Files neither
// reads have no reference.
std::string CompareWithReference(const std::string& folder, const std::string& path, const Image& image) {
    const std::string im = Compare(false, folder, path, image);
    if (im.empty()) return "";
    const std::string gm = Compare(true, folder, path, image);
    if (gm.empty() || (im == "unreadable" && gm == "unreadable")) return "";
    return "ImageMagick: " + im + "; GraphicsMagick: " + gm;
}

void CheckFolder(const std::string& folder, int32_t format) {
    const std::vector<CorpusFile> files = CorpusFiles(folder);
    ASSERT_FALSE(files.empty());
    for (const CorpusFile& file : files) {
        const std::string path = CorpusPath(file.path);
        Image image;
        const bool decoded = image.Load(ApiPath(path).c_str(), format);
        const bool exception = kExceptions.count(file.path) == 1;
        if (file.expectation == "valid") {
            if (decoded == exception) {
                ADD_FAILURE() << file.path << (decoded ? ": now decodes; drop it from the exceptions"
                                                       : ": valid file refused: ") << image.Info.LastError;
            } else if (decoded && !kNoReference.count(file.path)) {
                const std::string difference = CompareWithReference(folder, path, image);
                if (!difference.empty()) ADD_FAILURE() << file.path << ": " << difference;
            }
        } else if (file.expectation == "invalid" && decoded != exception) {
            ADD_FAILURE() << file.path << (decoded ? ": invalid file decoded" : ": no longer decodes");
        } else if (!decoded) {
            EXPECT_NE(image.Info.LastError[0], '\0') << file.path;
        }
    }
}

TEST(FurtherCodecsCorpus, TgaFiles) { CheckFolder("tga", IMAGE_FORMAT_TGA); }
TEST(FurtherCodecsCorpus, PcxFiles) { CheckFolder("pcx", IMAGE_FORMAT_PCX); }
TEST(FurtherCodecsCorpus, WbmpFiles) { CheckFolder("wbmp", IMAGE_FORMAT_WBMP); }
TEST(FurtherCodecsCorpus, TiffFiles) { CheckFolder("tiff", IMAGE_FORMAT_TIF); }

// Metafiles have no reference decoder here: valid ones must render, invalid ones must not. Two
// renderings are left in the build folder (artifacts/wmf_*.bmp) for a person to look at.
TEST(FurtherCodecsCorpus, WmfFiles) {
    const std::map<std::string, std::string> kShown = {{"wmf/wmfemfviewer/sample.wmf", "wmf_sample.bmp"},
                                                       {"wmf/dotnet/milkmateya01.emf", "wmf_milkmateya01.bmp"}};
    const std::string artifacts = std::string(RUVELTO_BINARY_DIR) + "/artifacts";
    std::filesystem::create_directories(artifacts);
    for (const CorpusFile& file : CorpusFiles("wmf")) {
        Image image;
        const bool decoded = image.Load(ApiPath(CorpusPath(file.path)).c_str(), IMAGE_FORMAT_WMF);
        const bool exception = kExceptions.count(file.path) == 1;
        if (!kMetafilesRender) {
            // Without a renderer every metafile fails the same clean way.
            EXPECT_FALSE(decoded) << file.path;
            EXPECT_STREQ(image.Info.LastError, kErrWmfDamaged) << file.path;
        } else if (file.expectation == "valid" && decoded == exception) {
            ADD_FAILURE() << file.path << ": valid metafile refused: " << image.Info.LastError;
        } else if (file.expectation == "invalid" && decoded != exception) {
            ADD_FAILURE() << file.path << ": invalid metafile decoded";
        } else if (decoded) {
            if (kShown.count(file.path)) {
                EXPECT_TRUE(image.Save(ApiPath(artifacts + "/" + kShown.at(file.path)).c_str(), IMAGE_FORMAT_BMP));
            }
            EXPECT_GT(image.GetWidth(), 0u) << file.path;
            EXPECT_LE(image.GetWidth(), 4000u) << file.path;
            EXPECT_LE(image.GetHeight(), 4000u) << file.path;
        }
    }
}

}  // namespace
}  // namespace ruvelto::image::test
