// The conversion run: every checked picture is decoded, optionally resized by the image object,
// and written into the output folder in its own format or in the chosen one. The
// same button starts and stops it; each picture begins by letting pending messages through.
#include <cmath>
#include <cstring>
#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/file_commands.h"
#include "app/handlers.h"
#include "app/main_window_access.h"
#include "app/output_folder.h"
#include "app/path_text.h"
#include "app/photo_info_option.h"
#include "app/picture_formats.h"
#include "app/picture_list.h"
#include "app/program_commands.h"
#include "app/texts.h"

namespace ruvelto::app {
namespace {

using namespace main_window;

constexpr int32_t kInformationIcon = 0x40;
// The largest picture a resize makes: at most this many pixels a side and in all.
constexpr int64_t kLargestSide = 16384;
constexpr int64_t kLargestArea = 64LL * 1024 * 1024;

struct OutputChoice {
    uint32_t box;
    int32_t format;
    const char* extension;
};
constexpr OutputChoice kOutputs[] = {{kBmpBox, kFormatBmp, ".bmp"},
                                     {kGifBox, kFormatGif, ".gif"},
                                     {kJpgBox, kFormatJpg, ".jpg"},
                                     {kPngBox, kFormatPng, ".png"},
                                     {kIcoBox, kFormatIco, ".ico"}};

void Message(const char* text) { MessageBox(text, kInformationIcon, texts::kPromptTitle); }

bool AnyRowChecked() {
    const int32_t count = ListItemCount();
    for (int32_t row = 0; row < count; ++row)
        if (ListCheckState(row) == 1) return true;
    return false;
}

int32_t CheckedRowCount() {
    int32_t total = 0;
    const int32_t count = ListItemCount();
    for (int32_t row = 0; row < count; ++row)
        if (ListCheckState(row) == 1) ++total;
    return total;
}

bool AnyOutputFormatChecked() {
    for (const OutputChoice& output : kOutputs)
        if (IsChecked(output.box)) return true;
    return false;
}

// Why the last picture's output was not written, when the folder or the output's path was the
// cause rather than the picture; the run reads it after each picture.
WriteFailure lastWriteFailure = WriteFailure::kNone;

bool Fail(WriteFailure failure) {
    lastWriteFailure = failure;
    return false;
}

// Encodes the picture into a temporary file beside the target and moves it over the target only
// when it is complete: a failed encode (a full disk, say) leaves no file, and a source that is
// its own target is never truncated.
bool WriteOutput(const std::string& folder, const std::string& target, int32_t format) {
    if (PathCharacterCount(target) > kLongestPath) return Fail(WriteFailure::kPathTooLong);
    std::string temporary;
    if (!CreateTemporaryFile(folder, temporary))
        return Fail(FolderFailureOf(LastFileError(), WriteFailure::kCannotWrite));
    ClearFileError();
    if (!EncodeToFile(temporary.c_str(), format)) {
        const WriteFailure failure = FolderFailureOf(LastFileError(), WriteFailure::kNone);
        DeleteOneFile(temporary);
        return Fail(failure);
    }
    if (!MoveReplacing(temporary, target)) {
        DeleteOneFile(temporary);
        return Fail(WriteFailure::kTargetInTheWay);
    }
    return true;
}

bool DecodeResized(const std::string& path, int32_t format);

// PNG and ICO carry a resized picture's transparency; BMP, GIF and JPG get it laid over white,
// as the picture looks on a page.
bool KeepsAlpha(int32_t format) { return format == kFormatPng || format == kFormatIco; }

bool WriteOutputs(const std::string& name, const std::string& path, int32_t sourceFormat, bool resized) {
    const std::string folder = OutputFolder();
    bool laidOverWhite = false;
    // Readies the picture for one output format; a format with alpha that follows one without
    // it needs the picture made again.
    auto ready = [&](int32_t format) {
        if (!resized) return true;
        if (!KeepsAlpha(format)) {
            laidOverWhite = LayAlphaOverWhite() || laidOverWhite;
            return true;
        }
        if (!laidOverWhite) return true;
        laidOverWhite = false;
        return DecodeResized(path, sourceFormat);
    };
    if (!IsChecked(kConvertSwitch))
        return ready(sourceFormat) && WriteOutput(folder, folder + "\\" + name, sourceFormat);
    bool any = false, all = true;
    for (const OutputChoice& output : kOutputs) {
        if (!IsChecked(output.box)) continue;
        any = true;
        all = ready(output.format) &&
              WriteOutput(folder, folder + "\\" + BaseNameOf(name) + output.extension, output.format) && all;
        if (StopsTheRun(lastWriteFailure)) return false;
    }
    return any && all;
}

// The new size from the option controls; the custom size, checked after the percentage, wins.
void NewSize(int32_t width, int32_t height, int64_t& newWidth, int64_t& newHeight) {
    newWidth = newHeight = 0;
    if (IsChecked(kPercentRadio)) {
        const int32_t percent = ToInteger(EditText(kPercentage).c_str());
        newWidth = static_cast<int64_t>(std::trunc(width * static_cast<double>(percent) / 100.0));
        newHeight = static_cast<int64_t>(std::trunc(height * static_cast<double>(percent) / 100.0));
    }
    if (IsChecked(kCustomSizeRadio)) {
        newWidth = ToInteger(EditText(kCustomWidth).c_str());
        newHeight = ToInteger(EditText(kCustomHeight).c_str());
    }
}

// The JPEG decoder's scale denominator (8, 4 or 2; 0 for none) that still decodes a width x height
// picture at least as large as the new size: libjpeg-turbo shrinks in the DCT, which costs far
// less than decoding everything and averaging it away, and the resampler does the rest.
uint8_t DctScaleFor(int32_t width, int32_t height, int64_t newWidth, int64_t newHeight) {
    for (int32_t d : {8, 4, 2}) {
        if ((width + d - 1) / d >= newWidth && (height + d - 1) / d >= newHeight) return static_cast<uint8_t>(d);
    }
    return 0;
}

// Whether the new size is one the run writes: no empty pictures, none too large to make.
bool WritableSize(int64_t width, int64_t height) {
    return width > 0 && height > 0 && width <= kLargestSide && height <= kLargestSide && width * height <= kLargestArea;
}

// Decodes the picture at path and scales it to the size the option controls ask for. A JPEG is
// first asked for its size alone, so that it can be decoded no larger than the new size needs.
bool DecodeResized(const std::string& path, int32_t format) {
    int32_t width = 0, height = 0;
    int64_t newWidth = 0, newHeight = 0;
    uint8_t scale = 0;
    if (format == kFormatJpg) {
        SetJpegScale(0);
        SetDecodeEscape(-1);
        const bool sized = DecodeFromFile(path.c_str(), format);
        SetDecodeEscape(0);
        if (sized) {
            width = PictureWidth();
            height = PictureHeight();
            NewSize(width, height, newWidth, newHeight);
            if (WritableSize(newWidth, newHeight)) scale = DctScaleFor(width, height, newWidth, newHeight);
        }
    }
    SetJpegScale(scale);
    bool decoded = DecodeFromFile(path.c_str(), format);
    // A file whose content is not what its extension says may have reported another size than
    // the picture it decodes to: then the scaled decode is not trusted and the picture is read
    // in full.
    if (decoded && scale && (PictureWidth() != (width + scale - 1) / scale || PictureHeight() != (height + scale - 1) / scale)) {
        SetJpegScale(0);
        scale = 0;
        decoded = DecodeFromFile(path.c_str(), format);
    }
    SetJpegScale(0);
    if (!decoded) return false;
    if (!scale) NewSize(PictureWidth(), PictureHeight(), newWidth, newHeight);
    if (!WritableSize(newWidth, newHeight)) return false;
    return ResamplePicture(static_cast<int32_t>(newWidth), static_cast<int32_t>(newHeight));
}

// Converts the picture of one row; true when every output it asks for was written. exifDropped
// tells that the file's EXIF block could not be read and the outputs go without it.
bool ConvertOnePicture(const std::string& name, const std::string& path, bool& exifDropped) {
    exifDropped = false;
    ProcessEvents();
    AppState& app = App();
    Free(app.CurrentPicturePath);
    app.CurrentPicturePath = CopyText(path.c_str());
    const std::string extension = ExtensionOf(path);
    if (extension.empty()) return false;
    const int32_t format = FormatOfExtension(extension);
    // A picture that cannot be read writes nothing: the object would still hold the one before.
    const bool resized = IsChecked(kResizeSwitch);
    if (resized ? !DecodeResized(path, format) : !DecodeFromFile(path.c_str(), format)) return false;
    // Photo information goes into the outputs unless the user strips it; the flag stays with the
    // object through any further decode of this picture.
    const int32_t flags = PictureFlags();
    SetPictureFlags(StripPhotoInfo() ? flags | kPictureFlagNoExif : flags & ~kPictureFlagNoExif);
    exifDropped = (flags & kPictureFlagExifDropped) != 0;
    SetJpegScale(0);
    SetJpegQuality(static_cast<uint8_t>(Property(kQualitySlider, kSliderPositionProperty)));
    return WriteOutputs(name, path, format, resized);
}

// One status bar panel across the bar holding text (its tip holds the same).
void ShowStatus(const std::string& text) {
    std::vector<uint8_t> panels = {1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 0, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF};
    panels.insert(panels.end(), text.begin(), text.end());
    panels.push_back(0);
    panels.insert(panels.end(), text.begin(), text.end());
    panels.push_back(0);
    auto* byteSet = static_cast<uint8_t*>(Allocate(static_cast<uint32_t>(8 + panels.size())));
    const uint32_t header[2] = {1, static_cast<uint32_t>(panels.size())};
    std::memcpy(byteSet, header, sizeof header);
    std::memcpy(byteSet + 8, panels.data(), panels.size());
    WriteBytesProperty(kWindow, kStatusBar, kStatusPanelsProperty, byteSet);
    Free(byteSet);
}

// The pictures that failed, then those converted without the EXIF block they had (a picture
// that failed is named once, among the failures).
void ShowFailures(const std::vector<std::string>& failed, const std::vector<std::string>& exifDropped) {
    std::string text;
    const auto list = [&](const char* prefix, const std::vector<std::string>& names) {
        if (names.empty()) return;
        text += (text.empty() ? "" : texts::kStatusSeparator) + std::string(prefix);
        for (size_t i = 0; i < names.size(); ++i) text += (i ? ", " : "") + names[i];
    };
    list(texts::kFailedListPrefix, failed);
    list(texts::kExifDroppedListPrefix, exifDropped);
    ShowStatus(text);
}

void StartOrStop() {
    BusyScope busy;
    AppState& app = App();
    if (ListItemCount() == 0) return Message(texts::kImportPictures);
    if (!AnyRowChecked()) return Message(texts::kSelectPictures);
    if (EditText(kOutputFolder).empty()) return Message(texts::kSelectOutputFolder);
    const bool starting = std::string(ReadTextProperty(kWindow, kStartButton, kButtonCaptionProperty).c_str()) == texts::kStart;
    // With format conversion on, a run needs an output format to write.
    if (starting && IsChecked(kConvertSwitch) && !AnyOutputFormatChecked()) return Message(texts::kSelectOutputFormat);
    if (starting && (!OutputFolderReady(OutputFolder()) || app.CloseRequested)) return;
    if (starting) {
        app.StopRequested = 0;
        app.DoneCount = 0;
        WriteTextProperty(kWindow, kStartButton, kButtonCaptionProperty, texts::kStop);
    } else {
        app.StopRequested = 1;
        WriteTextProperty(kWindow, kStartButton, kButtonCaptionProperty, texts::kStart);
    }
    const int32_t total = CheckedRowCount();
    const int32_t rows = ListItemCount();
    const uint32_t generation = app.ListGeneration;
    std::vector<std::string> failed, exifDropped;
    WriteFailure stoppedBy = WriteFailure::kNone;
    if (starting) ShowStatus("");
    for (int32_t i = 1; i <= rows; ++i) {
        if (app.StopRequested == 1) break;
        if (ListCheckState(i - 1) != 1) continue;
        const std::string name = ListItemText(i - 1).c_str();
        lastWriteFailure = WriteFailure::kNone;
        bool dropped = false;
        const bool converted = ConvertOnePicture(name, RowPath(i - 1), dropped);
        if (app.ListGeneration != generation) {
            // Another folder was imported meanwhile: these rows are gone, and so is this run.
            WriteTextProperty(kWindow, kStartButton, kButtonCaptionProperty, texts::kStart);
            return;
        }
        if (!converted && StopsTheRun(lastWriteFailure)) {
            // The folder, not the picture, failed: the picture stays checked for the next run.
            stoppedBy = lastWriteFailure;
            break;
        }
        SetListCheckState(i - 1, 0);
        SetListItemText(i - 1, 1,
                        converted ? ""
                        : lastWriteFailure == WriteFailure::kPathTooLong ? texts::kFailedPathTooLong
                                                                          : texts::kFailedMark);
        if (!converted) failed.push_back(name);
        else if (dropped) exifDropped.push_back(name);
        ++app.DoneCount;
        SetProperty(kProgressBar, kProgressPositionProperty, static_cast<int32_t>(std::trunc(app.DoneCount * 100.0 / total)));
    }
    if (starting) ShowFailures(failed, exifDropped);
    if (stoppedBy != WriteFailure::kNone) {
        app.StopRequested = 1;
        WriteTextProperty(kWindow, kStartButton, kButtonCaptionProperty, texts::kStart);
        return ReportStoppedRun(stoppedBy, OutputFolder());
    }
    if (AnyRowChecked()) return;
    if (failed.empty()) {
        Message(texts::kAllDone);
    } else {
        const std::string count = ToText(static_cast<double>(failed.size())).c_str();
        Message((texts::kDoneWithFailuresBefore + count + texts::kDoneWithFailuresAfter).c_str());
    }
    SetProperty(kProgressBar, kProgressPositionProperty, 0);
    app.DoneCount = 0;
    WriteTextProperty(kWindow, kStartButton, kButtonCaptionProperty, texts::kStart);
}

}  // namespace
}  // namespace ruvelto::app

RUVELTO_HANDLER(ruvelto_on_start_or_stop) { return ruvelto::app::StartOrStop(), ruvelto::app::kNoAnswer; }
