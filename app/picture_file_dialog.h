// The open-file dialog of "添加文件": one or several picture files at once.
#pragma once
#include <string>
#include <vector>

namespace ruvelto::app {

// Shows the dialog; the full paths chosen, in the dialog's order; empty when cancelled.
std::vector<std::string> ChoosePictureFiles();

}  // namespace ruvelto::app
