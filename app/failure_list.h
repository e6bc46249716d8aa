// The pictures the last run could not convert: the window "失败的图片" that lists them (file
// name, folder, reason), copies them to the clipboard and checks them again for another run, and
// the menu item "失败列表" that opens it while there is something to list.
#pragma once
#include <string>
#include <vector>

#include "app/app_state.h"

namespace ruvelto::app {

// Keeps the failures of the run that just ended and greys or enables the menu item.
void RecordFailures(std::vector<FailedPicture> failures);
// Opens the window, modal; returns when it is closed.
void ShowFailureList();
// The rows as the clipboard gets them: name, folder and reason separated by tabs, a line each.
std::string FailureRowsText(const std::vector<FailedPicture>& failures);

}  // namespace ruvelto::app
