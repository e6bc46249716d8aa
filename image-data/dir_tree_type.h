// The DirTree type of the directory tree library as the program image describes it: its names,
// type flags, the eight common properties followed by its own fifteen, and its type interface,
// and the property blocks that window descriptions give a DirTree.
#pragma once
#include <cstdint>
#include <vector>

#include "extui/dir_tree_properties.h"
#include "image-data/program_image_description.h"

namespace ruvelto::image_data {

using extui::DirTreeProperties;

// The interface is named for emitted C++; a memory image sets its address itself.
TypeDescription DirTreeTypeDescription();

// The property block of a DirTree: the defaults changed where the description says, e.g.
//   DirTreeProperties tree; tree.rootAtComputer = 1;
//   Component(kDirTree, "...").Properties(DirTreeBlob(tree))
std::vector<uint8_t> DirTreeBlob(const DirTreeProperties& properties);

}  // namespace ruvelto::image_data
