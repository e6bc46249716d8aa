// The menu item "去除照片信息（EXIF/GPS）": whether outputs go without their EXIF block (date
// taken, camera, GPS). Off by default; the choice is kept in the registry beside the program's
// other values and restored at start.
#pragma once

namespace ruvelto::app {

// Sets the menu item's check from the registry (main window created).
void RestorePhotoInfoChoice();
// Whether the menu item is checked: outputs carry no EXIF.
bool StripPhotoInfo();

}  // namespace ruvelto::app
