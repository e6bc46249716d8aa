#include "image-data/dir_tree_type.h"

namespace ruvelto::image_data {

TypeDescription DirTreeTypeDescription() {
    enum : uint16_t { kInteger = 1000, kLogical = 1003, kText = 1005, kChoice = 1006, kCursor = 1011, kFont = 1013, kColor = 1014 };
    constexpr uint16_t kCommon = 0xE000, kOwn = 0x8000;
    TypeDescription type;
    type.chineseName = "\xC4\xBF\xC2\xBC\xCA\xF7";  // 目录树
    type.englishName = "DirTree";
    type.flags = 0x80000040;
    type.properties = {{kInteger, kCommon}, {kInteger, kCommon}, {kInteger, kCommon}, {kInteger, kCommon},
                       {kText, kCommon},    {kLogical, kCommon}, {kLogical, kCommon}, {kCursor, kCommon}};
    // Border, TextColor, BackColor, HasButtons, HasLines, LinesAtRoot, ShowSelectionAlways,
    // ItemHeight, ShowFiles, Font, CurrentPath, ContextMenu, HotTracking, RootAtComputer,
    // FileSystemOnly.
    for (uint16_t p : {kChoice, kColor, kColor, kLogical, kLogical, kLogical, kLogical, kInteger, kLogical, kFont, kText,
                       kLogical, kLogical, kLogical, kLogical})
        type.properties.push_back({p, kOwn});
    type.typeInterface = {"ruvelto::extui::DirTreeInterface", "extui/dir_tree.h"};
    return type;
}

std::vector<uint8_t> DirTreeBlob(const DirTreeProperties& properties) {
    forms::PropertyBlobWriter writer;
    properties.Save(writer);
    return writer.Data();
}

}  // namespace ruvelto::image_data
