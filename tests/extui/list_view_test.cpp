// ListView as a real list-view control in a loaded window: the seven methods as the application
// calls them, check boxes toggled by the mouse and the space key, label editing, selection,
// clamped and re-creating property writes, the property data (columns, rows, tips, image lists)
// and data that must refuse the component.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "extui/extended_types.h"
#include "extui/list_view_data.h"
#include "tests/extui/extui_fixture.h"

namespace ruvelto::extui_test {
namespace {

using namespace image_data;
using extui::ColumnData;
using forms_test::PressKey;

enum Method { kGetItemText, kGetItemCount, kSetCheckState, kDeleteAllItems, kInsertItem, kSetItemText, kGetCheckState, kSetItemTip };
enum Index { kBorder = 8, kTextColor = 9, kBackColor = 11, kViewType = 13, kCurrentSelection = 35, kEditedText = 38 };

ListViewProperties ReportList(bool checkBoxes) {
    ListViewProperties p;
    p.viewType = extui::kReport;
    p.checkBoxes = checkBoxes ? 1 : 0;
    p.columns = ColumnData({{false, -1, extui::kAlignLeft, 150, "Name"}, {false, -1, extui::kAlignLeft, 100, "Size"}});
    return p;
}

ComponentDescription List(const ListViewProperties& p) {
    return Component(type_code::kListView, "list").At(10, 10, 400, 250).Flags(kVisible | kTabStop).Properties(ListViewBlob(p));
}

class ListViewTest : public ExtendedTest {
protected:
    HWND ListWindow() const { return Unit("list"); }
    int Rows() const { return static_cast<int>(Call(kGetItemCount, "list").lo); }
    int CheckState(int row) const { return static_cast<int32_t>(Call(kGetCheckState, "list", {Int(row)}).lo); }
    // The centre of a row's check box, in list client coordinates.
    POINT CheckBoxOf(int row) const {
        RECT r{};
        r.left = LVIR_ICON;
        SendMessageA(ListWindow(), LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&r));
        RECT label{};
        label.left = LVIR_BOUNDS;
        SendMessageA(ListWindow(), LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&label));
        // The state image sits left of the icon area, at the start of the row.
        return {label.left + 8, (label.top + label.bottom) / 2};
    }
};

// The tip a row shows, asked the way the control asks its parent; empty when it has none.
std::string TipOf(HWND list, int row) {
    char tip[64] = {};
    NMLVGETINFOTIPA request{};
    request.hdr = {list, static_cast<UINT_PTR>(GetDlgCtrlID(list)), static_cast<UINT>(LVN_GETINFOTIPA)};
    request.pszText = tip;
    request.cchTextMax = sizeof tip;
    request.iItem = row;
    SendMessageA(GetParent(list), WM_NOTIFY, request.hdr.idFrom, reinterpret_cast<LPARAM>(&request));
    return tip;
}

TEST_F(ListViewTest, TipsGivenToRowsMoveWithTheirRows) {
    ASSERT_TRUE(ShowExtended(TestWindow({List(ReportList(true))})));
    const std::string a = "a", b = "b", c = "c", tipA = "tip a", tipC = "sub\\folder c";
    for (const std::string* text : {&a, &b, &c}) Call(kInsertItem, "list", {Omitted(), Text(*text)});
    Call(kSetItemTip, "list", {Int(0), Text(tipA)});
    Call(kSetItemTip, "list", {Int(2), Text(tipC)});
    Call(kSetItemTip, "list", {Int(7), Text(tipA)});  // no such row: nothing
    EXPECT_EQ(TipOf(ListWindow(), 0), tipA);
    EXPECT_EQ(TipOf(ListWindow(), 1), "");
    EXPECT_EQ(TipOf(ListWindow(), 2), tipC);
    EXPECT_EQ(TipOf(ListWindow(), 7), "");
    // A row inserted in front moves the tips down with their rows; a deleted row takes its tip.
    const std::string first = "first";
    Call(kInsertItem, "list", {Int(0), Text(first)});
    EXPECT_EQ(TipOf(ListWindow(), 0), "");
    EXPECT_EQ(TipOf(ListWindow(), 1), tipA);
    EXPECT_EQ(TipOf(ListWindow(), 3), tipC);
    SendMessageA(ListWindow(), LVM_DELETEITEM, 1, 0);
    EXPECT_EQ(TipOf(ListWindow(), 1), "");
    EXPECT_EQ(TipOf(ListWindow(), 2), tipC);
    // Emptying the list forgets every tip: new rows start without one.
    Call(kDeleteAllItems, "list");
    for (const std::string* text : {&a, &b, &c}) Call(kInsertItem, "list", {Omitted(), Text(*text)});
    for (int row = 0; row < 3; ++row) EXPECT_EQ(TipOf(ListWindow(), row), "") << row;
}

