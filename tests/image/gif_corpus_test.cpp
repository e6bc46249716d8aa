// Every GIF of the shared corpus: valid files decode to ImageMagick's pixels (RGBA, with our
// transparent index standing for its zero alpha), invalid ones fail cleanly, and each
// questionable one goes the way its table entry says.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
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

enum class Verdict {
    kFails,
    kDecodes,          // to ImageMagick's pixels
    kDecodesDiffering, // to other pixels than ImageMagick's
};

struct Questionable {
    Verdict verdict;
    const char* why;
};

const char kOutsideScreen[] = "its image does not lie wholly on the screen; such images are passed over";
const char kNoColourTable[] = "without a colour table the indices show black, as in ImageMagick";
const char kSkippedExtension[] = "extensions other than graphic control, comment and loop are skipped";
const char kCommentBytes[] = "a comment is kept as bytes, whatever they are";

// Questionable files: which way they go here, and why.
const std::map<std::string, Questionable> kQuestionable = {
    {"gif/pygif/double-clears.gif", {Verdict::kDecodes, "repeated clear codes are skipped"}},
    {"gif/pygif/extra-data.gif", {Verdict::kDecodes, "data after the end code is skipped"}},
    {"gif/pygif/extra-pixels.gif", {Verdict::kDecodes, "pixels past the last row are dropped"}},
    {"gif/pygif/icc-color-profile-empty.gif", {Verdict::kDecodes, kSkippedExtension}},
    {"gif/pygif/image-outside-bg.gif", {Verdict::kFails, kOutsideScreen}},
    {"gif/pygif/image-overlap-bg.gif", {Verdict::kFails, kOutsideScreen}},
    {"gif/pygif/image-zero-height.gif", {Verdict::kFails, "its only image has no pixel"}},
    {"gif/pygif/image-zero-size.gif", {Verdict::kFails, "its only image has no pixel"}},
    {"gif/pygif/image-zero-width.gif", {Verdict::kFails, "its only image has no pixel"}},
    {"gif/pygif/invalid-ascii-comment.gif", {Verdict::kDecodes, kCommentBytes}},
    {"gif/pygif/invalid-background.gif", {Verdict::kDecodes, "the background index only fills what no image covers"}},
    {"gif/pygif/invalid-transparent.gif", {Verdict::kDecodes, "a transparent index past the table matches no pixel"}},
    {"gif/pygif/invalid-utf8-comment.gif", {Verdict::kDecodes, kCommentBytes}},
    {"gif/pygif/large-codes.gif", {Verdict::kDecodes, "12-bit codes are within the code space"}},
    {"gif/pygif/many-clears.gif", {Verdict::kDecodes, "clear codes may come at any time"}},
    {"gif/pygif/max-codes.gif", {Verdict::kDecodes, "a full table keeps its entries until the next clear code"}},
    {"gif/pygif/missing-pixels.gif", {Verdict::kDecodes, "pixels the data never reaches keep the screen background"}},
    {"gif/pygif/no-clear-and-eoi.gif", {Verdict::kDecodes, "neither a leading clear code nor the end code is required"}},
    {"gif/pygif/no-clear.gif", {Verdict::kDecodes, "a leading clear code is not required"}},
    {"gif/pygif/no-data.gif", {Verdict::kFails, "it holds no image"}},
    {"gif/pygif/no-eoi.gif", {Verdict::kDecodes, "the end code is not required"}},
    {"gif/pygif/nul-application-extension.gif", {Verdict::kDecodes, kSkippedExtension}},
    {"gif/pygif/nul-comment.gif", {Verdict::kDecodes, kCommentBytes}},
    {"gif/pygif/unknown-application-extension.gif", {Verdict::kDecodes, kSkippedExtension}},
    {"gif/pygif/unknown-extension.gif", {Verdict::kDecodes, kSkippedExtension}},
    {"gif/pygif/xmp-data-empty.gif", {Verdict::kDecodes, kSkippedExtension}},
    {"gif/libgd-conformance/invalid/no_trailer.gif", {Verdict::kDecodes, "the trailer is not required"}},
    {"gif/libgd/bug00060.gif", {Verdict::kDecodes, "its first frame is sound"}},
    {"gif/libgd/gif_nocolormaps.gif", {Verdict::kDecodes, kNoColourTable}},
    {"gif/libgd/unitialized_memory_read.gif",
     {Verdict::kDecodesDiffering, "indices past the 2-entry table are cut to the picture's one bit"}},
    {"gif/image-gif/issue-117-out-of-range.gif", {Verdict::kFails, kOutsideScreen}},
    {"gif/image-gif/issue-96-small-codesize-2.gif", {Verdict::kFails, kOutsideScreen}},
    {"gif/image-gif/issue-96-small-codesize.gif", {Verdict::kFails, kOutsideScreen}},
    {"gif/image-rs/issue_1455_undersized.gif", {Verdict::kDecodes, "its first frame lies on the screen"}},
    {"gif/image-rs/oob.gif", {Verdict::kFails, kOutsideScreen}},
    {"gif/image-rs/issue_1455_oversized.gif", {Verdict::kFails, kOutsideScreen}},
    {"gif/pillow/no_palette.gif", {Verdict::kDecodes, kNoColourTable}},
    {"gif/pillow/no_palette_with_background.gif", {Verdict::kDecodes, kNoColourTable}},
    {"gif/pillow/no_palette_after_rgb.gif", {Verdict::kDecodes, kNoColourTable}},
    {"gif/pillow/background_outside_palette.gif", {Verdict::kDecodes, "the background index only fills what no image covers"}},
    {"gif/pillow/duplicate_number_of_loops.gif", {Verdict::kDecodes, "a second loop block only replaces the loop count"}},
    {"gif/pillow/missing_background.gif", {Verdict::kDecodes, kNoColourTable}},
    {"gif/pillow/hopper_zero_comment_subblocks.gif", {Verdict::kDecodes, "empty comment blocks are skipped"}},
};

