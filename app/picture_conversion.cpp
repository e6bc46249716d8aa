#include "app/picture_conversion.h"

#include <cmath>

#include "app/box_fitting.h"
#include "app/dct_scale.h"
#include "app/file_commands.h"
#include "app/path_text.h"
#include "app/picture_formats.h"
#include "app/program_commands.h"
#include "app/scaled_decode.h"

namespace ruvelto::app {
namespace {

// The largest picture a resize makes: at most this many pixels a side and in all.
constexpr int64_t kLargestSide = 16384;
constexpr int64_t kLargestArea = 64LL * 1024 * 1024;

// The new size the options ask for; the custom size, checked after the percentage, wins.
void NewSize(const RunOptions& options, int32_t width, int32_t height, int64_t& newWidth, int64_t& newHeight) {
    newWidth = newHeight = 0;
    if (options.byPercentage) {
        newWidth = static_cast<int64_t>(std::trunc(width * static_cast<double>(options.percentage) / 100.0));
        newHeight = static_cast<int64_t>(std::trunc(height * static_cast<double>(options.percentage) / 100.0));
    }
    if (options.customSize) {
        newWidth = options.width;
        newHeight = options.height;
        // With "保持比例" the custom size is a box the picture fits into.
        if (options.keepProportions) FitInsideBox(width, height, options.width, options.height, newWidth, newHeight);
    }
}

// Whether the new size is one the run writes: no empty pictures, none too large to make.
bool WritableSize(int64_t width, int64_t height) {
    return width > 0 && height > 0 && width <= kLargestSide && height <= kLargestSide && width * height <= kLargestArea;
}

// Decodes the picture at path and scales it to the size the options ask for. A JPEG is
// decoded no larger than the new size needs; the resampler does the rest.
PictureFailure DecodeResized(const std::string& path, int32_t format, const RunOptions& options) {
    int64_t newWidth = 0, newHeight = 0;
    const int scale = DecodeScaled(path, format, [&](int32_t width, int32_t height) -> uint8_t {
        NewSize(options, width, height, newWidth, newHeight);
        return WritableSize(newWidth, newHeight) ? DctScaleFor(width, height, newWidth, newHeight) : 0;
    });
    if (scale < 0) return PictureFailure::kUnreadable;
    if (!scale) NewSize(options, PictureWidth(), PictureHeight(), newWidth, newHeight);
    if (!WritableSize(newWidth, newHeight)) return PictureFailure::kBadSize;
    return ResamplePicture(static_cast<int32_t>(newWidth), static_cast<int32_t>(newHeight)) ? PictureFailure::kNone
                                                                                             : PictureFailure::kUnreadable;
}

// Encodes the picture into a new temporary file of the output folder: a failed encode (a full
// disk, say) leaves no file, and nothing the user has is touched until the run moves the
// finished file over its target.
EncodedOutput EncodeOutput(const std::string& folder, const std::string& target, int32_t format) {
    EncodedOutput output;
    if (target.empty()) return output;  // no free name was left for it
    if (PathCharacterCount(target) > kLongestPath) return output.failure = WriteFailure::kPathTooLong, output;
    std::string temporary;
    if (!CreateTemporaryFile(folder, temporary)) {
        output.failure = FolderFailureOf(LastFileError(), WriteFailure::kCannotWrite);
        return output;
    }
    ClearFileError();
    if (!EncodeToFile(temporary.c_str(), format)) {
        output.failure = FolderFailureOf(LastFileError(), WriteFailure::kNone);
        DeleteOneFile(temporary);
        return output;
    }
    output.temporary = temporary;
    return output;
}

// PNG and ICO carry a resized picture's transparency; BMP, GIF and JPG get it laid over white,
// as the picture looks on a page.
bool KeepsAlpha(int32_t format) { return format == kFormatPng || format == kFormatIco; }

}  // namespace

ConvertedPicture ConvertPicture(const PlannedPicture& picture, const RunOptions& options) {
    ConvertedPicture converted;
    const std::string extension = ExtensionOf(picture.source);
    if (extension.empty()) return converted.failure = PictureFailure::kNoExtension, converted;
    const int32_t format = FormatOfExtension(extension);
    // A picture that cannot be read writes nothing: the object would still hold the one before.
    if (options.resize) {
        converted.failure = DecodeResized(picture.source, format, options);
        if (converted.failure != PictureFailure::kNone) return converted;
    } else if (!DecodeFromFile(picture.source.c_str(), format)) {
        return converted.failure = PictureFailure::kUnreadable, converted;
    }
    // Photo information goes into the outputs unless the user strips it; the flag stays with the
    // object through any further decode of this picture.
    const int32_t flags = PictureFlags();
    SetPictureFlags(options.stripPhotoInfo ? flags | kPictureFlagNoExif : flags & ~kPictureFlagNoExif);
    converted.exifDropped = (flags & kPictureFlagExifDropped) != 0;
    SetJpegScale(0);
    SetJpegQuality(options.quality);

    bool laidOverWhite = false;
    for (const PlannedOutput& planned : picture.outputs) {
        // A format with alpha that follows one without it needs the picture made again.
        if (options.resize && !KeepsAlpha(planned.format)) {
            laidOverWhite = LayAlphaOverWhite() || laidOverWhite;
        } else if (options.resize && laidOverWhite) {
            laidOverWhite = false;
            converted.failure = DecodeResized(picture.source, format, options);
            if (converted.failure != PictureFailure::kNone) {
                converted.outputs.push_back({});
                continue;
            }
            SetJpegQuality(options.quality);
        }
        converted.outputs.push_back(EncodeOutput(options.folder, planned.path, planned.format));
        if (StopsTheRun(converted.outputs.back().failure)) break;
    }
    return converted;
}

void DiscardOutputs(ConvertedPicture& picture) {
    for (EncodedOutput& output : picture.outputs)
        if (!output.temporary.empty()) DeleteOneFile(output.temporary), output.temporary.clear();
}

}  // namespace ruvelto::app
