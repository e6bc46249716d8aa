// The extended components' property objects and data streams, natively: round trips, defaults,
// refused versions and cut streams, entries cut short, and the main window's stored data.
#include <gtest/gtest.h>

#include "image-data/extended_ui_blobs.h"
#include "image-data/windows/program_windows.h"

namespace ruvelto::extui {
namespace {

template <class Properties>
bool Load(Properties& p, const std::vector<uint8_t>& blob) {
    PropertyBlobReader reader(blob.data(), static_cast<uint32_t>(blob.size()));
    return p.Load(reader);
}

TEST(ExtendedPropertiesTest, ListViewRoundTripAndRefusals) {
    ListViewProperties p;
    p.border = 4, p.textColor = 0x123456, p.viewType = kReport, p.checkBoxes = 1, p.currentSelection = 7;
    p.showSelectionAlways = 1, p.singleSelection = 0;
    p.font = std::vector<uint8_t>(60, 9);
    p.columns = {1, 2, 3}, p.headerImages = {4}, p.images = {5, 6}, p.stateImages = {7}, p.initialItems = {8, 9};
    const std::vector<uint8_t> blob = image_data::ListViewBlob(p);
    EXPECT_EQ(blob.size(), 4u + 24 * 4 + 6 * 4 + 60 + 3 + 1 + 2 + 1 + 2);
    ListViewProperties back;
    ASSERT_TRUE(Load(back, blob));
    EXPECT_EQ(image_data::ListViewBlob(back), blob);
    EXPECT_EQ(back.currentSelection, 7);
    EXPECT_EQ(back.columns, p.columns);
    EXPECT_EQ(back.initialItems, p.initialItems);

    std::vector<uint8_t> newer = blob;
    newer[0] = 2;
    ListViewProperties refused;
    EXPECT_FALSE(Load(refused, newer));
    for (size_t cut : {size_t{3}, size_t{50}, blob.size() - 1}) {
        ListViewProperties shorter;
        EXPECT_FALSE(Load(shorter, std::vector<uint8_t>(blob.begin(), blob.begin() + cut))) << cut;
    }
}

TEST(ExtendedPropertiesTest, StatusBarAndTransLabelRoundTrips) {
    StatusBarProperties bar;
    bar.alignment = kDockTop, bar.sizeGrip = 1, bar.panels = PanelData({{10, 0, -1, "a", "b"}});
    StatusBarProperties barBack;
    ASSERT_TRUE(Load(barBack, image_data::StatusBarBlob(bar)));
    EXPECT_EQ(image_data::StatusBarBlob(barBack), image_data::StatusBarBlob(bar));

    TransLabelProperties label;
    EXPECT_EQ(label.caption, "\xCD\xB8\xC3\xF7\xB1\xEA\xC7\xA9") << "透明标签 by default";
    label.effect = 2, label.wordWrap = 1, label.verticalAlign = 0, label.caption = "%";
    const std::vector<uint8_t> blob = image_data::TransLabelBlob(label);
    // Version, five words, an empty font block, then the caption's length and bytes.
    EXPECT_EQ(blob.size(), 4u + 5 * 4 + 4 + 4 + 1);
    EXPECT_EQ(blob[20], 1) << "WordWrap is the fifth word";
    TransLabelProperties back;
    ASSERT_TRUE(Load(back, blob));
    EXPECT_EQ(back.caption, "%");
    EXPECT_EQ(back.effect, 2u);
    std::vector<uint8_t> newer = blob;
    newer[0] = 2;
    EXPECT_FALSE(Load(back, newer));
}

TEST(ExtendedPropertiesTest, ColumnsAndItemsRoundTripAndStopAtACutEntry) {
    const std::vector<ListColumn> columns = {{true, 3, kAlignRight, 80, "\xC3\xFB\xB3\xC6"}, {false, -1, kAlignLeft, 40, ""}};
    std::vector<uint8_t> data = ColumnData(columns);
    std::vector<ListColumn> back = ReadColumns(data);
    ASSERT_EQ(back.size(), 2u);
    EXPECT_TRUE(back[0].imageOnRight);
    EXPECT_EQ(back[0].image, 3);
    EXPECT_EQ(back[0].title, "\xC3\xFB\xB3\xC6");
    EXPECT_EQ(back[1].image, -1);
    data.pop_back();  // the last title loses its terminator
    EXPECT_EQ(ReadColumns(data).size(), 1u);

    std::vector<ListItemEntry> items;
    AppendRow(items, {"a.jpg", "jpg", "12KB"}, "tip");
    items[0].data = 0xDEADBEEF, items[0].indent = 2, items[0].stateImage = 1;
    std::vector<uint8_t> itemData = ItemData(items);
    std::vector<ListItemEntry> itemsBack = ReadItems(itemData);
    ASSERT_EQ(itemsBack.size(), 3u);
    EXPECT_TRUE(itemsBack[0].newRow);
    EXPECT_FALSE(itemsBack[2].newRow);
    EXPECT_EQ(itemsBack[0].data, 0xDEADBEEFu);
    EXPECT_EQ(itemsBack[0].tip, "tip");
    EXPECT_EQ(itemsBack[2].text, "12KB");
    for (size_t cut = 0; cut < itemData.size(); ++cut) {
        const size_t whole = ReadItems(std::vector<uint8_t>(itemData.begin(), itemData.begin() + cut)).size();
        EXPECT_LE(whole, 2u) << cut;
    }
}

TEST(ExtendedPropertiesTest, PanelEdgesAndPanelCounts) {
    struct Case {
        std::vector<int32_t> widths, edges;
    };
    const Case cases[] = {
        {{100, -1, 50}, {100, -1, 0}},
        {{100, 20, 30}, {100, 120, 150}},
        {{-1}, {-1}},
        {{}, {}},
    };
    for (const Case& c : cases) {
        std::vector<StatusPanel> panels;
        for (int32_t w : c.widths) panels.push_back({w, 0, -1, "", ""});
        EXPECT_EQ(PanelEdges(panels), c.edges);
        EXPECT_EQ(ReadPanels(PanelData(panels)).size(), panels.size());
    }
    // A count of two billion over the bytes of one panel reads one panel.
    std::vector<uint8_t> lying = PanelData({{5, 0, -1, "x", "y"}});
    lying[3] = 0x7F;
    EXPECT_EQ(ReadPanels(lying).size(), 1u);
    EXPECT_TRUE(ReadPanels({1, 0}).empty());
}

TEST(ExtendedPropertiesTest, TheMainWindowStoresItsPictureListAndLabels) {
    const image_data::WindowDescription main = image_data::MainWindow();
    int lists = 0, labels = 0;
    for (const auto& c : main.components) {
        if (c.typeCode == image_data::type_code::kListView) {
            ++lists;
            ListViewProperties p;
            ASSERT_TRUE(Load(p, c.propertyBlock));
            EXPECT_EQ(p.viewType, kReport);
            EXPECT_EQ(p.checkBoxes, 1u);
            const std::vector<ListColumn> columns = ReadColumns(p.columns);
            ASSERT_EQ(columns.size(), 4u);
            const char* titles[] = {"\xC3\xFB\xB3\xC6", ".", "\xB4\xF3\xD0\xA1", "\xD0\xDE\xB8\xC4\xCA\xB1\xBC\xE4"};
            const int widths[] = {150, 100, 100, 100};
            for (int i = 0; i < 4; ++i) {
                EXPECT_EQ(columns[i].title, titles[i]);
                EXPECT_EQ(columns[i].width, widths[i]);
            }
        }
        if (c.typeCode == image_data::type_code::kTransLabel) {
            ++labels;
            TransLabelProperties p;
            ASSERT_TRUE(Load(p, c.propertyBlock));
            EXPECT_TRUE(p.caption == "%" || p.caption == "\xCA\xE4\xB3\xF6\xC2\xB7\xBE\xB6\xA3\xBA") << p.caption;
        }
        if (c.typeCode == image_data::type_code::kStatusBar) {
            EXPECT_TRUE(c.propertyBlock.empty()) << "a plain bar at the bottom";
        }
    }
    EXPECT_EQ(lists, 1);
    EXPECT_EQ(labels, 3);
}

}  // namespace
}  // namespace ruvelto::extui
