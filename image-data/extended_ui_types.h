// The type descriptors of the extended UI library's components: StatusBar (type 2), ListView
// (type 4) and TransLabel (type 5), with names, type flags, property lists and type interfaces.
#pragma once
#include <vector>

#include "image-data/program_image_description.h"

namespace ruvelto::image_data {

// Fills their slots in the library's type list (grown to hold them). The interfaces are named
// for emitted C++; a memory image sets their addresses itself.
void DescribeExtendedUiComponents(std::vector<TypeDescription>& types);

}  // namespace ruvelto::image_data
