// The conversion run: every picture checked when it starts is decoded, optionally resized by the
// image object, and written into the output folder in its own format or in the chosen ones. The
// options are taken once when it starts and every output's name is settled before the first is
// written. Worker threads decode, resize and encode the pictures (app/run_workers.h); the
// window's thread takes them in list order, puts the files in place and updates the rows. The
// same button starts and stops it; each picture begins by letting pending messages through, so
// the controls stay live and a click on "停止" reaches it.
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstring>
#include <string>
#include <unordered_map>
#include <vector>

#include "app/app_state.h"
#include "app/failure_list.h"
#include "app/file_commands.h"
#include "app/handlers.h"
#include "app/main_window_access.h"
#include "app/message_pace.h"
#include "app/output_folder.h"
#include "app/output_plan.h"
#include "app/path_text.h"
#include "app/photo_info_option.h"
#include "app/picture_conversion.h"
#include "app/picture_formats.h"
#include "app/picture_list.h"
#include "app/program_commands.h"
#include "app/remembered_options.h"
#include "app/run_workers.h"
#include "app/status_text.h"
#include "app/texts.h"
#include "app/time_left.h"

namespace ruvelto::app {
namespace {

using namespace main_window;

constexpr int32_t kInformationIcon = 0x40;

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

// Puts the picture's finished outputs in place, in the plan's order, each moved over its target
// only now: true when every output planned for it was written. The temporary files of outputs
// not put in place are deleted.
bool PlaceOutputs(const PlannedPicture& picture, ConvertedPicture& converted) {
    lastPictureFailure = converted.failure;
    bool all = !picture.outputs.empty() && converted.outputs.size() == picture.outputs.size();
    for (size_t k = 0; k < converted.outputs.size(); ++k) {
        const PlannedOutput& planned = picture.outputs[k];
        EncodedOutput& output = converted.outputs[k];
        const bool placed = planned.path.empty() || !picture.inSubfolder || MakeOutputFolders(planned.path);
        bool written = false;
        if (placed && !output.temporary.empty()) {
            written = MoveReplacing(output.temporary, planned.path);
            if (written) output.temporary.clear();
            else Fail(WriteFailure::kTargetInTheWay);
        } else if (placed) {
            Fail(output.failure);
        }
        all = written && all;
        if (StopsTheRun(lastWriteFailure)) break;
    }
    DiscardOutputs(converted);
    return all && !StopsTheRun(lastWriteFailure);
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
    bool listReplaced = false;
    {
        // Gone before the run's end is told: no worker outlives the run, nor any file it made
        // that was not put in place.
        RunWorkers workers(plan.pictures, options);
        for (size_t i = 0; i < plan.pictures.size(); ++i) {
            const PlannedPicture& picture = plan.pictures[i];
            if (app.StopRequested == 1) break;
            // Unchecked since the run started: skipped (what a worker made of it is deleted).
            if (ListCheckState(picture.row) != 1) continue;
            processed[i] = true;
            const std::string name = ListItemText(picture.row).c_str();
            Free(app.CurrentPicturePath);
            app.CurrentPicturePath = CopyText(picture.source.c_str());
            LetMessagesThrough();
            ConvertedPicture result = workers.Take(i);
            if (app.ListGeneration != generation) {
                // Another folder was imported meanwhile: these rows are gone, and so is this run.
                DiscardOutputs(result);
                listReplaced = true;
                break;
            }
            lastWriteFailure = WriteFailure::kNone;
            const bool converted = PlaceOutputs(picture, result);
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
            } else if (result.exifDropped) {
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
    }
    if (listReplaced) return EndRun();
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