// ImageMagick's picture of the first frame on its screen, or of the last frame composed over
// all earlier ones (what a tiled GIF shows), as R, G, B, A bytes, rows from the top.
bool Reference(const std::string& path, bool lastComposed, uint32_t* width, uint32_t* height,
               std::vector<uint8_t>* rgba) {
    const std::string quoted = "'" + path + (lastComposed ? "'" : "[0]'");
    const std::string select = lastComposed ? " -coalesce -delete 0--2" : " -coalesce";
    FILE* p = popen(("convert " + quoted + select + " -format '%w %h' info:- 2>/dev/null").c_str(), "r");
    if (!p) return false;
    const int got = fscanf(p, "%u %u", width, height);
    pclose(p);
    if (got != 2) return false;
    p = popen(("convert " + quoted + select + " -depth 8 rgba:- 2>/dev/null").c_str(), "r");
    if (!p) return false;
    rgba->assign(size_t(*width) * *height * 4, 0);
    const size_t read = fread(rgba->data(), 1, rgba->size(), p);
    pclose(p);
    return read == rgba->size();
}

// libvips's picture of the first frame, for files beyond ImageMagick's size limits.
bool VipsReference(const std::string& path, uint32_t* width, uint32_t* height, std::vector<uint8_t>* rgba) {
    const std::string quoted = "'" + path + "'";
    FILE* p = popen(("vipsheader -f width " + quoted + " && vipsheader -f height " + quoted +
                     " && vipsheader -f bands " + quoted + " 2>/dev/null").c_str(), "r");
    if (!p) return false;
    uint32_t bands = 0;
    const int got = fscanf(p, "%u %u %u", width, height, &bands);
    pclose(p);
    if (got != 3 || (bands != 3 && bands != 4)) return false;
    const std::string raw = ScratchDir() + "/vips-reference.raw";
    if (std::system(("vips rawsave " + quoted + " '" + raw + "' 2>/dev/null").c_str()) != 0) return false;
    const std::vector<uint8_t> bytes = ReadFileBytes(raw);
    const size_t pixels = size_t(*width) * *height;
    if (bytes.size() != pixels * bands) return false;
    rgba->assign(pixels * 4, 255);
    for (size_t i = 0; i < pixels; ++i) {
        for (uint32_t b = 0; b < bands; ++b) (*rgba)[4 * i + b] = bytes[bands * i + b];
    }
    return true;
}

