#include "app/picture_file_dialog.h"

#include <cstdint>
#include <cstring>

#include "app/desktop_dll_commands.h"
#include "app/path_text.h"
#include "runtime/entry_table.h"

namespace ruvelto::app {
namespace {

// OPENFILENAMEA as the platform lays it out, in a 32-bit and in a 64-bit process.
struct OpenFileName {
    uint32_t structSize;
    uintptr_t owner, instance;
    const char* filter;
    char* customFilter;
    uint32_t customFilterSize, filterIndex;
    char* file;
    uint32_t fileSize;
    char* fileTitle;
    uint32_t fileTitleSize;
    const char* initialDirectory;
    const char* title;
    uint32_t flags;
    uint16_t fileOffset, fileExtension;
    const char* defaultExtension;
    intptr_t customData;
    uintptr_t hook;
    const char* templateName;
    void* reserved;
    uint32_t reserved2, flagsEx;
};
static_assert(sizeof(OpenFileName) == (sizeof(void*) == 8 ? 152 : 88));

constexpr uint32_t kFileMustExist = 0x1000, kPathMustExist = 0x800, kHideReadOnly = 0x4;
constexpr uint32_t kAllowMultiSelect = 0x200, kExplorer = 0x80000;
// Room for the names of a few thousand files chosen at once.
constexpr size_t kNamesRoom = 512 * 1024;

// Description and pattern, each ending in a zero, and a zero after the last pair.
constexpr char kFilter[] =
    "*.jpg;*.jpeg;*.jpe;*.png;*.gif;*.bmp;*.ico\0*.jpg;*.jpeg;*.jpe;*.png;*.gif;*.bmp;*.ico\0";

}  // namespace

std::vector<std::string> ChoosePictureFiles() {
    std::vector<char> names(kNamesRoom, '\0');
    OpenFileName dialog;
    std::memset(&dialog, 0, sizeof dialog);
    dialog.structSize = sizeof dialog;
    dialog.filter = kFilter;
    dialog.filterIndex = 1;
    dialog.file = names.data();
    dialog.fileSize = static_cast<uint32_t>(names.size());
    dialog.flags = kFileMustExist | kPathMustExist | kHideReadOnly | kAllowMultiSelect | kExplorer;
    if (!runtime::CallDllCommand<int>(desktop_dll::kGetOpenFileNameA, static_cast<void*>(&dialog))) return {};
    // One file: its full path. Several: the folder, then each name, every one ending in a zero.
    std::vector<std::string> parts;
    for (const char* p = names.data(); *p && p < names.data() + names.size(); p += std::strlen(p) + 1) parts.push_back(p);
    if (parts.size() <= 1) return parts;
    std::vector<std::string> paths;
    const std::string folder = WithBackslash(parts[0]);
    for (size_t i = 1; i < parts.size(); ++i) paths.push_back(folder + parts[i]);
    return paths;
}

}  // namespace ruvelto::app
