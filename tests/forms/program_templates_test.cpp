// The program's own window templates, as the generated program image carries them, read back
// the way start-up reads them.
#include <gtest/gtest.h>

#include "forms/template_reader.h"
#include "forms/template_segment.h"
#include "image-data/program_image_data.h"

namespace ruvelto::forms {
namespace {

TEST(ProgramTemplates, FourWindowsWithTheirRosters) {
    const runtime::ProgramImageHeader& image = image_data::ProgramImage();
    std::vector<std::unique_ptr<WindowUnit>> units;
    ASSERT_TRUE(ReadTemplateSegment(image.templateStart, image.templateLength, 0x400000, units));
    ASSERT_EQ(units.size(), 4u);
    struct Expected {
        uint32_t id;
        uint32_t records;
        int32_t rectangle[4];
    };
    const Expected expected[] = {
        {0x52010001, 57, {50, 50, 800, 580}}, {0x52010258, 7, {50, 50, 380, 250}}, {0x52010261, 6, {50, 50, 315, 279}},
        {0x52010270, 4, {80, 80, 540, 330}}};
    for (size_t i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(units[i]->windowId, expected[i].id);
        ASSERT_EQ(units[i]->recordCount, expected[i].records);
        auto table = units[i]->Table();
        EXPECT_EQ(table.TypeCodeAt(0), kWindowTypeCode);
        RecordSpan own = table.RecordAt(0);
        auto layout = ParseComponentRecord(own.data, own.length);
        ASSERT_TRUE(layout);
        for (int k = 0; k < 4; ++k)
            EXPECT_EQ(static_cast<int32_t>(LoadWord(own.data + layout->rectangleAt + 4 * k)), expected[i].rectangle[k]);
    }
    // The main window: fourteen menu items, then the components; 选择框5 sits in 分组框3.
    auto main = units[0]->Table();
    for (uint32_t r = 1; r <= 14; ++r) EXPECT_EQ(main.TypeCodeAt(r), kMenuItemTypeCode) << r;
    RecordSpan box = main.RecordAt(15);
    auto layout = ParseComponentRecord(box.data, box.length);
    ASSERT_TRUE(layout);
    EXPECT_STREQ(reinterpret_cast<const char*>(box.data + layout->nameAt), "\xD1\xA1\xD4\xF1\xBF\xF2" "5");
    int32_t group = main.IndexOf(LoadWord(box.data + layout->containerAt));
    ASSERT_GT(group, 0);
    RecordSpan groupRecord = main.RecordAt(group);
    auto groupLayout = ParseComponentRecord(groupRecord.data, groupRecord.length);
    EXPECT_STREQ(reinterpret_cast<const char*>(groupRecord.data + groupLayout->nameAt), "\xB7\xD6\xD7\xE9\xBF\xF2" "3");
    EXPECT_EQ(groupLayout->childCount, 23u);
}

}  // namespace
}  // namespace ruvelto::forms
