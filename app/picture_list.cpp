// Filling the picture list: importing a folder picked in the tree, adding a file through the
// open-file dialog, and checking all rows or inverting their checks.
#include "app/picture_list.h"

#include "app/app_state.h"
#include "app/handlers.h"
#include "app/message_pace.h"
#include "app/main_window_access.h"
#include "app/path_text.h"
#include "app/picture_file_dialog.h"
#include "app/picture_formats.h"
#include "app/picture_adding.h"
#include "app/remembered_options.h"
#include "app/subfolder_listing.h"
#include "app/program_commands.h"
#include "app/texts.h"

namespace ruvelto::app {
namespace {

using namespace main_window;

// "20.48KB": the size in thousands of bytes.
std::string SizeText(const std::string& path) {
    return std::string(ToText(GetFileSize(path.c_str()) / 1000.0).c_str()) + texts::kKilobytes;
}

void ReplaceSourceFolder(const std::string& folder) {
    Free(App().SourceFolder);
    App().SourceFolder = CopyText(folder.c_str());
}

// Scans SourceFolder for the pictures of one extension; the rows of each extension go in from
// position 1 on. Returns false when the list was replaced while pending messages were processed.
// A folder of thousands of pictures takes a while to list: the window keeps answering between
// rows.
bool ScanFolder(const char* extension, uint32_t generation) {
    if (!ListingStillWanted(generation)) return false;
    const std::string folder = WithBackslash(App().SourceFolder ? App().SourceFolder : "");
    ReplaceSourceFolder(folder);
    intptr_t search = 0;
    int32_t k = 0;
    bool wanted = true;
    const std::string pattern = std::string("*.") + extension;
    for (Text name = FindFile((folder + pattern).c_str(), &search); !name.empty(); name = FindFile(nullptr, &search)) {
        // A pattern also matches through a file's short name ("a.jpeg" is "A~1.JPE"): only the
        // extension itself counts, so that no file is listed twice.
        if (!SameExtension(ExtensionOf(name.c_str()), extension)) continue;
        ++k;
        AddPictureRow(k, name.c_str(), folder + name.c_str());
        if (!(wanted = ListingStillWanted(generation))) break;
    }
    EndFileSearch(search);
    return wanted;
}

void ImportFolder(const std::string& selected) {
    BusyScope busy;
    AppState& app = App();
    ReplaceSourceFolder(selected);
    DeleteAllListItems();
    app.ListedFiles.clear();
    const uint32_t generation = ++app.ListGeneration;
    // An item without a file-system path (the computer folder, say) lists nothing: scanning
    // "\" would list the root of the current drive.
    if (selected.empty()) return;
    for (const char* extension : texts::kListedExtensions)
        if (!ScanFolder(extension, generation)) return;
    if (IncludeSubfolders()) ListSubfolders(WithBackslash(selected), generation);
}

}  // namespace

int32_t AddPictureRow(int32_t position, const std::string& name, const std::string& path, const std::string& subfolder) {
    // The row comes in checked.
    const int32_t row = InsertListItem(position, name.c_str());
    if (row < 0) return row;
    SetListItemText(row, 2, SizeText(path).c_str());
    SetListItemText(row, 3, TimeToText(GetFileTime(path.c_str())).c_str());
    // A picture of a subfolder shows its folder, relative to the picked one, as its tip.
    if (!subfolder.empty()) SetListItemTip(row, subfolder.c_str());
    auto& files = App().ListedFiles;
    const size_t at = static_cast<size_t>(row) < files.size() ? static_cast<size_t>(row) : files.size();
    files.insert(files.begin() + static_cast<std::ptrdiff_t>(at), std::make_unique<ListedFile>(ListedFile{path, subfolder}));
    return row;
}

std::string RowPath(int32_t row) {
    const auto& files = App().ListedFiles;
    return row >= 0 && static_cast<size_t>(row) < files.size() ? files[static_cast<size_t>(row)]->path : std::string();
}

std::string RowSubfolder(int32_t row) {
    const auto& files = App().ListedFiles;
    return row >= 0 && static_cast<size_t>(row) < files.size() ? files[static_cast<size_t>(row)]->subfolder : std::string();
}

}  // namespace ruvelto::app

using namespace ruvelto::app;
using namespace ruvelto::main_window;

// Argument: true when the newly selected item is a file, not a folder. The tree re-selects the
// same folder after it refreshes; only a different folder replaces the list.
RUVELTO_HANDLER(ruvelto_on_folder_selected) {
    if (a0) return kNoAnswer;
    const Text path = SelectedTreePath();
    const std::string selected = path.c_str();
    const std::string current = App().SourceFolder ? App().SourceFolder : "";
    if (!current.empty() && !selected.empty() && WithBackslash(selected) == current) return kNoAnswer;
    ImportFolder(selected);
    return kNoAnswer;
}

// Several files may be chosen at once; each is appended as a dropped file is.
RUVELTO_HANDLER(ruvelto_on_add_file) {
    BusyScope busy;
    const std::vector<std::string> chosen = ChoosePictureFiles();
    if (chosen.empty() || App().CloseRequested) return kNoAnswer;
    ShowAddedCount(AddPictures(chosen));
    return kNoAnswer;
}

RUVELTO_HANDLER(ruvelto_on_check_all) {
    const int32_t count = ListItemCount();
    for (int32_t row = 0; row < count; ++row) SetListCheckState(row, 1);
    return kNoAnswer;
}

RUVELTO_HANDLER(ruvelto_on_invert_checks) {
    const int32_t count = ListItemCount();
    for (int32_t row = 0; row < count; ++row) SetListCheckState(row, ListCheckState(row) == 1 ? 0 : 1);
    return kNoAnswer;
}
