// "包含子文件夹": after a folder picked in the tree has listed its own pictures, the pictures of
// its subfolders, at any depth, are appended folder by folder, each row remembering its folder
// relative to the picked one.
#pragma once
#include <cstdint>
#include <string>

namespace ruvelto::app {

// Appends the pictures below folder (which ends in "\"). Stops when the list is replaced
// meanwhile (generation changed) or the window is closing.
void ListSubfolders(const std::string& folder, uint32_t generation);

}  // namespace ruvelto::app