bool Transparent(const Image& image, int32_t x, int32_t y) {
    if (image.Info.TransIndex < 0) return false;
    if (image.Header.ClrUsed) return image.GetPixelIndex(x, y) == image.Info.TransIndex;
    const RgbQuad c = image.GetPixelColor(x, y, false);
    const RgbQuad t = image.Info.TransColor;
    return c.red == t.red && c.green == t.green && c.blue == t.blue;
}

std::string CompareWithReference(const std::string& path, const Image& image) {
    const bool tiled = image.GetBpp() == 24 && image.Info.NumFrames > 1;
    uint32_t w = 0, h = 0;
    std::vector<uint8_t> ref;
    if (!Reference(path, tiled, &w, &h, &ref) && !VipsReference(path, &w, &h, &ref))
        return "neither ImageMagick nor libvips could decode it";
    if (w != image.GetWidth() || h != image.GetHeight())
        return "size " + std::to_string(image.GetWidth()) + "x" + std::to_string(image.GetHeight()) +
               ", ImageMagick " + std::to_string(w) + "x" + std::to_string(h);
    for (uint32_t row = 0; row < h; ++row) {
        for (uint32_t x = 0; x < w; ++x) {
            const int32_t y = int32_t(h - 1 - row);
            const uint8_t* r = &ref[(size_t(row) * w + x) * 4];
            const std::string where = " at (" + std::to_string(x) + ", " + std::to_string(row) + ")";
            const bool transparent = Transparent(image, int32_t(x), y);
            if ((r[3] == 0) != transparent) return std::string(transparent ? "transparent" : "opaque") + where;
            if (transparent) continue;
            const RgbQuad c = image.GetPixelColor(int32_t(x), y, false);
            if (c.red != r[0] || c.green != r[1] || c.blue != r[2]) {
                char text[96];
                std::snprintf(text, sizeof text, "rgb %d,%d,%d, ImageMagick %d,%d,%d", c.red, c.green, c.blue,
                              r[0], r[1], r[2]);
                return text + where;
            }
        }
    }
    return "";
}

TEST(GifCorpus, EveryFile) {
    const std::vector<CorpusFile> files = CorpusFiles("gif");
    ASSERT_FALSE(files.empty());
    for (const CorpusFile& file : files) {
        const std::string path = CorpusPath(file.path);
        Image image;
        const bool decoded = image.Load(ApiPath(path).c_str(), IMAGE_FORMAT_GIF);
        if (file.expectation == "valid") {
            if (!decoded) {
                ADD_FAILURE() << file.path << ": valid file refused: " << image.Info.LastError;
            } else {
                const std::string difference = CompareWithReference(path, image);
                if (!difference.empty()) ADD_FAILURE() << file.path << ": " << difference;
            }
        } else if (file.expectation == "invalid") {
            if (decoded != (kAcceptedInvalid.count(file.path) == 1))
                ADD_FAILURE() << file.path << (decoded ? ": invalid file decoded" : ": no longer decodes");
        } else {
            const auto entry = kQuestionable.find(file.path);
            if (entry == kQuestionable.end()) {
                ADD_FAILURE() << file.path << ": questionable file not in the table; it "
                              << (decoded ? "decodes" : "fails");
                continue;
            }
            const Verdict verdict = entry->second.verdict;
            if ((verdict != Verdict::kFails) != decoded) {
                ADD_FAILURE() << file.path << (decoded ? ": now decodes" : ": now fails");
            } else if (decoded && (verdict == Verdict::kDecodes) != CompareWithReference(path, image).empty()) {
                ADD_FAILURE() << file.path << ": pixels now " << (verdict == Verdict::kDecodes ? "differ from" : "equal")
                              << " ImageMagick's";
            }
        }
    }
}

}  // namespace
}  // namespace ruvelto::image::test
