// The program's windows, one description file each, in the order of the template segment.
#pragma once
#include <vector>

#include "image-data/window_description.h"

namespace ruvelto::image_data {

WindowDescription MainWindow();
WindowDescription AboutWindow();
WindowDescription OfferWindow();
WindowDescription FailureListWindow();

inline std::vector<WindowDescription> ProgramWindows() { return {MainWindow(), AboutWindow(), OfferWindow(), FailureListWindow()}; }

}  // namespace ruvelto::image_data
