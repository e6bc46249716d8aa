// The folder browser (the shell's, reached through DLL commands) and the output folder choice.
#include <cstring>

#include "app/app_state.h"
#include "app/handlers.h"
#include "app/main_window_access.h"
#include "app/program_commands.h"
#include "app/texts.h"
#include "runtime/entry_table.h"

namespace ruvelto::app {
namespace {

using namespace main_window;

// DLL commands of the program image.
enum DllCommand : uint32_t {
    kSHBrowseForFolderA = 0, kSHGetPathFromIDListA = 1, kSendMessageA = 2, kCoTaskMemFree = 37,
};

constexpr uint32_t kBrowseInitialised = 1;          // BFFM_INITIALIZED
constexpr uint32_t kBrowseSetSelection = 0x466;     // BFFM_SETSELECTIONA
constexpr int32_t kEditBoxFlag = 0x10, kNewDialogFlag = 0x40, kIncludeFilesFlag = 0x4000;

// BROWSEINFOA as the platform lays it out: 32 bytes in a 32-bit process, 64 in a 64-bit one.
struct BrowseInfo {
    uintptr_t owner, root, displayName, title;
    uint32_t flags;
    uintptr_t callback, parameter;
    int32_t image;
};
static_assert(sizeof(BrowseInfo) == 8 * sizeof(void*));

int RUVELTO_DLL_CONVENTION BrowserCallback(void* window, uint32_t message, intptr_t, intptr_t) {
    if (message == kBrowseInitialised)
        runtime::CallDllCommand<intptr_t>(kSendMessageA, window, kBrowseSetSelection, intptr_t{1},
                                          reinterpret_cast<intptr_t>(App().BrowseInitialFolder));
    return 0;
}

}  // namespace

Text BrowseForFolder(const char* initialFolder, const char* title, bool includeFiles = false, bool editBox = true,
                     bool newDialogStyle = true) {
    BusyScope busy;
    auto* info = static_cast<BrowseInfo*>(Allocate(sizeof(BrowseInfo)));
    std::memset(info, 0, sizeof *info);
    char* titleCopy = CopyText(title ? title : texts::kChooseFolder);
    info->title = reinterpret_cast<uintptr_t>(titleCopy);
    info->flags = static_cast<uint32_t>(
        BitOr(BitOr(editBox ? kEditBoxFlag : 0, newDialogStyle ? kNewDialogFlag : 0), includeFiles ? kIncludeFilesFlag : 0));
    info->callback = reinterpret_cast<uintptr_t>(&BrowserCallback);
    Free(App().BrowseInitialFolder);
    App().BrowseInitialFolder = CopyText(initialFolder);
    Text buffer = SpaceText(512);
    void* chosen = runtime::CallDllCommand<void*>(kSHBrowseForFolderA, static_cast<void*>(info));
    runtime::CallDllCommand<int>(kSHGetPathFromIDListA, chosen, const_cast<char*>(buffer.c_str()));
    // The chosen item's list is the shell's, in the task allocator's memory.
    if (chosen) runtime::CallDllCommand<void>(kCoTaskMemFree, chosen);
    Free(titleCopy);
    Free(info);
    return TrimBoth(buffer.c_str());
}

}  // namespace ruvelto::app

using namespace ruvelto::app;
using namespace ruvelto::main_window;

RUVELTO_HANDLER(ruvelto_on_choose_output_folder) {
    Text folder = BrowseForFolder(nullptr, texts::kChooseOutputFolder);
    if (App().CloseRequested) return kNoAnswer;
    SetEditText(kOutputFolder, folder.c_str());
    return kNoAnswer;
}
