#include "app/subfolder_listing.h"

#include <vector>

#include "app/app_state.h"
#include "app/message_pace.h"
#include "app/path_text.h"
#include "app/picture_adding.h"
#include "app/program_commands.h"
#include "app/runtime_facade.h"

namespace ruvelto::app {
namespace {

// Deeper than any real picture collection; a folder link that leads back up ends here.
constexpr int kDeepestLevel = 32;

std::vector<std::string> SubfolderNames(const std::string& folder) {
    std::vector<std::string> names;
    intptr_t search = 0;
    for (Text name = FindFolder((folder + "*").c_str(), &search); !name.empty(); name = FindFolder(nullptr, &search)) {
        const std::string n = name.c_str();
        if (n != "." && n != "..") names.push_back(n);
    }
    EndFileSearch(search);
    return names;
}

// Depth first, in the order the file system gives the names: a folder's pictures come right
// after its parent's.
bool ListBelow(const std::string& folder, const std::string& relative, int level, uint32_t generation,
               AddedCount& count) {
    if (level > kDeepestLevel) return true;
    for (const std::string& name : SubfolderNames(folder)) {
        const std::string path = folder + name + "\\";
        if (PathCharacterCount(path) > kLongestPath) continue;
        const std::string subfolder = relative.empty() ? name : relative + "\\" + name;
        // A tree of many folders holding few pictures keeps the window answering too.
        if (!ListingStillWanted(generation)) return false;
        if (!AppendFolderPictures(path, subfolder, generation, count)) return false;
        if (!ListBelow(path, subfolder, level + 1, generation, count)) return false;
    }
    return true;
}

}  // namespace

void ListSubfolders(const std::string& folder, uint32_t generation) {
    AddedCount count;
    ListBelow(folder, "", 1, generation, count);
}

}  // namespace ruvelto::app
