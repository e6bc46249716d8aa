// Window templates written by the builder and read back as the runtime reads them at start-up:
// the byte layout of records and tables, unit ids, handler relocation and lookup, and the
// segments that must be refused.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "forms/template_reader.h"
#include "forms/template_segment.h"
#include "image-data/template_stream.h"
#include "image-data/template_writer.h"

namespace ruvelto {
namespace {

using namespace image_data;
using forms::ReadTemplateSegment;
using forms::WindowUnit;
using Bytes = std::vector<uint8_t>;
using Units = std::vector<std::unique_ptr<WindowUnit>>;

constexpr uint32_t kCodeBase = 0x00401000;

// Hand-assembled expectations: words little-endian, texts as given.
struct Expect {
    Bytes bytes;
    Expect& W(uint32_t v) {
        for (int s = 0; s < 32; s += 8) bytes.push_back(uint8_t(v >> s));
        return *this;
    }
    Expect& T(const std::string& text) {
        bytes.insert(bytes.end(), text.begin(), text.end());
        return *this;
    }
    Expect& Z(const std::string& text) { return T(text).T(std::string(1, '\0')); }
};

WindowDescription Window(uint32_t id) {
    WindowDescription w;
    w.windowId = id;
    w.window.At(50, 50, 380, 250).Flags(kVisible);
    return w;
}

Units Read(const Bytes& segment) {
    Units units;
    EXPECT_TRUE(ReadTemplateSegment(segment.data(), uint32_t(segment.size()), kCodeBase, units));
    return units;
}

TEST(TemplateWriter, ComponentRecordHasEveryFieldInOrder) {
    ComponentDescription box = Component(type_code::kCheckBox, "\xD1\xA1\xD4\xF1\xBF\xF2" "5")  // 选择框5
                                   .At(441, -8, 40, 20)
                                   .Flags(kVisible | kDisabled | kTabStop)
                                   .On(0, HandlerRef::Offset(0x20))
                                   .On(-1, HandlerRef::None())
                                   .Tag("t")
                                   .Properties({0xAA, 0xBB});
    HandlerTable handlers;
    Bytes record = WriteComponentRecord(box, 0x16000007, 0x16000009, {0x16000011, 0, 0x16000012}, handlers);
    Expect e;
    e.W(0x1000C).W(0x16000007).W(0).W(0).W(0).W(0);       // type, handler link, reserved
    e.Z("\xD1\xA1\xD4\xF1\xBF\xF2" "5").Z("");              // name, remark
    e.W(0).W(441).W(uint32_t(-8)).W(40).W(20).W(0);         // live object, rectangle, cursor handle
    e.W(0x16000009).W(3).W(0x16000011).W(0).W(0x16000012);  // container, child list
    e.W(4).W(0);                                            // cursor data: the standard pointer
    e.Z("t").W(0).W(7).W(0);                                // tag, reserved, state flags, tab order
    e.W(2).W(0).W(0x20).W(uint32_t(-1)).W(uint32_t(-1));    // event table
    e.W(0).W(0).W(0).W(0).W(0);                             // reserved
    e.T("\xAA\xBB");                                        // property block
    EXPECT_EQ(record, e.bytes);
}

TEST(TemplateWriter, MenuItemRecordAndComponentTable) {
    HandlerTable handlers;
    MenuItemDescription exit = MenuItem("\xCD\xCB\xB3\xF6", 1, HandlerRef::Named("app_exit"));  // 退出
    Bytes item = WriteMenuItemRecord(exit, handlers);
    Expect e;
    e.W(0x10003).W(0).W(0).W(0).W(0).W(0).Z("").Z("");
    e.W(0).W(1).W(0).Z("\xCD\xCB\xB3\xF6").W(0).W(0);  // shortcut, level, flags, caption, handler 0, reserved
    EXPECT_EQ(item, e.bytes);

    Bytes table = WriteComponentTable({0x06000001, 0x26000002}, {{1, 2, 3}, {4, 5, 6, 7, 8}});
    Expect t;
    t.W(0x06000001).W(0x26000002).W(0).W(7).W(3).T("\x01\x02\x03").W(5).T("\x04\x05\x06\x07\x08");
    EXPECT_EQ(table, t.bytes);
}

TEST(TemplateWriter, SegmentIndexIdsChildListsAndHandlerStubs) {
    WindowDescription main = Window(0x52010001);
    main.menu = {MenuItem("\xCE\xC4\xBC\xFE", 0), MenuItem("a", 1, HandlerRef::Named("on_a"))};
    main.components = {Component(type_code::kGroupBox, "g").At(6, 12, 112, 88),
                       Component(type_code::kButton, "b").In("g").On(0, "on_b"),
                       Component(type_code::kButton, "c").In("g").On(0, "on_a")};
    WindowDescription about = Window(0x52010258);
    std::vector<WindowDescription> windows{main, about};
    AssignUnitIds(windows);
    EXPECT_EQ(windows[0].window.id, 0x06010002u);
    EXPECT_EQ(windows[0].menu[0].id, 0x26010003u);
    EXPECT_EQ(windows[0].components[0].id, 0x16010005u);
    EXPECT_EQ(windows[1].window.id, 0x06010259u);

    TemplateSegment segment = WriteTemplateSegment({main, about});
    EXPECT_EQ(segment.handlers, (std::vector<std::string>{"on_a", "on_b"}));
    Expect index;
    index.W(16).W(0x52010001).W(0x52010258).W(0).W(0);
    ASSERT_GE(segment.bytes.size(), index.bytes.size());
    EXPECT_TRUE(std::equal(index.bytes.begin(), index.bytes.end(), segment.bytes.begin()));

    Units units = Read(segment.bytes);
    ASSERT_EQ(units.size(), 2u);
    auto table = units[0]->Table();
    ASSERT_EQ(table.Count(), 6u);
    auto group = table.RecordAt(3);
    auto layout = forms::ParseComponentRecord(group.data, group.length);
    ASSERT_TRUE(layout);
    ASSERT_EQ(layout->childCount, 2u);
    EXPECT_EQ(forms::LoadWord(group.data + layout->childrenAt), 0x16010006u);
    EXPECT_EQ(forms::LoadWord(group.data + layout->childrenAt + 4), 0x16010007u);
    // Handlers share stubs by name: "on_a" is stub 0 wherever it is used.
    EXPECT_EQ(table.FindHandler(0x26010004, 0), kCodeBase);
    EXPECT_EQ(table.FindHandler(0x16010006, 0), kCodeBase + 16);
    EXPECT_EQ(table.FindHandler(0x16010007, 0), kCodeBase);
}

TEST(TemplateWriter, RefusesBadDescriptions) {
    WindowDescription w = Window(0x52010001);
    w.components = {Component(type_code::kButton, "b").In("nowhere")};
    EXPECT_THROW(WriteTemplateSegment({w}), std::invalid_argument);
    w.components = {Component(type_code::kButton, "b").BorrowHandlersOf("nobody")};
    EXPECT_THROW(WriteTemplateSegment({w}), std::invalid_argument);
    // The second window's serial numbers run into the first window's records.
    w.components = {Component(type_code::kButton, "b"), Component(type_code::kButton, "c")};
    EXPECT_THROW(WriteTemplateSegment({w, Window(0x52010003)}), std::invalid_argument);
    EXPECT_THROW(WriteTemplateSegment({Window(0x52000000)}), std::invalid_argument);
}

TEST(TemplateReader, WindowWithOnlyItsOwnRecordLoadsWithoutComponents) {
    WindowDescription w = Window(0x52010261);
    w.headerA = 0xC4;
    w.headerB = 0x19000001;
    w.text1 = "x";
    Units units = Read(WriteTemplateSegment({w}).bytes);
    ASSERT_EQ(units.size(), 1u);
    const WindowUnit& unit = *units[0];
    EXPECT_EQ(unit.windowId, 0x52010261u);
    EXPECT_EQ(unit.headerA, 0xC4u);
    EXPECT_EQ(unit.headerB, 0x19000001u);
    EXPECT_EQ(unit.text1, "x");
    EXPECT_EQ(unit.text2, "");
    EXPECT_EQ(unit.recordCount, 1u);
    auto table = units[0]->Table();
    EXPECT_EQ(table.IndexOf(0x06010262), 0);
    EXPECT_EQ(table.TypeCodeAt(0), 0x10001u);
    EXPECT_EQ(table.IndexOf(0), -1);  // an invalid id is never found
    EXPECT_EQ(table.FindHandler(0, 0), 0u);
}

TEST(TemplateReader, HandlersAreRelocatedAndMinusOneBecomesZero) {
    WindowDescription w = Window(0x52010001);
    w.window.On(0, HandlerRef::Offset(0x30));
    w.menu = {MenuItem("m", 0), MenuItem("i", 1, HandlerRef::Offset(0x40))};
    w.components = {Component(type_code::kButton, "b").On(0, HandlerRef::None()).On(-1, HandlerRef::Offset(0x10))};
    Units units = Read(WriteTemplateSegment({w}).bytes);
    auto table = units[0]->Table();
    EXPECT_EQ(table.FindHandler(0, 0), kCodeBase + 0x30);
    EXPECT_EQ(table.FindHandler(0x26010003, 0), 0u);
    EXPECT_EQ(table.FindHandler(0x26010004, 0), kCodeBase + 0x40);
    EXPECT_EQ(table.FindHandler(0x16010005, 0), 0u);  // -1 is stored as 0: no handler to call
    EXPECT_EQ(table.FindHandler(0x16010005, -1), kCodeBase + 0x10);
    EXPECT_EQ(table.FindHandler(0x16010005, 1), 0u);
    auto record = table.RecordAt(3);
    auto layout = forms::ParseComponentRecord(record.data, record.length);
    EXPECT_EQ(forms::LoadWord(record.data + layout->eventsAt + 4), 0u);
}

TEST(TemplateReader, HandlerLinksAreFollowedOnlyWithinOneType) {
    WindowDescription w = Window(0x52010001);
    w.components = {
        Component(type_code::kButton, "button").On(0, HandlerRef::Offset(0x100)),
        Component(type_code::kCheckBox, "box").On(0, HandlerRef::Offset(0x200)),
        Component(type_code::kCheckBox, "to button").BorrowHandlersOf("button").On(0, HandlerRef::Offset(0x300)),
        Component(type_code::kCheckBox, "to box").BorrowHandlersOf("box"),
        Component(type_code::kCheckBox, "chain").BorrowHandlersOf("to box"),
        Component(type_code::kCheckBox, "loop a").BorrowHandlersOf("loop b"),
        Component(type_code::kCheckBox, "loop b").BorrowHandlersOf("loop a"),
    };
    std::vector<WindowDescription> windows{w};
    AssignUnitIds(windows);
    Units units = Read(WriteTemplateSegment(windows).bytes);
    auto table = units[0]->Table();
    auto handler = [&](const char* name) { return table.FindHandler(UnitIdOf(windows[0], name), 0); };
    EXPECT_EQ(handler("to button"), kCodeBase + 0x300);  // a button's table is not a check box's
    EXPECT_EQ(handler("to box"), kCodeBase + 0x200);
    EXPECT_EQ(handler("chain"), kCodeBase + 0x200);
    EXPECT_EQ(handler("loop a"), 0u);  // a circle of links ends, with no handler
}

// A segment of one window whose template is written field by field.
Bytes OneWindowSegment(const std::function<void(TemplateStream&)>& fields) {
    TemplateStream index;
    index.Word(0x52010001);
    index.Word(0);
    TemplateStream s;
    s.Buffer(index.Data());
    fields(s);
    return s.Take();
}

Bytes WindowRecord() {
    HandlerTable handlers;
    return WriteComponentRecord(Window(0x52010001).window, 0, 0, {}, handlers);
}

TEST(TemplateReader, CountedTextOfLengthZeroConsumesOnlyItsCountWord) {
    for (uint32_t emptyCount : {0u, 0xFFFFFFFFu, 0x80000000u}) {
        Bytes segment = OneWindowSegment([&](TemplateStream& s) {
            s.Word(0xC4), s.Word(0);
            s.Word(emptyCount);  // text 1
            s.CountedText("ab");
            s.Word(1);
            s.Buffer(WriteComponentTable({0x06010002}, {WindowRecord()}));
        });
        Units units = Read(segment);
        ASSERT_EQ(units.size(), 1u) << emptyCount;
        EXPECT_EQ(units[0]->text1, "");
        EXPECT_EQ(units[0]->text2, "ab");
        EXPECT_EQ(units[0]->recordCount, 1u);
    }
}

TEST(TemplateReader, EveryTruncationOfASegmentIsRefused) {
    WindowDescription w = Window(0x52010001);
    w.menu = {MenuItem("m", 0)};
    w.components = {Component(type_code::kButton, "b").On(0, HandlerRef::Offset(4)).Properties({1, 2, 3})};
    Bytes segment = WriteTemplateSegment({w, Window(0x52010258)}).bytes;
    for (size_t cut = 0; cut < segment.size(); ++cut) {
        Units units;
        units.push_back(std::make_unique<WindowUnit>());
        ASSERT_FALSE(ReadTemplateSegment(segment.data(), uint32_t(cut), kCodeBase, units)) << cut;
        EXPECT_EQ(units.size(), 1u);
    }
    segment.push_back(0);  // the segment is consumed exactly
    Units units;
    EXPECT_FALSE(ReadTemplateSegment(segment.data(), uint32_t(segment.size()), kCodeBase, units));
}

TEST(TemplateReader, GarbledComponentTablesAreRefused) {
    Bytes good = WindowRecord();
    Bytes cut = good;
    cut.resize(20);  // ends inside the name's reserved words
    Bytes noTerminator(good.begin(), good.begin() + 24);
    noTerminator.push_back('x');
    struct Case {
        const char* what;
        uint32_t count;
        Bytes table;
    };
    auto with = [&](uint32_t offsetWord, uint32_t lengthWord) {
        Expect e;
        e.W(0x06010002).W(offsetWord).W(lengthWord).bytes.insert(e.bytes.end(), good.begin(), good.end());
        return e.bytes;
    };
    const Case cases[] = {
        {"no records", 0, {}},
        {"more records than the table holds", 0x20000000, WriteComponentTable({0x06010002}, {good})},
        {"count above the records present", 2, WriteComponentTable({0x06010002}, {good})},
        {"offset past the table", 1, with(0x1000, uint32_t(good.size()))},
        {"record length past the table", 1, with(0, uint32_t(good.size()) + 1)},
        {"record cut inside a field", 1, WriteComponentTable({0x06010002}, {cut})},
        {"name without terminator", 1, WriteComponentTable({0x06010002}, {noTerminator})},
    };
    for (const Case& c : cases) {
        Bytes segment = OneWindowSegment([&](TemplateStream& s) {
            s.Word(0), s.Word(0), s.Word(0), s.Word(0), s.Word(c.count);
            s.Buffer(c.table);
        });
        Units units;
        EXPECT_FALSE(ReadTemplateSegment(segment.data(), uint32_t(segment.size()), kCodeBase, units)) << c.what;
    }
    // A child list or event table claiming more entries than the record holds.
    for (size_t countAt : {size_t(24 + 2 + 4 + 16 + 4 + 4), size_t(24 + 2 + 4 + 16 + 4 + 4 + 4 + 8 + 1 + 12)}) {
        Bytes record = good;
        forms::StoreWord(record.data() + countAt, 0x40000000);
        Bytes segment = OneWindowSegment([&](TemplateStream& s) {
            s.Word(0), s.Word(0), s.Word(0), s.Word(0), s.Word(1);
            s.Buffer(WriteComponentTable({0x06010002}, {record}));
        });
        Units units;
        EXPECT_FALSE(ReadTemplateSegment(segment.data(), uint32_t(segment.size()), kCodeBase, units)) << countAt;
    }
}

}  // namespace
}  // namespace ruvelto
