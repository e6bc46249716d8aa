#include "app/picture_adding.h"

#include <unordered_set>

#include "app/app_state.h"
#include "app/file_commands.h"
#include "app/message_pace.h"
#include "app/path_text.h"
#include "app/picture_formats.h"
#include "app/picture_list.h"
#include "app/program_commands.h"
#include "app/status_text.h"
#include "app/texts.h"

namespace ruvelto::app {
namespace {

std::string AsciiLower(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// The listed paths, folded for comparison: the file system does not tell A.JPG from a.jpg.
class ListedPaths {
public:
    ListedPaths() {
        for (const auto& file : App().ListedFiles) paths_.insert(AsciiLower(file->path));
    }
    // False when the path is listed already; otherwise it counts as listed from now on.
    bool Claim(const std::string& path) { return paths_.insert(AsciiLower(path)).second; }

private:
    std::unordered_set<std::string> paths_;
};

// listed is null where the path cannot be listed already (a folder of the tree, listed once).
bool AppendPicture(const std::string& path, const std::string& subfolder, ListedPaths* listed, AddedCount& count) {
    if (listed && !listed->Claim(path)) {
        ++count.skipped;
        return false;
    }
    if (AddPictureRow(ListItemCount(), FileNameOf(path), path, subfolder) < 0) return false;
    ++count.added;
    return true;
}

bool AppendFolder(const std::string& folder, const std::string& subfolder, uint32_t generation, ListedPaths* listed,
                  AddedCount& count) {
    for (const char* extension : texts::kListedExtensions) {
        intptr_t search = 0;
        bool wanted = true;
        for (Text name = FindFile((folder + "*." + extension).c_str(), &search); !name.empty();
             name = FindFile(nullptr, &search)) {
            if (!SameExtension(ExtensionOf(name.c_str()), extension)) continue;
            if (AppendPicture(folder + name.c_str(), subfolder, listed, count) && !(wanted = ListingStillWanted(generation)))
                break;
        }
        EndFileSearch(search);
        if (!wanted) return false;
    }
    return true;
}

}  // namespace

bool SameExtension(const std::string& extension, const std::string& other) {
    return AsciiLower(extension) == AsciiLower(other);
}

bool IsPictureName(const std::string& name) {
    const std::string extension = ExtensionOf(name);
    for (const char* listed : texts::kListedExtensions)
        if (SameExtension(extension, listed)) return true;
    return false;
}

AddedCount AddPictures(const std::vector<std::string>& paths) {
    BusyScope busy;
    AddedCount count;
    ListedPaths listed;
    const uint32_t generation = App().ListGeneration;
    for (const std::string& path : paths) {
        bool exists = false;
        if (IsFolder(path, exists)) {
            if (!AppendFolder(WithBackslash(path), "", generation, &listed, count)) break;
            continue;
        }
        if (!exists || !IsPictureName(path)) {
            ++count.skipped;
            continue;
        }
        if (AppendPicture(path, "", &listed, count) && !ListingStillWanted(generation)) break;
    }
    return count;
}

bool AppendFolderPictures(const std::string& folder, const std::string& subfolder, uint32_t generation,
                          AddedCount& count) {
    return AppendFolder(folder, subfolder, generation, nullptr, count);
}

void ShowAddedCount(const AddedCount& count) {
    ShowStatusText(std::string(texts::kAddedBefore) + std::to_string(count.added) + texts::kAddedMiddle +
                   std::to_string(count.skipped) + texts::kAddedAfter);
}

}  // namespace ruvelto::app
