// Adding pictures to the list from a set of paths, as files dropped on the window or several
// files chosen at once come: pictures are appended in the order given, a folder brings its own
// pictures (not its subfolders'), and nothing is listed twice.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace ruvelto::app {

// Whether two extensions are the same, ASCII letters compared without regard to case.
bool SameExtension(const std::string& extension, const std::string& other);
// Whether a file name has one of the extensions the list takes.
bool IsPictureName(const std::string& name);

struct AddedCount {
    int32_t added = 0;    // rows appended
    int32_t skipped = 0;  // files that are not pictures, and pictures already listed
};

// Appends a checked row for each picture among paths. Lets pending messages through between rows,
// so that thousands of files keep the window answering; stops early when the list is replaced
// meanwhile or the window is closing.
AddedCount AddPictures(const std::vector<std::string>& paths);
// "已添加 N 个图片，跳过 M 个文件" in the status bar.
void ShowAddedCount(const AddedCount& count);

// Appends the pictures of one folder (folder ends in "\"), each listed extension in turn, rows
// naming the folder relative to the picked one as subfolder. False when the list was replaced
// meanwhile (generation changed) or the window is closing. The folder is one not listed before.
bool AppendFolderPictures(const std::string& folder, const std::string& subfolder, uint32_t generation,
                          AddedCount& count);

}  // namespace ruvelto::app
