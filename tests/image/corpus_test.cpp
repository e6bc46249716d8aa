// Every BMP, ICO, JPEG and PNG file of the shared corpus: valid files decode to the pixels
// ImageMagick decodes from them, invalid ones fail cleanly, questionable JPEG and PNG files go the
// way their table says.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <array>
#include <cstring>
#include <map>
#include <sstream>

#include "tests/corpus_exceptions.h"
#include "tests/corpus_manifest.h"
#include "tests/image/test_files.h"

namespace ruvelto::image::test {
namespace {

using corpus::CorpusFile;
using corpus::CorpusFiles;
using corpus::kAcceptedInvalid;
using corpus::kRefusedValid;

// Valid files ImageMagick itself cannot decode here.
const std::map<std::string, std::string> kNoReference = {
    {"bmp/bmptestsuite/valid/rle8-64000x1.bmp", "ImageMagick's width limit"},
    // Read past a 40-byte header ImageMagick takes the pixels from the wrong place (its top-left
    // pixel is grey where the rows start with pure red) and the colour profile as the mask.
    {"ico/image-rs/bmp_v5_with_icc.ico", "ImageMagick assumes a 40-byte bitmap header"},
};

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

// ImageMagick's decode of the file's first image at 16 bits a sample, R, G, B, A, rows from the top.
bool Reference16(const std::string& path, uint32_t* width, uint32_t* height, std::vector<uint16_t>* rgba) {
    const std::string quoted = "'" + path + "[0]'";
    FILE* p = popen(("identify -format '%w %h' " + quoted + " 2>/dev/null").c_str(), "r");
    if (!p) return false;
    const int got = fscanf(p, "%u %u", width, height);
    pclose(p);
    if (got != 2) return false;
    // The decoder hands over the file's samples without gamma correction; ImageMagick would
    // convert files that declare gamma 1.0 to sRGB unless told the samples are sRGB already.
    p = popen(("convert " + quoted + " -set colorspace sRGB -depth 16 -endian MSB rgba:- 2>/dev/null").c_str(), "r");
    if (!p) return false;
    std::vector<uint8_t> bytes(size_t(*width) * *height * 8, 0);
    const size_t read = fread(bytes.data(), 1, bytes.size(), p);
    pclose(p);
    rgba->resize(bytes.size() / 2);
    for (size_t i = 0; i < rgba->size(); ++i) (*rgba)[i] = uint16_t(bytes[2 * i] << 8 | bytes[2 * i + 1]);
    return read == bytes.size();
}

// The colour a PNG's transparent pixels are composited onto when the picture has no alpha: its
// bKGD chunk, or grey 192. As 16-bit samples.
std::array<uint32_t, 3> PngBackground(const std::vector<uint8_t>& png) {
    std::array<uint32_t, 3> grey = {192 * 257, 192 * 257, 192 * 257};
    if (png.size() < 33) return grey;
    const int depth = png[24], type = png[25];
    auto widen = [&](uint32_t v) {
        if (depth == 16) return v;
        const uint32_t max = (1u << depth) - 1;
        return v * 255 / max * 257;
    };
    for (size_t at = 8; at + 12 <= png.size();) {
        const uint32_t n = uint32_t(png[at]) << 24 | png[at + 1] << 16 | png[at + 2] << 8 | png[at + 3];
        const uint8_t* d = &png[at + 8];
        if (std::memcmp(&png[at + 4], "bKGD", 4) == 0 && at + 8 + n <= png.size()) {
            if ((type == 0 || type == 4) && n >= 2) {
                const uint32_t g = widen(uint32_t(d[0] << 8 | d[1]));
                return {g, g, g};
            }
            if ((type == 2 || type == 6) && n >= 6)
                return {widen(uint32_t(d[0] << 8 | d[1])), widen(uint32_t(d[2] << 8 | d[3])), widen(uint32_t(d[4] << 8 | d[5]))};
            return grey;
        }
        if (std::memcmp(&png[at + 4], "IDAT", 4) == 0) break;
        at += 12 + size_t(n);
    }
    return grey;
}

// The alpha the decoded picture gives a pixel, however it keeps transparency.
int EffectiveAlpha(const Image& image, int32_t x, int32_t y) {
    if (image.Alpha) return image.AlphaGet(x, y);
    if (image.Header.ClrUsed && image.Info.AlphaPaletteEnabled) return image.GetPaletteColor(image.GetPixelIndex(x, y)).reserved;
    if (image.Header.ClrUsed && image.Info.TransIndex != -1) return image.GetPixelIndex(x, y) == image.Info.TransIndex ? 0 : 255;
    return -1;  // opaque: transparency was composited onto the background
}

// PNG: exact samples (16-bit files keep each sample's high byte), exact alpha; where the picture
// holds no alpha, ImageMagick's pixels composited onto the file's background, within 1 level.
std::string ComparePng(const std::string& path, const Image& image) {
    uint32_t w = 0, h = 0;
    std::vector<uint16_t> ref;
    if (!Reference16(path, &w, &h, &ref)) return "ImageMagick could not decode it";
    if (w != image.GetWidth() || h != image.GetHeight()) return "size differs from ImageMagick's";
    const std::array<uint32_t, 3> bg = PngBackground(ReadFileBytes(path));
    for (uint32_t row = 0; row < h; ++row) {
        for (uint32_t x = 0; x < w; ++x) {
            const int32_t y = int32_t(h - 1 - row);
            const uint16_t* r = &ref[(size_t(row) * w + x) * 4];
            const RgbQuad c = image.GetPixelColor(int32_t(x), y, false);
            const int alpha = EffectiveAlpha(image, int32_t(x), y);
            const int ours[3] = {c.red, c.green, c.blue};
            const std::string where = " at (" + std::to_string(x) + ", " + std::to_string(row) + ")";
            if (alpha >= 0 && alpha != r[3] >> 8) return "alpha " + std::to_string(alpha) + ", ImageMagick " + std::to_string(r[3] >> 8) + where;
            if (alpha == 0) continue;
            for (int i = 0; i < 3; ++i) {
                int expected = r[i] >> 8;
                int tolerance = 0;
                if (alpha < 0 && r[3] != 65535) {
                    expected = int((uint64_t{r[i]} * r[3] + uint64_t{bg[i]} * (65535 - r[3])) / 65535 >> 8);
                    tolerance = 1;
                }
                if (std::abs(ours[i] - expected) > tolerance)
                    return "channel " + std::to_string(i) + " " + std::to_string(ours[i]) + ", expected " + std::to_string(expected) + where;
            }
        }
    }
    return "";
}

// JPEG decoders may differ in their inverse DCT and upsampling by a level or two in a sample: a
// conforming IDCT stays within one level of the exact transform, which keeps the PSNR between
// two decodes above 40 dB. A wrong colour conversion, channel order or row order gives less than
// 20 dB.
constexpr double kJpegPsnr = 40.0;

double Psnr(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    double sum = 0;
    for (size_t i = 0; i < a.size() && i < b.size(); ++i) sum += double(a[i] - b[i]) * double(a[i] - b[i]);
    if (sum == 0) return 99.0;
    return 10 * std::log10(255.0 * 255.0 * double(a.size()) / sum);
}

std::string CompareJpeg(const std::string& path, const Image& image) {
    uint32_t w = 0, h = 0;
    std::vector<uint8_t> ref;
    if (!Reference(path, &w, &h, &ref, true)) return "ImageMagick could not decode it";
    if (w != image.GetWidth() || h != image.GetHeight()) return "size differs from ImageMagick's";
    std::vector<uint8_t> refRgb;
    for (size_t i = 0; i < ref.size(); ++i)
        if (i % 4 != 3) refRgb.push_back(ref[i]);
    const double psnr = Psnr(TopDownRgb(image), refRgb);
    if (std::getenv("RUVELTO_PRINT_PSNR")) std::printf("%6.2f dB %s\n", psnr, path.c_str());
    if (psnr < kJpegPsnr) return "PSNR " + std::to_string(psnr) + " dB against ImageMagick";
    return "";
}

// Questionable files (damaged, quirky or fuzzed) and which way each goes, with the reason.
struct Questionable {
    bool decodes;
    const char* why;
};
extern const std::map<std::string, Questionable> kQuestionable;

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
            } else if (!kNoReference.count(file.path)) {
                const std::string difference = format == IMAGE_FORMAT_PNG ? ComparePng(path, image)
                                               : format == IMAGE_FORMAT_JPG ? CompareJpeg(path, image)
                                               : CompareWithReference(path, image, format == IMAGE_FORMAT_ICO);
                if (!difference.empty()) ADD_FAILURE() << file.path << ": " << difference;
            }
        } else if (file.expectation == "invalid" && decoded != (kAcceptedInvalid.count(file.path) == 1)) {
            ADD_FAILURE() << file.path << (decoded ? ": invalid file decoded" : ": no longer decodes");
        } else if (file.expectation == "questionable" && (format == IMAGE_FORMAT_JPG || format == IMAGE_FORMAT_PNG)) {
            const auto it = kQuestionable.find(file.path);
            if (it == kQuestionable.end()) {
                ADD_FAILURE() << file.path << ": not in the table of questionable files; it " << (decoded ? "decodes" : "fails: ")
                              << image.Info.LastError;
            } else if (it->second.decodes != decoded) {
                ADD_FAILURE() << file.path << (decoded ? ": now decodes" : ": no longer decodes: ") << image.Info.LastError;
            }
        }
    }
}

