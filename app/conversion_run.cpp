// The conversion run: every picture checked when it starts is decoded, optionally resized by the
// image object, and written into the output folder in its own format or in the chosen ones. The
// options are taken once when it starts and every output's name is settled before the first is
// written. The same button starts and stops it; each picture begins by letting pending messages
// through, so the controls stay live and a click on "停止" reaches it.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/app_state.h"
#include "app/box_fitting.h"
#include "app/dct_scale.h"
#include "app/failure_list.h"
#include "app/file_commands.h"
#include "app/handlers.h"
#include "app/main_window_access.h"
#include "app/output_folder.h"
#include "app/output_plan.h"
#include "app/path_text.h"
#include "app/photo_info_option.h"
#include "app/picture_formats.h"
#include "app/picture_list.h"
#include "app/program_commands.h"
#include "app/remembered_options.h"
#include "app/scaled_decode.h"
#include "app/status_text.h"
#include "app/texts.h"
#include "app/time_left.h"

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

constexpr int32_t kQuestionYesNoCancel = 0x23;  // MB_YESNOCANCEL | MB_ICONQUESTION
constexpr int32_t kYesButton = 6, kNoButton = 7;  // IDYES, IDNO
constexpr int32_t kYesNoButtons = 4;               // MB_YESNO
constexpr int32_t kYesAnswer = 5;                  // the message box command's code for 是

// The options a run works with, as they stood when it started: the controls stay live, and what
// the user changes meanwhile is for the next run.
struct RunOptions {
    std::string folder;
    std::vector<OutputFormat> formats;  // empty: each picture in its own format
    bool resize = false;
    bool byPercentage = false, customSize = false, keepProportions = false;
    int32_t percentage = 0, width = 0, height = 0;
    uint8_t quality = 0;
    bool stripPhotoInfo = false;  // outputs go without EXIF
};

RunOptions TakeRunOptions() {
    RunOptions options;
    options.folder = OutputFolder();
    if (IsChecked(kConvertSwitch))
        for (const OutputChoice& output : kOutputs)
            if (IsChecked(output.box)) options.formats.push_back({output.format, output.extension});
    options.resize = IsChecked(kResizeSwitch);
    options.byPercentage = IsChecked(kPercentRadio);
    options.customSize = IsChecked(kCustomSizeRadio);
    options.keepProportions = KeepProportions();
    options.percentage = ToInteger(EditText(kPercentage).c_str());
    options.width = ToInteger(EditText(kCustomWidth).c_str());
    options.height = ToInteger(EditText(kCustomHeight).c_str());
    options.quality = static_cast<uint8_t>(Property(kQualitySlider, kSliderPositionProperty));
    options.stripPhotoInfo = StripPhotoInfo();
    return options;
}

void Message(const char* text) { MessageBox(text, kInformationIcon, texts::kPromptTitle); }