TEST_F(ListViewTest, InsertItemPositionsDefaultsAndTexts) {
    ASSERT_TRUE(ShowExtended(TestWindow({List(ReportList(true))})));
    EXPECT_EQ(static_cast<int32_t>(Call(kInsertItem, "list").lo), 0) << "no arguments appends an empty row";
    const std::string b = "b", a = "a";
    EXPECT_EQ(static_cast<int32_t>(Call(kInsertItem, "list", {Int(-5), Text(b)}).lo), 1) << "-5 appends";
    EXPECT_EQ(static_cast<int32_t>(Call(kInsertItem, "list", {Int(0), Text(a)}).lo), 0);
    EXPECT_EQ(static_cast<int32_t>(Call(kInsertItem, "list", {Int(99), Omitted(), Int(-7)}).lo), 3)
        << "a position past the end appends";
    ASSERT_EQ(Rows(), 4);
    EXPECT_EQ(CallText(kGetItemText, "list", {Int(0)}), "a");
    EXPECT_EQ(CallText(kGetItemText, "list", {Int(1)}), "");
    EXPECT_EQ(CallText(kGetItemText, "list", {Int(2)}), "b");
    for (int row : {1, 3}) {
        LVITEMA item{};
        item.mask = LVIF_IMAGE;
        item.iItem = row;
        SendMessageA(ListWindow(), LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
        EXPECT_EQ(item.iImage, -1) << "row " << row << ": omitted or below -1 means no image";
    }

    // A cell of 2,000 characters comes back whole; GBK texts stay as they are.
    std::string longText(2000, 'x');
    for (size_t i = 0; i < longText.size(); i += 7) longText[i] = static_cast<char>('a' + i % 26);
    Call(kSetItemText, "list", {Int(2), Int(1), Text(longText)});
    EXPECT_EQ(CallText(kGetItemText, "list", {Int(2), Int(1)}), longText);
    const std::string picture = "\xCD\xBC\xC6\xAC.jpg";  // 图片.jpg
    Call(kSetItemText, "list", {Int(0), Omitted(), Text(picture)});
    EXPECT_EQ(CallText(kGetItemText, "list", {Int(0)}), picture);
    EXPECT_EQ(CallText(kGetItemText, "list", {Int(40)}), "") << "a row that does not exist";

    // Checked at insertion, explicitly; omitted leaves the control's unchecked box.
    EXPECT_EQ(static_cast<int32_t>(Call(kInsertItem, "list", {Omitted(), Text(a), Omitted(), Int(1)}).lo), 4);
    EXPECT_EQ(CheckState(4), 1);
    EXPECT_EQ(CheckState(3), 0);

    Call(kDeleteAllItems, "list");
    EXPECT_EQ(Rows(), 0);
}

TEST_F(ListViewTest, CheckStatesSetByMethodsRaiseNoEvent) {
    ASSERT_TRUE(ShowExtended(TestWindow({List(ReportList(true)).On(8, Recorder(8))})));
    for (int i = 0; i < 3; ++i) Call(kInsertItem, "list");
    Call(kSetCheckState, "list", {Int(1), Int(1)});
    Pump();
    EXPECT_EQ(CheckState(1), 1);
    EXPECT_EQ(CheckState(0), 0);
    EXPECT_EQ(Count("list", 8), 0) << "only the user's clicks and keys raise CheckStateChanged";
    Call(kSetCheckState, "list", {Int(1), Int(-4)});
    EXPECT_EQ(CheckState(1), -1) << "a negative state removes the check box";
    Call(kSetCheckState, "list", {Int(2), Int(0)});
    Call(kSetCheckState, "list", {Int(2)});
    EXPECT_EQ(CheckState(2), -1) << "an omitted state removes the check box";
    EXPECT_EQ(CheckState(9), -1) << "a row that does not exist";
}

TEST_F(ListViewTest, WithoutCheckBoxesTheStateIsMinusOne) {
    ASSERT_TRUE(ShowExtended(TestWindow({List(ReportList(false))})));
    Call(kInsertItem, "list");
    EXPECT_EQ(CheckState(0), -1);
}

TEST_F(ListViewTest, ClickAndSpaceToggleTheBoxThenReportTheNewState) {
    ASSERT_TRUE(ShowExtended(TestWindow({List(ReportList(true)).On(0, Recorder(0)).On(2, Recorder(2)).On(4, Recorder(4))
                                             .On(5, Recorder(5)).On(8, Recorder(8))})));
    const std::string one = "one", two = "two";
    Call(kInsertItem, "list", {Omitted(), Text(one)});
    Call(kInsertItem, "list", {Omitted(), Text(two)});
    const POINT box = CheckBoxOf(1);
    Click(ListWindow(), box.x, box.y);
    Pump();
    ASSERT_EQ(CheckState(1), 1);
    std::erase_if(seen, [](const SeenEvent& e) { return e.event == 0; });  // the row may take the focus too
    ASSERT_EQ(seen.size(), 2u);
    EXPECT_EQ(seen[0].event, 4) << "Clicked first";
    EXPECT_EQ(seen[1].event, 8);
    EXPECT_EQ(seen[1].a, 1u) << "the row";
    EXPECT_EQ(seen[1].b, 1u) << "the state after the toggle";

    // The right button never toggles a box: RightClicked alone, the state as it was.
    seen.clear();
    components_test::RightClickAt(ListWindow(), box.x, box.y);
    Pump();
    EXPECT_EQ(Count("list", 5), 1);
    EXPECT_EQ(Count("list", 8), 0) << "no CheckStateChanged without a toggle";
    EXPECT_EQ(CheckState(1), 1);

    // A click on the text selects the row without touching its box.
    seen.clear();
    RECT label{};
    label.left = LVIR_LABEL;
    SendMessageA(ListWindow(), LVM_GETITEMRECT, 0, reinterpret_cast<LPARAM>(&label));
    Click(ListWindow(), label.left + 10, (label.top + label.bottom) / 2);
    Pump();

    EXPECT_EQ(Count("list", 4), 1);
    EXPECT_EQ(Count("list", 8), 0);
    EXPECT_EQ(Count("list", 0), 1) << "CurrentItemChanged: the focus moved to row 0";
    EXPECT_EQ(Read("list", kCurrentSelection), 0u);

    // A click on the second column's header.
    HWND header = reinterpret_cast<HWND>(SendMessageA(ListWindow(), LVM_GETHEADER, 0, 0));
    RECT second{};
    SendMessageA(header, HDM_GETITEMRECT, 1, reinterpret_cast<LPARAM>(&second));
    Click(header, (second.left + second.right) / 2, (second.top + second.bottom) / 2);
    ASSERT_EQ(Count("list", 2), 1);
    EXPECT_EQ(seen.back().a, 1u) << "ColumnClicked with the column";

    // The space key toggles the focused row's box and reports it the same way.
    forms_test::Activate(WindowHandle(components_test::kWindow), ListWindow());
    seen.clear();
    PressKey(VK_SPACE);
    Pump();
    EXPECT_EQ(CheckState(0), 1);
    ASSERT_EQ(Count("list", 8), 1);
    EXPECT_EQ(seen.back().a, 0u);
    EXPECT_EQ(seen.back().b, 1u);
    PressKey(VK_SPACE);
    Pump();
    EXPECT_EQ(CheckState(0), 0);
    EXPECT_EQ(seen.back().b, 0u) << "unchecked again";
}

TEST_F(ListViewTest, LabelEditingAsksTheHandlersAndShowsTheTypedText) {
    ListViewProperties p = ReportList(false);
    p.editLabels = 1;
    std::vector<extui::ListItemEntry> rows;
    extui::AppendRow(rows, {"alpha", "1"});
    extui::AppendRow(rows, {"beta", "2"});
    p.initialItems = extui::ItemData(rows);
    ASSERT_TRUE(ShowExtended(TestWindow({List(p).On(6, Recorder(6)).On(7, Recorder(7))})));
    SetFocus(ListWindow());

    // A handler answering false to LabelEditStarting keeps the edit from starting.
    answer = 0;
    SendMessageA(ListWindow(), LVM_EDITLABELA, 1, 0);
    Pump();
    EXPECT_EQ(Count("list", 6), 1);
    EXPECT_EQ(seen.back().a, 1u);
    EXPECT_EQ(SendMessageA(ListWindow(), LVM_GETEDITCONTROL, 0, 0), 0);

    // Typed text is in EditedText during LabelEditEnded; a false answer keeps the old text.
    answer = -1;
    propertyToRead = kEditedText;
    SendMessageA(ListWindow(), LVM_EDITLABELA, 1, 0);
    Pump();
    ASSERT_NE(SendMessageA(ListWindow(), LVM_GETEDITCONTROL, 0, 0), 0);
    PressKey('A', {VK_CONTROL});
    forms_test::TypeText("gamma");
    answer = 0;
    PressKey(VK_RETURN);
    EXPECT_EQ(Count("list", 7), 1);
    EXPECT_EQ(readDuringEvent, "gamma");
    EXPECT_EQ(CallText(kGetItemText, "list", {Int(1)}), "beta") << "rejected";

    answer = -1;
    SendMessageA(ListWindow(), LVM_EDITLABELA, 1, 0);
    Pump();
    PressKey('A', {VK_CONTROL});
    forms_test::TypeText("delta");
    PressKey(VK_RETURN);
    EXPECT_EQ(readDuringEvent, "delta");
    EXPECT_EQ(CallText(kGetItemText, "list", {Int(1)}), "delta") << "accepted";
    EXPECT_EQ(ReadText("list", kEditedText), "") << "emptied after the event";

    // Escape abandons the edit: the event sees the row's current text and nothing changes.
    SendMessageA(ListWindow(), LVM_EDITLABELA, 0, 0);
    Pump();
    forms_test::TypeText("zzz");
    PressKey(VK_ESCAPE);
    EXPECT_EQ(Count("list", 7), 3);
    EXPECT_EQ(readDuringEvent, "alpha");
    EXPECT_EQ(CallText(kGetItemText, "list", {Int(0)}), "alpha");
    EXPECT_TRUE(IsWindow(WindowHandle(components_test::kWindow))) << "Escape stayed with the edit";
}

TEST_F(ListViewTest, SelectionFollowsSingleSelection) {
    std::vector<extui::ListItemEntry> rows;
    for (const char* t : {"a", "b", "c"}) extui::AppendRow(rows, {t});
    ListViewProperties single = ReportList(false);
    single.initialItems = extui::ItemData(rows);
    single.currentSelection = 2;
    ListViewProperties multiple = single;
    multiple.singleSelection = 0;
    multiple.currentSelection = -1;
    ASSERT_TRUE(ShowExtended(TestWindow({List(single),
                                         Component(type_code::kListView, "multi").At(10, 270, 400, 80).Flags(kVisible)
                                             .Properties(ListViewBlob(multiple))})));
    EXPECT_EQ(Read("list", kCurrentSelection), 2u) << "the stored selection applied at creation";
    Write("list", kCurrentSelection, 0);
    EXPECT_EQ(Read("list", kCurrentSelection), 0u);
    Write("list", kCurrentSelection, static_cast<uint32_t>(-9));
    EXPECT_EQ(static_cast<int32_t>(Read("list", kCurrentSelection)), -1) << "below -1 clears as -1";

    Write("multi", kCurrentSelection, 1);
    EXPECT_EQ(static_cast<int32_t>(Read("multi", kCurrentSelection)), -1) << "writes do nothing without SingleSelection";
    LVITEMA item{};
    item.stateMask = item.state = LVIS_SELECTED;
    SendMessageA(Unit("multi"), LVM_SETITEMSTATE, 2, reinterpret_cast<LPARAM>(&item));
    SendMessageA(Unit("multi"), LVM_SETITEMSTATE, 1, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(Read("multi", kCurrentSelection), 1u) << "reading gives the first selected row";
}

TEST_F(ListViewTest, ClampedWritesColoursAndRecreation) {
    ASSERT_TRUE(ShowExtended(TestWindow({List(ReportList(false))})));
    HWND before = ListWindow();
    Write("list", kBorder, 9);
    EXPECT_EQ(Read("list", kBorder), 5u);
    EXPECT_TRUE(GetWindowLongA(ListWindow(), GWL_STYLE) & WS_BORDER);
    EXPECT_FALSE(GetWindowLongA(ListWindow(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    Write("list", kTextColor, 0x0000FF);
    Write("list", kBackColor, 0xFF000000);
    EXPECT_EQ(Read("list", kTextColor), 0x0000FFu) << "read back from the control";
    EXPECT_EQ(Read("list", kBackColor), static_cast<uint64_t>(GetSysColor(COLOR_BTNFACE)));
    EXPECT_EQ(ListWindow(), before) << "applied at once";

    Write("list", kViewType, 3);
    EXPECT_EQ(ListWindow(), before) << "the same view: nothing re-created";
    Write("list", kViewType, static_cast<uint32_t>(-1));
    EXPECT_EQ(Read("list", kViewType), 0u) << "below the range gives large icons";
    EXPECT_NE(ListWindow(), before) << "a new view re-creates the control";
    EXPECT_EQ(GetWindowLongA(ListWindow(), GWL_STYLE) & LVS_TYPEMASK, static_cast<LONG>(LVS_ICON));
    Write("list", 31, 7);  // SortOrder
    EXPECT_EQ(Read("list", 31), 2u);
    EXPECT_TRUE(GetWindowLongA(ListWindow(), GWL_STYLE) & LVS_SORTDESCENDING);
}

TEST_F(ListViewTest, PropertiesBecomeTheControlsStyles) {
    struct Case {
        const char* what;
        void (*change)(ListViewProperties&);
        DWORD style, styleMask, extended, extendedMask;
    };
    constexpr DWORD kHot = LVS_EX_TRACKSELECT | LVS_EX_ONECLICKACTIVATE | LVS_EX_UNDERLINECOLD | LVS_EX_UNDERLINEHOT;
    const Case cases[] = {
        {"defaults: large icons, auto-arranged, single selection, tips and sub-item images always",
         [](ListViewProperties&) {}, LVS_ICON | LVS_AUTOARRANGE | LVS_SINGLESEL, LVS_TYPEMASK | LVS_AUTOARRANGE | LVS_SINGLESEL,
         LVS_EX_INFOTIP | LVS_EX_SUBITEMIMAGES, LVS_EX_INFOTIP | LVS_EX_SUBITEMIMAGES | kHot},
        {"icon options", [](ListViewProperties& p) { p.viewType = 1, p.iconAlign = 1, p.autoArrange = 0, p.labelWrap = 0; },
         LVS_SMALLICON | LVS_ALIGNLEFT | LVS_NOLABELWRAP, LVS_TYPEMASK | LVS_ALIGNLEFT | LVS_AUTOARRANGE | LVS_NOLABELWRAP, 0, 0},
        {"report options",
         [](ListViewProperties& p) { p.viewType = 3, p.headerClickable = 0, p.headerDragDrop = 1, p.fullRowSelect = 1, p.gridLines = 1; },
         LVS_REPORT | LVS_NOSORTHEADER, LVS_TYPEMASK | LVS_NOSORTHEADER | LVS_NOCOLUMNHEADER,
         LVS_EX_HEADERDRAGDROP | LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES, LVS_EX_HEADERDRAGDROP | LVS_EX_FULLROWSELECT | LVS_EX_GRIDLINES},
        {"a hidden header takes no header options", [](ListViewProperties& p) { p.viewType = 3, p.hideHeader = 1, p.headerClickable = 0, p.headerDragDrop = 1; },
         LVS_NOCOLUMNHEADER, LVS_NOCOLUMNHEADER | LVS_NOSORTHEADER, 0, LVS_EX_HEADERDRAGDROP},
        {"hot tracking with its underlines",
         [](ListViewProperties& p) { p.hotTracking = 1, p.underlineCold = 0; }, 0, 0,
         LVS_EX_TRACKSELECT | LVS_EX_ONECLICKACTIVATE | LVS_EX_UNDERLINEHOT, kHot},
        {"the other styles",
         [](ListViewProperties& p) { p.editLabels = 1, p.sortOrder = 1, p.singleSelection = 0, p.showSelectionAlways = 1, p.flatScrollBars = 1; },
         LVS_EDITLABELS | LVS_SORTASCENDING | LVS_SHOWSELALWAYS, LVS_EDITLABELS | LVS_SORTASCENDING | LVS_SORTDESCENDING | LVS_SINGLESEL | LVS_SHOWSELALWAYS,
         LVS_EX_FLATSB, LVS_EX_FLATSB},
    };
    for (const Case& c : cases) {
        ListViewProperties p;
        c.change(p);
        ASSERT_TRUE(ShowExtended(TestWindow({List(p)}))) << c.what;
        const auto style = static_cast<DWORD>(GetWindowLongA(ListWindow(), GWL_STYLE));
        const auto extended = static_cast<DWORD>(SendMessageA(ListWindow(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0));
        EXPECT_EQ(style & c.styleMask, c.style) << c.what;
        EXPECT_EQ(extended & c.extendedMask, c.extended) << c.what;
        TearDown();
    }

    // The hot-tracking options re-create the control only while hot tracking is on.
    ASSERT_TRUE(ShowExtended(TestWindow({List(ListViewProperties{})})));
    HWND before = ListWindow();
    Write("list", 27, 0);  // HandCursor
    EXPECT_EQ(ListWindow(), before);
    EXPECT_EQ(Read("list", 27), 0u);
    Write("list", 26, 1);  // HotTracking
    EXPECT_NE(ListWindow(), before);
    before = ListWindow();
    Write("list", 29, 0);  // UnderlineHot
    EXPECT_NE(ListWindow(), before);
    EXPECT_FALSE(SendMessageA(ListWindow(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_UNDERLINEHOT);
}

TEST_F(ListViewTest, PropertyDataMakesColumnsRowsTipsAndImages) {
    ListViewProperties p = ReportList(true);
    p.columns = ColumnData({{false, -1, extui::kAlignLeft, 120, "\xC3\xFB\xB3\xC6"},  // 名称
                            {true, 0, extui::kAlignRight, 80, "Size"},
                            {false, -1, extui::kAlignCenter, 60, "When"}});
    p.headerImages = SolidImageListData(1);
    p.images = SolidImageListData(2);
    std::vector<extui::ListItemEntry> rows;
    extui::AppendRow(rows, {"first", "10", "today"}, "tip of the first row");
    // 二三四五六: a tip whose cut to a short buffer would fall inside a character
    extui::AppendRow(rows, {"second", "20"}, "\xB6\xFE\xC8\xFD\xCB\xC4\xCE\xE5\xC1\xF9");
    rows[3].image = 1, rows[3].stateImage = 1, rows[3].data = 77;  // "second": image 1, checked
    rows[0].image = 5;                                             // outside the list: none
    p.initialItems = extui::ItemData(rows);
    ASSERT_TRUE(ShowExtended(TestWindow({List(p)})));
    HWND list = ListWindow();

    HWND header = reinterpret_cast<HWND>(SendMessageA(list, LVM_GETHEADER, 0, 0));
    ASSERT_EQ(SendMessageA(header, HDM_GETITEMCOUNT, 0, 0), 3);
    char title[64] = {};
    LVCOLUMNA column{};
    column.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT | LVCF_IMAGE;
    column.pszText = title;
    column.cchTextMax = sizeof title;
    SendMessageA(list, LVM_GETCOLUMNA, 0, reinterpret_cast<LPARAM>(&column));
    EXPECT_STREQ(title, "\xC3\xFB\xB3\xC6");
    EXPECT_EQ(column.cx, 120);
    SendMessageA(list, LVM_GETCOLUMNA, 1, reinterpret_cast<LPARAM>(&column));
    EXPECT_EQ(column.fmt & LVCFMT_JUSTIFYMASK, LVCFMT_RIGHT);
    EXPECT_TRUE(column.fmt & LVCFMT_IMAGE);
    EXPECT_TRUE(column.fmt & LVCFMT_BITMAP_ON_RIGHT);
    auto headerList = reinterpret_cast<HIMAGELIST>(SendMessageA(header, HDM_GETIMAGELIST, 0, 0));
    ASSERT_NE(headerList, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(headerList), 1);

    ASSERT_EQ(Rows(), 2);
    EXPECT_EQ(CallText(kGetItemText, "list", {Int(0), Int(2)}), "today");
    EXPECT_EQ(CallText(kGetItemText, "list", {Int(1), Int(1)}), "20");
    LVITEMA item{};
    item.mask = LVIF_IMAGE | LVIF_PARAM;
    item.iItem = 1;
    SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(item.iImage, 1);
    EXPECT_EQ(item.lParam, 77);
    item.iItem = 0;
    SendMessageA(list, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&item));
    EXPECT_EQ(item.iImage, -1);
    EXPECT_EQ(CheckState(1), 1);
    EXPECT_EQ(CheckState(0), 0);
    auto smallList = reinterpret_cast<HIMAGELIST>(SendMessageA(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
    ASSERT_NE(smallList, nullptr) << "report view takes Images as its smallList list";
    EXPECT_EQ(ImageList_GetImageCount(smallList), 2);

    // The tip of a row is the tip text of its entry, cut to the tip buffer.
    char tip[8] = {};
    NMLVGETINFOTIPA request{};
    request.hdr = {list, static_cast<UINT_PTR>(GetDlgCtrlID(list)), static_cast<UINT>(LVN_GETINFOTIPA)};
    request.pszText = tip;
    request.cchTextMax = sizeof tip;
    request.iItem = 0;
    SendMessageA(GetParent(list), WM_NOTIFY, request.hdr.idFrom, reinterpret_cast<LPARAM>(&request));
    EXPECT_STREQ(tip, "tip of ");
    // Seven bytes hold three GBK characters; the fourth's lead byte is not left alone.
    request.iItem = 1;
    SendMessageA(GetParent(list), WM_NOTIFY, request.hdr.idFrom, reinterpret_cast<LPARAM>(&request));
    EXPECT_STREQ(tip, "\xB6\xFE\xC8\xFD\xCB\xC4");
    WCHAR wideTip[4] = {};
    NMLVGETINFOTIPW wide{};
    wide.hdr = {list, static_cast<UINT_PTR>(GetDlgCtrlID(list)), static_cast<UINT>(LVN_GETINFOTIPW)};
    wide.pszText = wideTip;
    wide.cchTextMax = 4;
    wide.iItem = 1;
    SendMessageA(GetParent(list), WM_NOTIFY, wide.hdr.idFrom, reinterpret_cast<LPARAM>(&wide));
    const WCHAR expected[] = {0x4E8C, 0x4E09, 0x56DB, 0};  // 二三四
    EXPECT_EQ(memcmp(wideTip, expected, sizeof expected), 0);

    // The texts the forms engine's text conversion sees (type service 9), in their order.
    const std::vector<std::string> texts = EnumeratedTexts(&extui::ListViewInterface, list);
    EXPECT_EQ(texts, (std::vector<std::string>{"\xC3\xFB\xB3\xC6", "Size", "When", "first", "tip of the first row", "10",
                                               "today", "second", "\xB6\xFE\xC8\xFD\xCB\xC4\xCE\xE5\xC1\xF9", "20"}));

    // Image list data with another tag, cut short or damaged after the tag is ignored.
    std::vector<uint8_t> wrong = SolidImageListData(3);
    wrong[0] = 'X';
    std::vector<uint8_t> cut = SolidImageListData(3);
    cut.resize(cut.size() / 2);
    std::vector<uint8_t> damaged = SolidImageListData(3);
    for (size_t i = 8; i < damaged.size(); i += 3) damaged[i] = static_cast<uint8_t>(i * 37);
    for (const auto& data : {wrong, cut, damaged, std::vector<uint8_t>{'M', 'I', 'T', 'L', 0, 0, 0, 0, 0}}) {
        WriteBytes("list", 24, data);
        EXPECT_EQ(reinterpret_cast<HIMAGELIST>(SendMessageA(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0)), nullptr);
    }
    WriteBytes("list", 24, SolidImageListData(3));
    smallList = reinterpret_cast<HIMAGELIST>(SendMessageA(list, LVM_GETIMAGELIST, LVSIL_SMALL, 0));
    ASSERT_NE(smallList, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(smallList), 3);
}

TEST_F(ListViewTest, DataThatDoesNotLoadRefusesTheWindow) {
    std::vector<uint8_t> newer = ListViewBlob(ListViewProperties{});
    newer[0] = 2;
    std::vector<uint8_t> cut = ListViewBlob(ListViewProperties{});
    cut.resize(cut.size() - 3);
    for (const auto& blob : {newer, cut}) {
        EXPECT_FALSE(ShowExtended(TestWindow({Component(type_code::kListView, "list").At(10, 10, 200, 100)
                                                  .Flags(kVisible).Properties(blob)})));
        TearDown();
    }
    std::vector<uint8_t> version0 = ListViewBlob(ReportList(true));
    version0[0] = 0;
    EXPECT_TRUE(ShowExtended(TestWindow({Component(type_code::kListView, "list").At(10, 10, 200, 100)
                                             .Flags(kVisible).Properties(version0)})));
    EXPECT_TRUE(SendMessageA(ListWindow(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_CHECKBOXES);
}

}  // namespace
}  // namespace ruvelto::extui_test