TEST(ImageCorpus, BmpFiles) { CheckFolder("bmp", IMAGE_FORMAT_BMP); }

TEST(ImageCorpus, IcoFiles) { CheckFolder("ico", IMAGE_FORMAT_ICO); }

TEST(ImageCorpus, JpegFiles) { CheckFolder("jpeg", IMAGE_FORMAT_JPG); }

TEST(ImageCorpus, PngFiles) { CheckFolder("png", IMAGE_FORMAT_PNG); }

// Every file of the corpus, whatever its format, through the probing decode: no crash, hang or
// huge allocation; files of the formats with a codec get the same verdict as when their format is named; formats
// this library has no codec for are refused with a reason.
TEST(ImageCorpus, EveryFileThroughTheProbe) {
    const std::map<std::string, int32_t> kDecodedFormats = {
        {"bmp", IMAGE_FORMAT_BMP}, {"gif", IMAGE_FORMAT_GIF}, {"ico", IMAGE_FORMAT_ICO}, {"jpeg", IMAGE_FORMAT_JPG},
        {"png", IMAGE_FORMAT_PNG}, {"tiff", IMAGE_FORMAT_TIF},
        {"tga", IMAGE_FORMAT_TGA}, {"pcx", IMAGE_FORMAT_PCX}, {"wbmp", IMAGE_FORMAT_WBMP}, {"wmf", IMAGE_FORMAT_WMF},
        {"jp2", IMAGE_FORMAT_JP2}, {"pgx", IMAGE_FORMAT_PGX}, {"pnm", IMAGE_FORMAT_PNM}, {"ras", IMAGE_FORMAT_RAS}};
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
                    EXPECT_EQ(probed.Info.Type, named.Info.Type) << file.path << ": probed as another format";
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

const std::map<std::string, Questionable> kQuestionable = {
    {"png/image-png/invalid_palette_index.png", {true, "pixel indices beyond PLTE length; the image data is sound"}},
    {"png/image-png/broken_iccp.png", {true, "corrupt iCCP profile chunk (image data fine); the image data is sound"}},
    {"png/pillow/truncated_end_chunk.png", {false, "truncated IEND chunk (pixels complete); libpng: Read Error"}},
    {"png/pillow/png_decompression_dos.png", {true, "zTXt decompression bomb (image itself small); the image data is sound"}},
    {"png/pillow/padded_idat.png", {true, "IDAT with trailing padding; the image data is sound"}},
    {"png/pillow/hopper_idat_after_image_end.png", {true, "extra IDAT after image end; the image data is sound"}},
    {"png/pillow-apng/chunk_no_actl.png", {true, "APNG: fcTL without acTL; the default image is read"}},
    {"png/pillow-apng/chunk_actl_after_idat.png", {true, "APNG: acTL after IDAT; the default image is read"}},
    {"png/pillow-apng/chunk_multi_actl.png", {true, "APNG: duplicate acTL; the default image is read"}},
    {"png/pillow-apng/chunk_no_fdat.png", {true, "APNG: missing fdAT; the default image is read"}},
    {"png/pillow-apng/sequence_gap.png", {true, "APNG: sequence number gap; the default image is read"}},
    {"png/pillow-apng/syntax_num_frames_zero.png", {false, "APNG: num_frames = 0; libpng: IEND: out of place"}},
    {"png/pillow-apng/syntax_num_frames_invalid.png", {true, "APNG: invalid num_frames; the default image is read"}},
    {"png/pillow-apng/split_fdat_zero_chunk.png", {true, "APNG: zero-length fdAT split; the default image is read"}},
    {"jpeg/jpeg-decoder/crashtest/dc-predictor-overflow.jpg", {true, "DC predictor overflow; libjpeg warns and decodes what it can"}},
    {"jpeg/jpeg-decoder/crashtest/multiple-0xff-before-eoi.jpg", {true, "fill bytes before EOI; libjpeg warns and decodes what it can"}},
    {"jpeg/jpeg-decoder/crashtest/null_height.jpg", {false, "height 0 in SOF without DNL; libjpeg: Empty JPEG image (DNL not supported)"}},
    {"jpeg/jpeg-decoder/crashtest/subtract-with-overflow.jpg", {true, "arithmetic overflow case; libjpeg warns and decodes what it can"}},
    {"jpeg/jpeg-decoder/imagetestsuite/138d3b9e0d9fbf641b8135981e597c3a.jpg", {false, "fuzzed JPEG; libjpeg: Bogus DAC index 135"}},
    {"jpeg/jpeg-decoder/imagetestsuite/194531363df5b73f59c4c0517422f917.jpg", {true, "fuzzed JPEG; libjpeg warns and decodes what it can"}},
    {"jpeg/jpeg-decoder/imagetestsuite/1cbb1bb37d62c44f67374cd451643dc4.jpg", {true, "fuzzed JPEG; libjpeg warns and decodes what it can"}},
    {"jpeg/jpeg-decoder/imagetestsuite/21a84b8472f6d18f5bb5c0026e97cfaa.jpg", {false, "fuzzed JPEG; libjpeg: Invalid component ID 2 in SOS"}},
    {"jpeg/jpeg-decoder/imagetestsuite/21ad703b38e2c350215bb92a849486f3.jpg", {true, "fuzzed JPEG; libjpeg warns and decodes what it can"}},
    {"jpeg/jpeg-decoder/imagetestsuite/28968137f4fc75fbf56f16d7a7a8551a.jpg", {false, "fuzzed JPEG; libjpeg: Empty JPEG image (DNL not supported)"}},
    {"jpeg/jpeg-decoder/imagetestsuite/28c74d9284d9836017fd519f6932efd8.jpg", {true, "fuzzed JPEG; libjpeg warns and decodes what it can"}},
    {"jpeg/jpeg-decoder/imagetestsuite/2c9e7a1805f8b47630bbb83d21bf8222.jpg", {false, "fuzzed JPEG; libjpeg: Invalid JPEG file structure: two SOF markers"}},
    {"jpeg/jpeg-decoder/imagetestsuite/316be81dfdeeb942e904feb3a77f4f83.jpg", {true, "fuzzed JPEG; libjpeg warns and decodes what it can"}},
    {"jpeg/jpeg-decoder/imagetestsuite/3976a754ef0aca80e84e2c403d714579.jpg", {true, "fuzzed JPEG; libjpeg warns and decodes what it can"}},
    {"jpeg/jpeg-decoder/imagetestsuite/3ea649db8e81a46ca4f92fb3238f78ff.jpg", {false, "fuzzed JPEG; libjpeg: Bogus marker length"}},
    {"jpeg/jpeg-decoder/imagetestsuite/4085c929e00c446d3fee18b5b20a27f9.jpg", {false, "fuzzed JPEG; libjpeg: Invalid progressive parameters Ss=1 Se=63 Ah=1 Al=14"}},
    {"jpeg/jpeg-decoder/imagetestsuite/4838ece0d3900220d33528ee027289bc.jpg", {true, "fuzzed JPEG; libjpeg warns and decodes what it can"}},
    {"jpeg/jpeg-decoder/imagetestsuite/5315c35bbcc28d8eee419028ac9f38e0.jpg", {false, "fuzzed JPEG; libjpeg: Bogus marker length"}},
    {"jpeg/jpeg-decoder/imagetestsuite/627c0779eb46b98f751187c5c9f43aa3.jpg", {false, "fuzzed JPEG; libjpeg: Invalid JPEG file structure: SOS before SOF"}},
    {"jpeg/jpeg-decoder/imagetestsuite/72d091e08c93c9e590360130fa35221b.jpg", {false, "fuzzed JPEG; libjpeg: Bogus marker length"}},
    {"jpeg/jpeg-decoder/imagetestsuite/75e4bd7544a85af6438497980b62fba5.jpg", {true, "fuzzed JPEG; libjpeg warns and decodes what it can"}},
    {"jpeg/jpeg-decoder/imagetestsuite/79f5fc6bca756e1f067c6fc83e18b32e.jpg", {false, "fuzzed JPEG; libjpeg: Unsupported JPEG process: SOF type 0xc3"}},
    {"jpeg/jpeg-decoder/imagetestsuite/8546907dbe574744d7fea6ca9de1de6b.jpg", {false, "fuzzed JPEG; libjpeg: Unsupported JPEG process: SOF type 0xce"}},
    {"jpeg/jpeg-decoder/imagetestsuite/865db3dd2d380626f16b6f9dc6d62dba.jpg", {true, "fuzzed JPEG; libjpeg warns and decodes what it can"}},
    {"jpeg/jpeg-decoder/imagetestsuite/8a9cc8eeed66aeb423a91c44111d9450.jpg", {false, "fuzzed JPEG; libjpeg: Invalid JPEG file structure: two SOF markers"}},
    {"jpeg/jpeg-decoder/imagetestsuite/96b3e939852157613fa2e48d58fe35fe.jpg", {false, "fuzzed JPEG; libjpeg: Invalid JPEG file structure: two SOI markers"}},
    {"jpeg/jpeg-decoder/imagetestsuite/9efd60f04cd971daa83d3131e6d6f389.jpg", {true, "fuzzed JPEG; libjpeg warns and decodes what it can"}},
    {"jpeg/jpeg-decoder/imagetestsuite/a17806f32b45d63eea5230e7893e1f15.jpg", {false, "fuzzed JPEG; libjpeg: Bogus DQT index 10"}},
    {"jpeg/jpeg-decoder/imagetestsuite/a7326ba8f3f4559991126474dd30083d.jpg", {true, "fuzzed JPEG; libjpeg warns and decodes what it can"}},
    {"jpeg/jpeg-decoder/imagetestsuite/b0b8914cc5f7a6eff409f16d8cc236c5.jpg", {false, "fuzzed JPEG; libjpeg: Invalid progressive parameters Ss=1 Se=63 Ah=10 Al=11"}},
    {"jpeg/jpeg-decoder/imagetestsuite/b4103df93880fc5677c2a081e4bfc712.jpg", {false, "fuzzed JPEG; libjpeg: Invalid JPEG file structure: two SOF markers"}},
    {"jpeg/jpeg-decoder/imagetestsuite/b5369bcbddca7135a5708c5237ad64e4.jpg", {false, "fuzzed JPEG; libjpeg: Bogus DAC value 0x2"}},
    {"jpeg/jpeg-decoder/imagetestsuite/c52ffdd6a0346c4d09271f8ccbdfd5a3.jpg", {false, "fuzzed JPEG; libjpeg: Bogus Huffman table definition"}},
    {"jpeg/jpeg-decoder/imagetestsuite/d15b71b8cebe35a57cc6e996cc09218b.jpg", {false, "fuzzed JPEG; libjpeg: Unsupported marker type 0x97"}},
    {"jpeg/jpeg-decoder/reftest/extraneous-data.jpg", {true, "jpeg-decoder reference test; libjpeg warns and decodes what it can"}},
    {"jpeg/jpeg-decoder/reftest/partial_progressive.jpg", {true, "jpeg-decoder reference test; libjpeg warns and decodes what it can"}},
    {"jpeg/jpeg-decoder/reftest/progressive-missing-ac.jpg", {true, "jpeg-decoder reference test; libjpeg warns and decodes what it can"}},
    {"jpeg/jpeg-decoder/reftest/progressive-missing-dc.jpg", {true, "jpeg-decoder reference test; libjpeg warns and decodes what it can"}},
    {"jpeg/jpeg-decoder/icc/icc_chunk_count_mismatch.jpeg", {true, "inconsistent multi-chunk ICC profile; libjpeg warns and decodes what it can"}},
    {"jpeg/jpeg-decoder/icc/icc_chunk_double_seq_no.jpeg", {true, "inconsistent multi-chunk ICC profile; libjpeg warns and decodes what it can"}},
    {"jpeg/jpeg-decoder/icc/icc_chunk_order.jpeg", {true, "inconsistent multi-chunk ICC profile; libjpeg warns and decodes what it can"}},
    {"jpeg/jpeg-decoder/icc/icc_chunk_seq_no_0.jpeg", {true, "inconsistent multi-chunk ICC profile; libjpeg warns and decodes what it can"}},
    {"jpeg/jpeg-decoder/icc/icc_missing_chunk.jpeg", {true, "inconsistent multi-chunk ICC profile; libjpeg warns and decodes what it can"}},
    {"jpeg/jpeg-decoder/afl/id_000006,src_000000,op_flip1,pos_3,+cov.jpg", {false, "AFL-mutated JPEG; libjpeg: Unsupported marker type 0xf0"}},
    {"jpeg/jpeg-decoder/afl/id_000023,src_000000,op_flip1,pos_21,+cov.jpg", {false, "AFL-mutated JPEG; libjpeg: Unsupported marker type 0xdf"}},
    {"jpeg/jpeg-decoder/afl/id_000034,src_000000,op_flip1,pos_159,+cov.jpg", {false, "AFL-mutated JPEG; libjpeg: Unsupported JPEG process: SOF type 0xc8"}},
    {"jpeg/jpeg-decoder/afl/id_000046,src_000000,op_flip1,pos_164,+cov.jpg", {false, "AFL-mutated JPEG; libjpeg: Empty JPEG image (DNL not supported)"}},
    {"jpeg/jpeg-decoder/afl/id_000071,src_000000,op_flip1,pos_172.jpg", {false, "AFL-mutated JPEG; libjpeg: Bogus sampling factors"}},
    {"jpeg/jpeg-decoder/afl/id_000081,src_000000,op_flip1,pos_181,+cov.jpg", {false, "AFL-mutated JPEG; libjpeg: Bogus DHT index 128"}},
    {"jpeg/jpeg-decoder/afl/id_000170,src_000000,op_flip1,pos_307,+cov.jpg", {true, "AFL-mutated JPEG; libjpeg warns and decodes what it can"}},
    {"jpeg/jpeg-decoder/afl/id_000224,src_000000,op_flip2,pos_299.jpg", {false, "AFL-mutated JPEG; libjpeg: Invalid component ID 2 in SOS"}},
    {"jpeg/jpeg-decoder/afl/id_000305,src_000000,op_arith8,pos_295,val_+20,+cov.jpg", {false, "AFL-mutated JPEG; libjpeg: Invalid JPEG file structure: missing SOS marker"}},
    {"jpeg/jpeg-decoder/afl/id_000324,src_000000,op_arith16,pos_227,val_be_-16.jpg", {true, "AFL-mutated JPEG; libjpeg warns and decodes what it can"}},
    {"jpeg/jpeg-decoder/afl/id_000386,src_000000,op_havoc,rep_128,+cov.jpg", {false, "AFL-mutated JPEG; libjpeg: Not a JPEG file: starts with 0xdd 0xff"}},
    {"jpeg/jpeg-decoder/afl/id_000393,src_000000,op_int32,pos_500,val_-32768,+cov.jpg", {true, "AFL-mutated JPEG; libjpeg warns and decodes what it can"}},
    {"jpeg/jpeg-decoder/afl/id_000416,src_000000,op_havoc,rep_16.jpg", {false, "AFL-mutated JPEG; libjpeg: Unsupported marker type 0x02"}},
    {"jpeg/jpeg-decoder/afl/id_000448,src_000000,op_havoc,rep_32,+cov.jpg", {false, "AFL-mutated JPEG; libjpeg: JPEG datastream contains no image"}},
    {"jpeg/jpeg-decoder/afl/id_000449,src_000000,op_havoc,rep_16,+cov.jpg", {false, "AFL-mutated JPEG; libjpeg: Bogus DQT index 9"}},
    {"jpeg/twelvemonkeys/broken/515e763c-02a8-11e7-85fb-573b41201f05.jpg", {false, "broken JPEG (TwelveMonkeys broken-jpeg); libjpeg: JPEG datastream contains no image"}},
    {"jpeg/twelvemonkeys/broken/516c2778-02a8-11e7-9d50-e916ce831200.jpg", {false, "broken JPEG (TwelveMonkeys broken-jpeg); libjpeg: JPEG datastream contains no image"}},
    {"jpeg/twelvemonkeys/broken/broken-invalid-adobe-ycc-gray.jpg", {true, "broken JPEG (TwelveMonkeys broken-jpeg); libjpeg warns and decodes what it can"}},
    {"jpeg/twelvemonkeys/0x00-to-0xFF-between-segments.jpg", {true, "garbage bytes between segments; libjpeg warns and decodes what it can"}},
    {"jpeg/twelvemonkeys/app-marker-missing-null-term.jpg", {true, "APP marker id without NUL; libjpeg warns and decodes what it can"}},
    {"jpeg/twelvemonkeys/dnl-marker.jpg", {true, "height defined by DNL marker; libjpeg warns and decodes what it can"}},
    {"jpeg/twelvemonkeys/duplicate-component-ids.jpg", {true, "duplicate component IDs; libjpeg warns and decodes what it can"}},
    {"jpeg/twelvemonkeys/eof-sos-segment-bug.jpg", {true, "EOF inside SOS; libjpeg warns and decodes what it can"}},
    {"jpeg/twelvemonkeys/exif-jfif-app13-app14ycck-3channel.jpg", {true, "APP14 YCCK with only 3 channels; libjpeg warns and decodes what it can"}},
    {"jpeg/twelvemonkeys/invalid-adobe-ycc-gray-with-metadata.jpg", {true, "Adobe YCC marker on grey image; libjpeg warns and decodes what it can"}},
    {"jpeg/twelvemonkeys/jfif-cmyk-invalid-icc-profile-srgb.jpg", {true, "CMYK with sRGB ICC profile; libjpeg warns and decodes what it can"}},
    {"jpeg/twelvemonkeys/jfif-component-id-out-of-range.jpg", {true, "component id out of range; libjpeg warns and decodes what it can"}},
    {"jpeg/twelvemonkeys/jfif-exif-xmp-adobe-progressive-negative-component-count.jpg", {true, "bad component count in metadata; libjpeg warns and decodes what it can"}},
    {"jpeg/twelvemonkeys/jfif-padded-segments.jpg", {true, "0xFF padding before markers; libjpeg warns and decodes what it can"}},
    {"jpeg/twelvemonkeys/progressive-adobe-sof-bands-dont-match-sos-band-count.jpg", {true, "SOF/SOS band count mismatch; libjpeg warns and decodes what it can"}},
    {"jpeg/twelvemonkeys/read-error1024.jpg", {true, "reader buffer-edge case; libjpeg warns and decodes what it can"}},
    {"jpeg/twelvemonkeys/warning-embedded-color-profile-invalid-ignored-cmyk.jpg", {true, "invalid embedded CMYK profile; libjpeg warns and decodes what it can"}},
    {"jpeg/pillow/junk_jpeg_header.jpg", {true, "junk before SOI marker; libjpeg warns and decodes what it can"}},
    {"jpeg/pillow/jpeg_ff00_header.jpg", {true, "FF00 bytes in header; libjpeg warns and decodes what it can"}},
    {"jpeg/pillow/truncated_app14.jpg", {true, "truncated APP14 Adobe segment; libjpeg warns and decodes what it can"}},
    {"jpeg/pillow/photoshop-200dpi-broken.jpg", {true, "broken APP13 length; libjpeg warns and decodes what it can"}},
    {"jpeg/pillow/hopper_bad_exif.jpg", {true, "corrupt EXIF; libjpeg warns and decodes what it can"}},
    {"jpeg/pillow/icc-after-SOF.jpg", {true, "ICC APP2 after SOF; libjpeg warns and decodes what it can"}},
    {"jpeg/pillow/exif-dpi-zerodivision.jpg", {true, "EXIF resolution 0/0; libjpeg warns and decodes what it can"}},
    {"jpeg/pillow/exif-ifd-offset.jpg", {true, "EXIF IFD offset quirk; libjpeg warns and decodes what it can"}},
    {"jpeg/pillow/invalid-exif.jpg", {true, "invalid EXIF; libjpeg warns and decodes what it can"}},
    {"jpeg/pillow/invalid-exif-without-x-resolution.jpg", {true, "EXIF without XResolution; libjpeg warns and decodes what it can"}},
    {"jpeg/pillow/multiple_exif.jpg", {true, "two EXIF segments; libjpeg warns and decodes what it can"}},
    {"jpeg/pillow/xmp_no_prefix.jpg", {true, "XMP without namespace prefix; libjpeg warns and decodes what it can"}},
    {"jpeg/pillow/broken_exif_dpi.jpg", {true, "broken EXIF DPI; libjpeg warns and decodes what it can"}},
    {"jpeg/pillow/truncated_exif_dpi.jpg", {true, "truncated EXIF DPI; libjpeg warns and decodes what it can"}},
    {"jpeg/image-rs/oss-fuzz-36829.jpeg", {false, "OSS-Fuzz regression; libjpeg: Invalid component ID 93 in SOS"}},
};

}  // namespace
}  // namespace ruvelto::image::test
