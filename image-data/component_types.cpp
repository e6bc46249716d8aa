#include "image-data/component_types.h"

#include <string>

#include "image-data/component_type.h"

namespace ruvelto::image_data {
namespace {

TypeDescription Type(const char* chinese, const char* english, uint32_t flags, const char* interface,
                     std::initializer_list<uint16_t> own) {
    return ComponentType(chinese, english, flags,
                         {std::string("ruvelto::components::") + interface, "components/standard_types.h"}, own);
}

}  // namespace

void DescribeStandardComponents(std::vector<TypeDescription>& types) {
    using namespace property_types;
    if (types.size() < 31) types.resize(31);
    types[4] = Type("\xB1\xE0\xBC\xAD\xBF\xF2", "EditBox", 0x80000040, "EditBoxInterface",
                    {kText, kChoice, kColor, kBackColor, kFont, kLogical, kInteger, kLogical, kChoice, kChoice, kChoice,
                     kText, kChoice, kChoice, kInteger, kInteger, kInteger, kInteger, kText, kDataSource, kDataField});
    types[5] = Type("\xCD\xBC\xC6\xAC\xBF\xF2", "PicBox", 0x840100C0, "PicBoxInterface",
                    {kChoice, kBackColor, kPicture, kChoice, kLogical, kDataSource, kDataField});
    types[7] = Type("\xBB\xAD\xB0\xE5", "DrawPanel", 0x800200C0, "DrawPanelInterface",
                    {kChoice, kBackColor, kPicture, kChoice, kLogical, kChoice, kChoice, kChoice, kInteger, kColor,
                     kChoice, kColor, kColor, kColorOrNone, kFont, kInteger, kInteger});
    types[30] = Type("\xCD\xA8\xD3\xC3\xB6\xD4\xBB\xB0\xBF\xF2", "CommonDlg", 0x80008040, "CommonDlgInterface",
                     {kChoice, kText, kText, kText, kInteger, kText, kText, kLogical, kLogical, kLogical, kLogical,
                      kLogical, kColor, kLogical, kLogical, kLogical, kLogical, kText, kInteger, kText, kChoice,
                      kInteger});
    types[6] = Type("\xCD\xE2\xD0\xCE\xBF\xF2", "ShapeBox", 0x840100C0, "ShapeBoxInterface",
                    {kBackColor, kChoice, kChoice, kChoice, kInteger, kColor, kColorOrNone});
    types[8] = Type("\xB7\xD6\xD7\xE9\xBF\xF2", "GroupBox", 0x840140C0, "GroupBoxInterface",
                    {kText, kChoice, kColor, kBackColor, kFont});
    types[9] = Type("\xB1\xEA\xC7\xA9", "Label", 0x84012040, "LabelInterface",
                    {kText, kChoice, kChoice, kInteger, kColorOrNone, kColorOrNone, kColorOrNone, kFont, kColor,
                     kBackColor, kPicture, kChoice, kChoice, kColorOrNone, kColorOrNone, kColorOrNone, kChoice, kLogical,
                     kChoice, kDataSource, kDataField});
    types[10] = Type("\xB0\xB4\xC5\xA5", "Button", 0x80000840, "ButtonInterface",
                     {kPicture, kChoice, kText, kChoice, kChoice, kFont});
    types[11] = Type("\xD1\xA1\xD4\xF1\xBF\xF2", "CheckBox", 0x80001040, "CheckBoxInterface",
                     {kPicture, kLogical, kLogical, kText, kLogical, kChoice, kChoice, kColor, kBackColor, kFont,
                      kLogical, kDataSource, kDataField});
    types[12] = Type("\xB5\xA5\xD1\xA1\xBF\xF2", "RadioBox", 0x80000440, "RadioBoxInterface",
                     {kPicture, kLogical, kLogical, kText, kLogical, kChoice, kChoice, kColor, kBackColor, kFont,
                      kLogical});
    types[16] = Type("\xBA\xE1\xCF\xF2\xB9\xF6\xB6\xAF\xCC\xF5", "HScrollBar", 0x80020040, "HScrollBarInterface",
                     {kInteger, kInteger, kInteger, kInteger, kInteger, kLogical});
    types[18] = Type("\xBD\xF8\xB6\xC8\xCC\xF5", "ProcessBar", 0x84010040, "ProcessBarInterface",
                     {kChoice, kChoice, kChoice, kInteger, kInteger, kInteger});
    types[19] = Type("\xBB\xAC\xBF\xE9\xCC\xF5", "SliderBar", 0x80000040, "SliderBarInterface",
                     {kChoice, kChoice, kChoice, kInteger, kLogical, kInteger, kInteger, kInteger, kInteger, kInteger,
                      kInteger, kInteger});
}

}  // namespace ruvelto::image_data
