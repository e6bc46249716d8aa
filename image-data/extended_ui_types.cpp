#include "image-data/extended_ui_types.h"

#include <string>

#include "image-data/component_type.h"

namespace ruvelto::image_data {
namespace {

TypeDescription Type(const char* chinese, const char* english, uint32_t flags, const char* interface,
                     std::initializer_list<uint16_t> own) {
    return ComponentType(chinese, english, flags, {std::string("ruvelto::extui::") + interface, "extui/extended_types.h"},
                         own);
}

}  // namespace

void DescribeExtendedUiComponents(std::vector<TypeDescription>& types) {
    using namespace property_types;
    if (types.size() < 5) types.resize(5);
    // BackColor, Alignment, SizeGrip, Font, PanelImages, Panels.
    types[1] = Type("\xD7\xB4\xCC\xAC\xCC\xF5", "StatusBar", 0x80100040, "StatusBarInterface",  // 状态条
                    {kBackColor, kChoice, kLogical, kFont, kImageList, kCustomData});
    // Border .. EditedText: indexes 8-38.
    types[3] = Type("\xB3\xAC\xBC\xB6\xC1\xD0\xB1\xED\xBF\xF2", "ListView", 0x80000040, "ListViewInterface",  // 超级列表框
                    {kChoice,    kColor,     kBackColor, kBackColor, kFont,      kChoice,    kChoice,    kLogical,
                     kLogical,   kCustomData, kLogical,  kImageList, kLogical,   kLogical,   kLogical,   kLogical,
                     kImageList, kImageList, kLogical,   kLogical,   kLogical,   kLogical,   kLogical,   kChoice,
                     kLogical,   kLogical,   kLogical,   kInteger,   kLogical,   kCustomData, kText});
    // Caption, Effect, Font, TextColor, HorizontalAlign, WordWrap, VerticalAlign.
    types[4] = Type("\xCD\xB8\xC3\xF7\xB1\xEA\xC7\xA9", "TransLabel", 0x80000040, "TransLabelInterface",  // 透明标签
                    {kText, kChoice, kFont, kColor, kChoice, kLogical, kChoice});
}

}  // namespace ruvelto::image_data
