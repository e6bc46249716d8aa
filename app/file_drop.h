// Files and folders dropped from the shell onto the main window (the picture list included) are
// added as "添加文件" adds them; a drop during a run is refused with a word in the status bar.
#pragma once
#include <cstdint>

namespace ruvelto::app {

// Asks the shell to drop files on the main window (its handle as a word).
void AcceptDroppedFiles(int32_t mainWindow);

}  // namespace ruvelto::app
