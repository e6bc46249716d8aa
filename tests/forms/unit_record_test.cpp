// Live component tables rewritten in place (tags, cursor data, child lists, captions, removed
// records) and the window's property blob across its versions. Portable.
#include <gtest/gtest.h>

#include "forms/property_blob.h"
#include "forms/template_segment.h"
#include "forms/unit_record.h"
#include "forms/window_properties.h"
#include "image-data/template_writer.h"

namespace ruvelto::forms {
namespace {

using namespace image_data;

// One window: its record, a menu item, a container with two children, and a last record.
std::unique_ptr<WindowUnit> ReadWindow() {
    WindowDescription w;
    w.windowId = 0x52010001;
    w.window.At(0, 0, 300, 200).Flags(kVisible);
    w.menu = {MenuItem("File", 0)};
    w.components = {Component(type_code::kGroupBox, "group").At(1, 2, 3, 4).Tag("t").Properties({0xAA}),
                    Component(type_code::kEditBox, "inner").In("group").At(5, 6, 7, 8).Properties({0xBB, 0xCC}),
                    Component(type_code::kButton, "last").At(9, 10, 11, 12).Flags(kVisible | kTabStop).Tag("end")
                        .Properties({0xDD})};
    w.components[1].tabOrder = 3;
    std::vector<std::unique_ptr<WindowUnit>> units;
    auto segment = WriteTemplateSegment({w});
    EXPECT_TRUE(ReadTemplateSegment(segment.bytes.data(), uint32_t(segment.bytes.size()), 0, units));
    return std::move(units.at(0));
}

// Every record still parses and the last one keeps every field.
void ExpectIntact(WindowUnit& unit, uint32_t lastIndex) {
    EXPECT_TRUE(ValidComponentTable(unit.table.data(), uint32_t(unit.table.size()), unit.recordCount));
    auto last = ComponentRecordAt(unit, lastIndex);
    ASSERT_TRUE(last);
    EXPECT_EQ(last->Name(), "last");
    EXPECT_EQ(last->Rect(0), 9);
    EXPECT_EQ(last->Rect(3), 12);
    EXPECT_EQ(last->Tag(), "end");
    EXPECT_EQ(last->StateFlags(), kVisible | kTabStop);
    ASSERT_EQ(last->PropertyBlockLength(), 1u);
    EXPECT_EQ(last->PropertyBlock()[0], 0xDD);
}

TEST(UnitRecord, VariableFieldsAreRewrittenInPlaceAndLaterRecordsShift) {
    auto unit = ReadWindow();
    ASSERT_EQ(unit->recordCount, 5u);
    const uint32_t group = 2, inner = 3, last = 4;
    ASSERT_TRUE(MenuRecordAt(*unit, 1));
    EXPECT_FALSE(ComponentRecordAt(*unit, 1));

    ReplaceTag(*unit, group, "a much longer tag than the one before");
    EXPECT_EQ(ComponentRecordAt(*unit, group)->Tag(), "a much longer tag than the one before");
    EXPECT_EQ(ComponentRecordAt(*unit, group)->PropertyBlock()[0], 0xAA);
    ExpectIntact(*unit, last);

    ReplaceTag(*unit, group, "");
    ReplaceCursorData(*unit, inner, {1, 2, 3, 4, 5, 6});
    auto record = ComponentRecordAt(*unit, inner);
    ASSERT_EQ(record->CursorDataLength(), 6u);
    EXPECT_EQ(record->CursorData()[5], 6);
    EXPECT_EQ(record->TabOrder(), 3);
    EXPECT_EQ(record->PropertyBlockLength(), 2u);
    ExpectIntact(*unit, last);

    const uint32_t innerId = unit->Table().IdAt(inner);
    EXPECT_EQ(ComponentRecordAt(*unit, group)->Children(), std::vector<uint32_t>{innerId});
    ReplaceChildList(*unit, group, {innerId, 0, innerId});
    EXPECT_EQ(ComponentRecordAt(*unit, group)->Children(), (std::vector<uint32_t>{innerId, 0, innerId}));
    ReplaceChildList(*unit, group, {});
    EXPECT_TRUE(ComponentRecordAt(*unit, group)->Children().empty());
    ExpectIntact(*unit, last);

    ReplaceMenuCaption(*unit, 1, "A longer caption");
    EXPECT_EQ(MenuRecordAt(*unit, 1)->Caption(), "A longer caption");
    ExpectIntact(*unit, last);
}

TEST(UnitRecord, RemovingRecordsKeepsIdsOffsetsAndTheRestReadable) {
    auto unit = ReadWindow();
    const uint32_t lastId = unit->Table().IdAt(4), groupId = unit->Table().IdAt(2);
    RemoveRecord(*unit, 3);
    ASSERT_EQ(unit->recordCount, 4u);
    EXPECT_EQ(unit->Table().IndexOf(lastId), 3);
    ExpectIntact(*unit, 3);
    RemoveRecord(*unit, 1);  // the menu item
    EXPECT_EQ(unit->Table().IndexOf(groupId), 1);
    ExpectIntact(*unit, 2);
    RemoveRecord(*unit, 2);  // the last record
    EXPECT_EQ(unit->recordCount, 2u);
    EXPECT_EQ(unit->Table().IndexOf(lastId), -1);
    EXPECT_TRUE(ValidComponentTable(unit->table.data(), uint32_t(unit->table.size()), unit->recordCount));
}

TEST(WindowPropertiesBlob, RoundTripsAndReadsOlderVersionsWithDefaults) {
    WindowProperties p;
    p.caption = "main";
    p.borderStyle = 1;
    p.picture = {1, 2, 3};
    p.icon = {4};
    p.sound = {5, 6};
    p.helpFile = "help.hlp";
    p.className = "Mine";
    p.shape = 13;
    p.alwaysOnTop = p.keepActiveCaption = p.dragByClient = true;
    p.showInTaskbar = false;
    std::vector<uint8_t> blob = p.Save();
    WindowProperties q;
    ASSERT_TRUE(q.Load(blob.data(), uint32_t(blob.size())));
    EXPECT_EQ(q.Save(), blob);

    // Version 1: no ShowInTaskbar, DragByClient, Shape, AlwaysOnTop, KeepActiveCaption, ClassName.
    PropertyBlobWriter v1;
    v1.U32(1);
    for (uint32_t field : {4u, 3u, 0x123456u, 1u, 1u, 0u, 2u, 0u, 1u, 1u, 0u, 1u, 77u}) v1.U32(field);
    v1.Bytes({}), v1.Bytes({}), v1.Bytes({}), v1.Text("old"), v1.Text("");
    ASSERT_TRUE(q.Load(v1.Data().data(), uint32_t(v1.Data().size())));
    EXPECT_EQ(q.borderStyle, 4u);
    EXPECT_EQ(q.backColor, 0x123456u);
    EXPECT_EQ(q.helpContext, 77u);
    EXPECT_EQ(q.caption, "old");
    EXPECT_TRUE(q.showInTaskbar);
    EXPECT_EQ(q.shape, 0u);
    EXPECT_TRUE(q.className.empty());

    std::vector<uint8_t> newer = blob;
    newer[0] = 7;
    EXPECT_FALSE(q.Load(newer.data(), uint32_t(newer.size())));
    EXPECT_EQ(q.borderStyle, 2u);  // refused: the defaults
    EXPECT_FALSE(q.Load(blob.data(), uint32_t(blob.size() - 1)));
    EXPECT_TRUE(q.Load(nullptr, 0));
    EXPECT_EQ(q.pictureMode, 1u);
}

}  // namespace
}  // namespace ruvelto::forms
