#include "image-data/dir_tree_type.h"

#include "image-data/component_type.h"

namespace ruvelto::image_data {

TypeDescription DirTreeTypeDescription() {
    using namespace property_types;
    // Border, TextColor, BackColor, HasButtons, HasLines, LinesAtRoot, ShowSelectionAlways,
    // ItemHeight, ShowFiles, Font, CurrentPath, ContextMenu, HotTracking, RootAtComputer,
    // FileSystemOnly.
    return ComponentType("\xC4\xBF\xC2\xBC\xCA\xF7", "DirTree", 0x80000040,  // 目录树
                         {"ruvelto::extui::DirTreeInterface", "extui/dir_tree.h"},
                         {kChoice, kColor, kColor, kLogical, kLogical, kLogical, kLogical, kInteger, kLogical, kFont,
                          kText, kLogical, kLogical, kLogical, kLogical});
}

std::vector<uint8_t> DirTreeBlob(const DirTreeProperties& properties) {
    forms::PropertyBlobWriter writer;
    properties.Save(writer);
    return writer.Data();
}

}  // namespace ruvelto::image_data
