// The conversion run: every checked picture is decoded, optionally resized through the hidden
// drawing panel, and written into the output folder in its own format or in the chosen one. The
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
#include "app/picture_formats.h"
#include "app/picture_list.h"
#include "app/program_commands.h"
#include "app/texts.h"

namespace ruvelto::app {
namespace {

using namespace main_window;

constexpr int32_t kInformationIcon = 0x40;
// Sizes the drawing panel can hold: at most this many pixels a side and in all.
constexpr int64_t kLargestSide = 16384;
constexpr int64_t kLargestArea = 64LL * 1024 * 1024;
constexpr int32_t kWhite = 0xFFFFFF;
constexpr int32_t kPanelBackColorProperty = 9;
constexpr int32_t kPanelAutoRedrawProperty = 12;

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

bool WriteOutputs(const std::string& name, int32_t sourceFormat) {
    const std::string folder = OutputFolder();
    if (!IsChecked(kConvertSwitch)) return WriteOutput(folder, folder + "\\" + name, sourceFormat);
    bool any = false, all = true;
    for (const OutputChoice& output : kOutputs) {
        if (!IsChecked(output.box)) continue;
        any = true;
        all = WriteOutput(folder, folder + "\\" + BaseNameOf(name) + output.extension, output.format) && all;
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

// Draws the decoded picture stretched on the hidden panel and takes the panel's picture back
// into the image object. The picture goes to the panel through the core picture decoder: the
// file itself when that decoder reads its format, otherwise the image object's own BMP encoding
// of it, so every format the image library reads can be resized. Each picture starts from a
// cleared white canvas, so transparent parts never show the picture before.
bool ResizeThroughPanel(const std::string& path, int32_t format, int32_t width, int32_t height) {
    int32_t picture = 0;
    if (CorePictureDecoderReads(format)) {
        picture = LoadPictureFile(path.c_str());
    }
    if (!picture) {
        void* bytes = nullptr;
        if (EncodeToBin(&bytes, kFormatBmp)) picture = LoadPictureBytes(bytes);
        Free(bytes);
    }
    if (!picture) return false;
    // The panel keeps what is drawn only with its off-screen copy, which the picture is read from.
    SetProperty(kResizePanel, kPanelAutoRedrawProperty, 1);
    SetProperty(kResizePanel, kPanelPictureModeProperty, 1);
    SetProperty(kResizePanel, kPanelBackColorProperty, kWhite);
    SetProperty(kResizePanel, kWidthProperty, width);
    SetProperty(kResizePanel, kHeightProperty, height);
    ClearPanel(kResizePanel);
    DrawPictureStretched(kResizePanel, picture, Property(kResizePanel, kWidthProperty),
                         Property(kResizePanel, kHeightProperty));
    UnloadPicture(picture);
    const ByteSet drawn = PanelPicture(kResizePanel, width, height);
    return drawn.size() > 0 && DecodeFromBin(drawn.get(), kFormatBmp);
}

// Converts the picture of one row; true when every output it asks for was written.
bool ConvertOnePicture(const std::string& name, const std::string& path) {
    ProcessEvents();
    AppState& app = App();
    Free(app.CurrentPicturePath);
    app.CurrentPicturePath = CopyText(path.c_str());
    const std::string extension = ExtensionOf(path);
    if (extension.empty()) return false;
    const int32_t format = FormatOfExtension(extension);
    // A picture that cannot be read writes nothing: the object would still hold the one before.
    if (!DecodeFromFile(path.c_str(), format)) return false;
    if (IsChecked(kResizeSwitch)) {
        int64_t width = 0, height = 0;
        NewSize(PictureWidth(), PictureHeight(), width, height);
        if (width <= 0 || height <= 0 || width > kLargestSide || height > kLargestSide ||
            width * height > kLargestArea)
            return false;
        if (!ResizeThroughPanel(path, format, static_cast<int32_t>(width), static_cast<int32_t>(height))) return false;
    }
    SetJpegScale(0);
    SetJpegQuality(static_cast<uint8_t>(Property(kQualitySlider, kSliderPositionProperty)));
    return WriteOutputs(name, format);
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

void ShowFailures(const std::vector<std::string>& failed) {
    if (failed.empty()) return ShowStatus("");
    std::string text = texts::kFailedListPrefix;
    for (size_t i = 0; i < failed.size(); ++i) text += (i ? ", " : "") + failed[i];
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
    std::vector<std::string> failed;
    WriteFailure stoppedBy = WriteFailure::kNone;
    if (starting) ShowStatus("");
    for (int32_t i = 1; i <= rows; ++i) {
        if (app.StopRequested == 1) break;
        if (ListCheckState(i - 1) != 1) continue;
        const std::string name = ListItemText(i - 1).c_str();
        lastWriteFailure = WriteFailure::kNone;
        const bool converted = ConvertOnePicture(name, RowPath(i - 1));
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
        ++app.DoneCount;
        SetProperty(kProgressBar, kProgressPositionProperty, static_cast<int32_t>(std::trunc(app.DoneCount * 100.0 / total)));
    }
    if (starting) ShowFailures(failed);
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