bool AnyRowChecked() {
    const int32_t count = ListItemCount();
    for (int32_t row = 0; row < count; ++row)
        if (ListCheckState(row) == 1) return true;
    return false;
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

// Why the last picture was not converted when the picture itself was the cause, for the
// failure list; write failures are told by lastWriteFailure.
enum class PictureFailure { kNone, kNoExtension, kUnreadable, kBadSize, kFolderNotCreated };
PictureFailure lastPictureFailure = PictureFailure::kNone;

bool Fail(PictureFailure failure) {
    lastPictureFailure = failure;
    return false;
}

const char* ReasonOfLastFailure() {
    switch (lastPictureFailure) {
        case PictureFailure::kNoExtension: return texts::kReasonNoExtension;
        case PictureFailure::kUnreadable: return texts::kReasonUnreadable;
        case PictureFailure::kBadSize: return texts::kReasonBadSize;
        case PictureFailure::kFolderNotCreated: return texts::kReasonFolderNotCreated;
        case PictureFailure::kNone: break;
    }
    return lastWriteFailure == WriteFailure::kPathTooLong ? texts::kReasonPathTooLong : texts::kReasonWriteFailed;
}

// The folders of an output that lies in a subfolder of the output folder, made when missing.
bool MakeOutputFolders(const std::string& target) {
    const std::string folder = WithoutTrailingBackslashes(target.substr(0, target.size() - FileNameOf(target).size()));
    if (PathCharacterCount(folder) > kLongestPath) return Fail(WriteFailure::kPathTooLong);
    for (const std::string& step : FoldersOnTheWay(folder)) {
        bool exists = false;
        if (IsFolder(step, exists)) continue;
        if (exists || !CreateOneFolder(step)) return Fail(PictureFailure::kFolderNotCreated);
    }
    return true;
}

// Encodes the picture into a temporary file beside the target and moves it over the target only
// when it is complete: a failed encode (a full disk, say) leaves no file, and a source that is
// its own target is never truncated.
bool WriteOutput(const std::string& folder, const std::string& target, int32_t format) {
    if (target.empty()) return Fail(WriteFailure::kNone);  // no free name was left for it
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

bool DecodeResized(const std::string& path, int32_t format, const RunOptions& options);

// PNG and ICO carry a resized picture's transparency; BMP, GIF and JPG get it laid over white,
// as the picture looks on a page.
bool KeepsAlpha(int32_t format) { return format == kFormatPng || format == kFormatIco; }

bool WriteOutputs(const PlannedPicture& picture, int32_t sourceFormat, bool resized, const RunOptions& options) {
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
        return DecodeResized(picture.source, sourceFormat, options);
    };
    bool all = true;
    for (const PlannedOutput& output : picture.outputs) {
        const bool placed = output.path.empty() || !picture.inSubfolder || MakeOutputFolders(output.path);
        all = placed && ready(output.format) && WriteOutput(options.folder, output.path, output.format) && all;
        if (StopsTheRun(lastWriteFailure)) return false;
    }
    return !picture.outputs.empty() && all;
}

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
bool DecodeResized(const std::string& path, int32_t format, const RunOptions& options) {
    int64_t newWidth = 0, newHeight = 0;
    const int scale = DecodeScaled(path, format, [&](int32_t width, int32_t height) -> uint8_t {
        NewSize(options, width, height, newWidth, newHeight);
        return WritableSize(newWidth, newHeight) ? DctScaleFor(width, height, newWidth, newHeight) : 0;
    });
    if (scale < 0) return Fail(PictureFailure::kUnreadable);
    if (!scale) NewSize(options, PictureWidth(), PictureHeight(), newWidth, newHeight);
    if (!WritableSize(newWidth, newHeight)) return Fail(PictureFailure::kBadSize);
    return ResamplePicture(static_cast<int32_t>(newWidth), static_cast<int32_t>(newHeight));
}

// Converts the picture of one row; true when every output planned for it was written.
// exifDropped tells that the file's EXIF block could not be read and the outputs go without it.
bool ConvertOnePicture(const PlannedPicture& picture, const RunOptions& options, bool& exifDropped) {
    exifDropped = false;
    ProcessEvents();
    AppState& app = App();
    Free(app.CurrentPicturePath);
    app.CurrentPicturePath = CopyText(picture.source.c_str());
    const std::string extension = ExtensionOf(picture.source);
    if (extension.empty()) return Fail(PictureFailure::kNoExtension);
    const int32_t format = FormatOfExtension(extension);
    // A picture that cannot be read writes nothing: the object would still hold the one before.
    if (options.resize ? !DecodeResized(picture.source, format, options) : !DecodeFromFile(picture.source.c_str(), format)) {
        if (lastPictureFailure == PictureFailure::kNone) lastPictureFailure = PictureFailure::kUnreadable;
        return false;
    }
    // Photo information goes into the outputs unless the user strips it; the flag stays with the
    // object through any further decode of this picture.
    const int32_t flags = PictureFlags();
    SetPictureFlags(options.stripPhotoInfo ? flags | kPictureFlagNoExif : flags & ~kPictureFlagNoExif);
    exifDropped = (flags & kPictureFlagExifDropped) != 0;
    SetJpegScale(0);
    SetJpegQuality(options.quality);
    return WriteOutputs(picture, format, options.resize, options);
}

// The status bar after a run: how many outputs were renamed, which pictures failed, then those
// converted without the EXIF block they had (a picture that failed is named once, among the
// failures).
std::string RunStatus(int32_t renamed, const std::vector<std::string>& failed,
                      const std::vector<std::string>& exifDropped = {}) {
    std::string text;
    if (renamed > 0) text = texts::kRenamedBefore + std::string(ToText(renamed).c_str()) + texts::kRenamedAfter;
    const auto list = [&](const char* prefix, const std::vector<std::string>& names) {
        if (names.empty()) return;
        text += (text.empty() ? "" : texts::kStatusSeparator) + std::string(prefix);
        for (size_t i = 0; i < names.size(); ++i) text += (i ? ", " : "") + names[i];
    };
    list(texts::kFailedListPrefix, failed);
    list(texts::kExifDroppedListPrefix, exifDropped);
    return text;
}

// The rows checked now, in order, and every listed picture.
void CheckedPictures(std::vector<PictureToPlan>& pictures, std::vector<std::string>& listed) {
    const int32_t count = ListItemCount();
    for (int32_t row = 0; row < count; ++row) {
        listed.push_back(RowPath(row));
        if (ListCheckState(row) == 1)
            pictures.push_back({row, RowPath(row), ListItemText(row).c_str(), RowSubfolder(row)});
    }
}

// Settles where every output of the run goes. An output that would replace its own source is
// asked about once: 是 replaces the sources, 否 keeps them and numbers the new files, 取消 (or
// a box closed otherwise) means no run. False when the run does not start.
bool PlanRun(const RunOptions& options, OutputPlan& plan) {
    std::vector<PictureToPlan> pictures;
    std::vector<std::string> listed;
    CheckedPictures(pictures, listed);
    std::unordered_map<std::string, std::string> keys;
    const PlanPlaces places{
        [&](const std::string& path) {
            auto found = keys.find(path);
            if (found == keys.end()) found = keys.emplace(path, FoldedPath(FullLongPath(path))).first;
            return found->second;
        },
        [](const std::string& path) {
            bool exists = false;
            IsFolder(path, exists);
            return exists;
        }};
    bool replaceSources = true;
    if (const int32_t inPlace = InPlaceCount(pictures, options.folder, options.formats, places)) {
        const std::string question = texts::kReplaceSourcesBefore + std::string(ToText(inPlace).c_str()) +
                                     texts::kReplaceSourcesAfter;
        const int32_t answer = ShowLongMessage(question, kQuestionYesNoCancel, texts::kPromptTitle);
        if (answer != kYesButton && answer != kNoButton) return false;
        replaceSources = answer == kYesButton;
    }
    plan = PlanOutputs(pictures, listed, options.folder, options.formats, replaceSources, places);
    return true;
}

// Ends a run: the button offers to start again.
void EndRun() {
    App().RunActive = false;
    WriteTextProperty(kWindow, kStartButton, kButtonCaptionProperty, texts::kStart);
}

void StartOrStop() {
    AppState& app = App();
    // A click during a run stops it, whatever the controls hold now.
    if (app.RunActive) {
        app.StopRequested = 1;
        WriteTextProperty(kWindow, kStartButton, kButtonCaptionProperty, texts::kStart);
        return;
    }
    BusyScope busy;
    if (ListItemCount() == 0) return Message(texts::kImportPictures);
    if (!AnyRowChecked()) return Message(texts::kSelectPictures);
    if (EditText(kOutputFolder).empty()) return Message(texts::kSelectOutputFolder);
    // With format conversion on, a run needs an output format to write.
    if (IsChecked(kConvertSwitch) && !AnyOutputFormatChecked()) return Message(texts::kSelectOutputFormat);
    if (!OutputFolderReady(OutputFolder()) || app.CloseRequested) return;
    const RunOptions options = TakeRunOptions();
    const uint32_t generation = app.ListGeneration;
    OutputPlan plan;
    if (!PlanRun(options, plan) || app.CloseRequested || app.ListGeneration != generation) return;

    app.RunActive = true;
    app.StopRequested = 0;
    app.DoneCount = 0;
    WriteTextProperty(kWindow, kStartButton, kButtonCaptionProperty, texts::kStop);
    const auto total = static_cast<int32_t>(plan.pictures.size());
    std::vector<std::string> failed, exifDropped;
    std::vector<FailedPicture> failures;
    WriteFailure stoppedBy = WriteFailure::kNone;
    const auto now = [] {
        return std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now().time_since_epoch())
            .count();
    };
    RunProgressText progress(total, now());
    ShowStatusText(RunStatus(plan.renamed, failed));
    std::vector<bool> processed(plan.pictures.size(), false);
    for (size_t i = 0; i < plan.pictures.size(); ++i) {
        const PlannedPicture& picture = plan.pictures[i];
        if (app.StopRequested == 1) break;
        // Unchecked since the run started: skipped.
        if (ListCheckState(picture.row) != 1) continue;
        processed[i] = true;
        const std::string name = ListItemText(picture.row).c_str();
        lastWriteFailure = WriteFailure::kNone;
        bool dropped = false;
        lastPictureFailure = PictureFailure::kNone;
        const bool converted = ConvertOnePicture(picture, options, dropped);
        if (app.ListGeneration != generation) {
            // Another folder was imported meanwhile: these rows are gone, and so is this run.
            return EndRun();
        }
        if (!converted && StopsTheRun(lastWriteFailure)) {
            // The folder, not the picture, failed: the picture stays checked for the next run.
            stoppedBy = lastWriteFailure;
            break;
        }
        SetListCheckState(picture.row, 0);
        SetListItemText(picture.row, 1,
                        converted ? ""
                        : lastWriteFailure == WriteFailure::kPathTooLong ? texts::kFailedPathTooLong
                                                                          : texts::kFailedMark);
        if (!converted) {
            failed.push_back(name);
            failures.push_back({picture.source, ReasonOfLastFailure()});
        } else if (dropped) {
            exifDropped.push_back(name);
        }
        ++app.DoneCount;
        const int32_t percent = static_cast<int32_t>(std::trunc(app.DoneCount * 100.0 / total));
        SetProperty(kProgressBar, kProgressPositionProperty, std::min(percent, 100));
        // A long run tells how far it is and how long it may take; a notice in the bar is left
        // standing for its moment.
        if (!StatusNoticeHeld()) {
            const std::string text = progress.Next(app.DoneCount, now());
            if (!text.empty()) ShowStatusText(text);
        }
    }
    EndRun();
    ShowStatusText(RunStatus(plan.renamed, failed, exifDropped));
    RecordFailures(std::move(failures));
    if (app.CloseRequested) return;  // the window is closing: no message to answer first
    if (stoppedBy != WriteFailure::kNone) {
        app.StopRequested = 1;
        return ReportStoppedRun(stoppedBy, options.folder);
    }
    // The run is over when each of its rows was converted or unchecked meanwhile; rows checked
    // after the start (again or anew) wait for the next run.
    for (size_t i = 0; i < plan.pictures.size(); ++i)
        if (!processed[i] && ListCheckState(plan.pictures[i].row) == 1) return;
    SetProperty(kProgressBar, kProgressPositionProperty, 0);
    app.DoneCount = 0;
    if (failed.empty()) return Message(texts::kAllDone);
    // The failures can be looked at, copied and tried again in their own list.
    const std::string count = ToText(static_cast<double>(failed.size())).c_str();
    const std::string offer = texts::kDoneWithFailuresBefore + count + texts::kOfferFailureListAfter;
    if (MessageBox(offer.c_str(), kInformationIcon | kYesNoButtons, texts::kPromptTitle) == kYesAnswer) ShowFailureList();
}

}  // namespace
}  // namespace ruvelto::app

RUVELTO_HANDLER(ruvelto_on_start_or_stop) { return ruvelto::app::StartOrStop(), ruvelto::app::kNoAnswer; }
