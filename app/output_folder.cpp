#include "app/output_folder.h"

#include "app/file_commands.h"
#include "app/main_window_access.h"
#include "app/path_text.h"
#include "app/texts.h"

namespace ruvelto::app {
namespace {

constexpr int32_t kWarningIcon = 0x30;
constexpr int32_t kQuestionYesNo = 0x24;
constexpr int32_t kYesButton = 6;  // IDYES

// The problem, the folder on a line of its own, and what follows.
int32_t Say(const char* problem, const std::string& folder, const char* after = nullptr, int32_t style = kWarningIcon) {
    std::string text = std::string(problem) + "\n" + folder;
    if (after) text += std::string("\n") + after;
    return ShowLongMessage(text, static_cast<uint32_t>(style), texts::kPromptTitle);
}

const char* ProblemText(WriteFailure failure) {
    switch (failure) {
        case WriteFailure::kFolderMissing: return texts::kOutputFolderMissing;
        case WriteFailure::kReadOnly: return texts::kOutputFolderReadOnly;
        case WriteFailure::kDiskFull: return texts::kOutputDiskFull;
        case WriteFailure::kPathTooLong: return texts::kOutputPathTooLong;
        default: return texts::kOutputFolderUnwritable;
    }
}

// Creates the folder and every missing folder on the way to it.
bool CreateFolderPath(const std::string& folder) {
    for (const std::string& step : FoldersOnTheWay(folder)) {
        bool exists = false;
        if (IsFolder(step, exists)) continue;
        if (exists || !CreateOneFolder(step)) return false;
    }
    bool exists = false;
    return IsFolder(folder, exists);
}

}  // namespace

std::string OutputFolder() {
    return WithoutTrailingBackslashes(EditText(main_window::kOutputFolder).c_str());
}

bool OutputFolderReady(const std::string& folder) {
    if (PathCharacterCount(folder) > kLongestOutputFolder) return Say(texts::kOutputPathTooLong, folder), false;
    ClearFileError();
    bool exists = false;
    if (!IsFolder(folder, exists)) {
        if (exists) return Say(texts::kOutputPathNotAFolder, folder), false;
        const uint32_t error = LastFileError();
        if (error != kErrorFileNotFound && error != kErrorPathNotFound)
            return Say(texts::kOutputFolderUnwritable, folder), false;
        // Asked rather than done: a mistyped path must not leave folders behind.
        if (Say(texts::kOutputFolderMissing, folder, texts::kCreateFolderQuestion, kQuestionYesNo) != kYesButton)
            return false;
        if (!CreateFolderPath(folder)) return Say(texts::kOutputFolderNotCreated, folder), false;
    }
    // The folder must take a new file: one is made and taken away again.
    std::string probe;
    if (!CreateTemporaryFile(folder, probe)) {
        const uint32_t error = LastFileError();
        const WriteFailure failure = error == kErrorNameTooLong
            ? WriteFailure::kPathTooLong : FolderFailureOf(error, WriteFailure::kCannotWrite);
        return Say(ProblemText(failure), folder), false;
    }
    DeleteOneFile(probe);
    return true;
}

bool StopsTheRun(WriteFailure failure) {
    return failure == WriteFailure::kFolderMissing || failure == WriteFailure::kReadOnly ||
           failure == WriteFailure::kDiskFull || failure == WriteFailure::kCannotWrite;
}

WriteFailure FolderFailureOf(uint32_t error, WriteFailure otherwise) {
    switch (error) {
        case kErrorFileNotFound:
        case kErrorPathNotFound: return WriteFailure::kFolderMissing;
        case kErrorAccessDenied:
        case kErrorWriteProtect: return WriteFailure::kReadOnly;
        case kErrorDiskFull:
        case kErrorHandleDiskFull: return WriteFailure::kDiskFull;
        default: return otherwise;
    }
}

void ReportStoppedRun(WriteFailure failure, const std::string& folder) {
    Say(ProblemText(failure), folder, texts::kRunStopped);
}

}  // namespace ruvelto::app
