// StatusBar as a real status bar control in a loaded window: docking at the parent's edge, simple
// mode without panels, the panels' edges, texts, icons and tips, and data that must refuse it.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "extui/extended_types.h"
#include "tests/extui/extui_fixture.h"

namespace ruvelto::extui_test {
namespace {

using namespace image_data;
using extui::StatusPanel;

enum Index { kAlignment = 9, kPanelImages = 12, kPanels = 13 };

ComponentDescription Bar(std::vector<uint8_t> blob) {
    return Component(type_code::kStatusBar, "bar").At(0, 300, 470, 20).Flags(kVisible).Properties(std::move(blob));
}

std::vector<int> Edges(HWND bar) {
    const int count = static_cast<int>(SendMessageA(bar, SB_GETPARTS, 0, 0));
    std::vector<int> edges(static_cast<size_t>(count));
    SendMessageA(bar, SB_GETPARTS, static_cast<WPARAM>(count), reinterpret_cast<LPARAM>(edges.data()));
    return edges;
}

class StatusBarTest : public ExtendedTest {};

TEST_F(StatusBarTest, EmptyDataIsOneUndividedBarDockedAtTheBottom) {
    ASSERT_TRUE(ShowExtended(TestWindow({Bar({})})));
    HWND bar = Unit("bar"), window = WindowHandle(components_test::kWindow);
    EXPECT_TRUE(SendMessageA(bar, SB_ISSIMPLE, 0, 0));
    RECT client{}, placed{};
    GetClientRect(window, &client);
    GetWindowRect(bar, &placed);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(placed.bottom, client.bottom);
    EXPECT_EQ(placed.left, 0);
    EXPECT_EQ(placed.right, client.right);

    // The window grows: the bar follows its bottom edge.
    RECT frame{};
    GetWindowRect(window, &frame);
    SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left + 60, frame.bottom - frame.top + 40,
                 SWP_NOMOVE | SWP_NOZORDER);
    Pump();
    GetClientRect(window, &client);
    GetWindowRect(bar, &placed);
    MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&placed), 2);
    EXPECT_EQ(placed.bottom, client.bottom);
    EXPECT_EQ(placed.right, client.right);
}

TEST_F(StatusBarTest, PanelsEdgesTextsIconsAndTips) {
    StatusBarProperties p;
    p.panelImages = SolidImageListData(2);
    p.panels = extui::PanelData({{100, 0, 1, "one", "first tip"},
                                 {-1, SBT_NOBORDERS, 7, "\xCD\xBC\xC6\xAC", ""},  // 图片; an icon index past the list
                                 {50, 0, -1, "three", ""}});
    ASSERT_TRUE(ShowExtended(TestWindow({Bar(StatusBarBlob(p))})));
    HWND bar = Unit("bar");
    EXPECT_FALSE(SendMessageA(bar, SB_ISSIMPLE, 0, 0));
    EXPECT_EQ(Edges(bar), (std::vector<int>{100, -1, 0}));
    char text[64] = {};
    const LRESULT second = SendMessageA(bar, SB_GETTEXTA, 1, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "\xCD\xBC\xC6\xAC");
    EXPECT_EQ(HIWORD(second) & SBT_NOBORDERS, SBT_NOBORDERS) << "the panel's style bits go with its text";
    EXPECT_NE(SendMessageA(bar, SB_GETICON, 0, 0), 0);
    EXPECT_EQ(SendMessageA(bar, SB_GETICON, 1, 0), 0) << "an index beyond the list shows no icon";
    EXPECT_EQ(SendMessageA(bar, SB_GETICON, 2, 0), 0);
    SendMessageA(bar, SB_GETTIPTEXTA, MAKEWPARAM(0, sizeof text), reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, "first tip");
    // Each panel's text and tip for the text conversion (no font of its own: no face name).
    EXPECT_EQ(EnumeratedTexts(&extui::StatusBarInterface, bar),
              (std::vector<std::string>{"one", "first tip", "\xCD\xBC\xC6\xAC", "", "three", ""}));

    // Fewer panels, then none: simple mode.
    WriteBytes("bar", kPanels, extui::PanelData({{80, 0, 0, "only", ""}}));
    EXPECT_EQ(Edges(bar), (std::vector<int>{80}));
    EXPECT_NE(SendMessageA(bar, SB_GETICON, 0, 0), 0);
    WriteBytes("bar", kPanels, extui::PanelData({}));
    EXPECT_TRUE(SendMessageA(bar, SB_ISSIMPLE, 0, 0));

    // More panels than a status bar holds leave it as it was.
    WriteBytes("bar", kPanels, extui::PanelData({{30, 0, -1, "a", ""}, {-1, 0, -1, "b", ""}}));
    std::vector<StatusPanel> many(300, StatusPanel{5, 0, -1, "x", ""});
    WriteBytes("bar", kPanels, extui::PanelData(many));
    EXPECT_FALSE(SendMessageA(bar, SB_ISSIMPLE, 0, 0));
    EXPECT_EQ(Edges(bar), (std::vector<int>{30, -1}));

    // A panel count far beyond the data reads only the panels that are there.
    std::vector<uint8_t> lying = extui::PanelData({{40, 0, -1, "a", ""}});
    lying[0] = 0xFF, lying[1] = 0xFF, lying[2] = 0xFF, lying[3] = 0x7F;
    WriteBytes("bar", kPanels, lying);
    EXPECT_EQ(Edges(bar), (std::vector<int>{40}));
}

TEST_F(StatusBarTest, AlignmentClampsAndRecreates) {
    ASSERT_TRUE(ShowExtended(TestWindow({Bar({})})));
    HWND before = Unit("bar");
    RECT docked{};
    GetWindowRect(before, &docked);
    Write("bar", kAlignment, 9);
    EXPECT_EQ(Read("bar", kAlignment), 2u);
    ASSERT_NE(Unit("bar"), before);
    EXPECT_EQ(GetWindowLongA(Unit("bar"), GWL_STYLE) & (CCS_NORESIZE | CCS_NOPARENTALIGN),
              static_cast<LONG>(CCS_NORESIZE | CCS_NOPARENTALIGN));
    RECT placed{};
    GetWindowRect(Unit("bar"), &placed);
    EXPECT_TRUE(EqualRect(&placed, &docked)) << "the re-created bar keeps the rectangle it had";
    RECT frame{};
    HWND window = WindowHandle(components_test::kWindow);
    GetWindowRect(window, &frame);
    SetWindowPos(window, nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top + 50, SWP_NOMOVE | SWP_NOZORDER);
    Pump();
    GetWindowRect(Unit("bar"), &placed);
    EXPECT_TRUE(EqualRect(&placed, &docked)) << "a free bar does not follow the window's edge";
}

TEST_F(StatusBarTest, NewerDataRefusesTheWindow) {
    std::vector<uint8_t> newer = StatusBarBlob(StatusBarProperties{});
    newer[0] = 2;
    EXPECT_FALSE(ShowExtended(TestWindow({Bar(newer)})));
}

}  // namespace
}  // namespace ruvelto::extui_test
