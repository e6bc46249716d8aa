#include "app/failure_list.h"

#include <cstring>
#include <unordered_set>

#include "app/desktop_dll_commands.h"
#include "app/handlers.h"
#include "app/picture_formats.h"
#include "app/path_text.h"
#include "app/picture_list.h"
#include "app/program_commands.h"
#include "image-data/library_command_tables.h"
#include "image-data/windows/failure_list_window_units.h"
#include "image-data/windows/main_window_units.h"
#include "runtime/entry_table.h"

namespace ruvelto::app {
namespace {

namespace window = failure_list_window;

enum CoreCommand : int { kGetWindowHandle = 9, kDestroyUnit = 25 };
enum ListMethod : int { kInsertItem = 4, kSetItemText = 5 };
constexpr uint32_t kClipboardText = 1;  // CF_TEXT: GBK text, as the program's texts are
constexpr uint32_t kMoveable = 2;       // GMEM_MOVEABLE

ValueRecord FailureWindow() { return UnitValue(window::kWindow, window::kWindowRecord, kTypeWindow); }

ValueRecord ListCall(int method, std::initializer_list<ValueRecord> rest) {
    ValueRecord args[4];
    int n = 0;
    args[n++] = UnitValue(window::kWindow, window::kFailureList, kTypeListView);
    for (const ValueRecord& r : rest) args[n++] = r;
    CommandEntry entry = image_data::kExtendedUiLibraryCommands[method];
    switch (n) {
        case 2: return CallCommand(entry, {args[0], args[1]});
        case 3: return CallCommand(entry, {args[0], args[1], args[2]});
        default: return CallCommand(entry, {args[0], args[1], args[2], args[3]});
    }
}

std::string FolderOf(const std::string& path) {
    return WithoutTrailingBackslashes(path.substr(0, path.size() - FileNameOf(path).size()));
}

std::string AsciiLower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

bool PutOnClipboard(const std::string& text) {
    void* owner = reinterpret_cast<void*>(static_cast<intptr_t>(
        static_cast<int32_t>(CallCoreCommand(image_data::kCoreLibraryCommands[kGetWindowHandle], {FailureWindow()}).lo)));
    if (!runtime::CallDllCommand<int>(desktop_dll::kOpenClipboard, owner)) return false;
    bool placed = false;
    runtime::CallDllCommand<int>(desktop_dll::kEmptyClipboard);
    if (void* memory = runtime::CallDllCommand<void*>(desktop_dll::kGlobalAlloc, kMoveable, text.size() + 1)) {
        if (void* bytes = runtime::CallDllCommand<void*>(desktop_dll::kGlobalLock, memory)) {
            std::memcpy(bytes, text.c_str(), text.size() + 1);
            runtime::CallDllCommand<int>(desktop_dll::kGlobalUnlock, memory);
            placed = runtime::CallDllCommand<void*>(desktop_dll::kSetClipboardData, kClipboardText, memory) != nullptr;
        }
        // The clipboard owns the memory once it holds it.
        if (!placed) runtime::CallDllCommand<void*>(desktop_dll::kGlobalFree, memory);
    }
    runtime::CallDllCommand<int>(desktop_dll::kCloseClipboard);
    return placed;
}

}  // namespace

void RecordFailures(std::vector<FailedPicture> failures) {
    App().LastFailures = std::move(failures);
    WriteIntProperty(main_window::kWindow, main_window::kFailureListItem, main_window::kMenuDisabledProperty,
                     App().LastFailures.empty() ? 1 : 0);
}

void ShowFailureList() {
    if (App().LastFailures.empty()) return;
    BusyScope busy;
    LoadWindow(window::kWindow, window::kWindowRecord, true);
}

std::string FailureRowsText(const std::vector<FailedPicture>& failures) {
    std::string text;
    for (const FailedPicture& f : failures)
        text += FileNameOf(f.path) + "\t" + FolderOf(f.path) + "\t" + f.reason + "\r\n";
    return text;
}

}  // namespace ruvelto::app

using namespace ruvelto;
using namespace ruvelto::app;

RUVELTO_HANDLER(ruvelto_on_show_failure_list) { return ShowFailureList(), kNoAnswer; }

RUVELTO_HANDLER(ruvelto_on_failure_list_created) {
    int32_t row = 0;
    for (const FailedPicture& f : App().LastFailures) {
        const std::string name = FileNameOf(f.path);
        ListCall(kInsertItem, {IntValue(row), TextValue(name.c_str())});
        ListCall(kSetItemText, {IntValue(row), IntValue(1), TextValue(FolderOf(f.path).c_str())});
        ListCall(kSetItemText, {IntValue(row), IntValue(2), TextValue(f.reason.c_str())});
        ++row;
    }
    return kNoAnswer;
}

RUVELTO_HANDLER(ruvelto_on_failure_list_copy) {
    PutOnClipboard(FailureRowsText(App().LastFailures));
    return kNoAnswer;
}

// Checks exactly the pictures that failed (those still listed) and closes the window, so that
// the next run tries them again.
RUVELTO_HANDLER(ruvelto_on_failure_list_retry) {
    std::unordered_set<std::string> failed;
    for (const FailedPicture& f : App().LastFailures) failed.insert(AsciiLower(f.path));
    const int32_t rows = ListItemCount();
    for (int32_t r = 0; r < rows; ++r) SetListCheckState(r, failed.count(AsciiLower(RowPath(r))) ? 1 : 0);
    CallCoreCommand(image_data::kCoreLibraryCommands[kDestroyUnit], {FailureWindow()});
    return kNoAnswer;
}
