// The type descriptors of the core library's standard components: names, type flags, property
// lists (the eight common properties, then the type's own) and type interfaces.
#pragma once
#include <vector>

#include "image-data/program_image_description.h"

namespace ruvelto::image_data {

// Fills the slots of Button, CheckBox, RadioBox, EditBox, Label, GroupBox, ShapeBox, PicBox,
// DrawPanel, ProcessBar, SliderBar, HScrollBar and CommonDlg in the core library's type list
// (grown to hold them). The interfaces
// are named for emitted C++; a memory image sets their addresses itself.
void DescribeStandardComponents(std::vector<TypeDescription>& coreTypes);

}  // namespace ruvelto::image_data
