// The check boxes "保持比例" (a custom size is a box the picture fits into, its proportions kept)
// and "包含子文件夹" (a folder picked in the tree lists its subfolders' pictures too). Both are off
// by default and remembered in the registry beside the program's other values.
#pragma once

namespace ruvelto::app {

// Sets both boxes from the registry (main window created).
void RestoreRememberedOptions();
bool KeepProportions();
bool IncludeSubfolders();

}  // namespace ruvelto::app
