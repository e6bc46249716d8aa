// The directory tree's properties, events and context menu on a live control, and a screenshot
// (build/wine/artifacts/dir_tree.bmp) for a person to look at.
#include <windows.h>

#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "extui/dir_tree_properties.h"
#include "forms/property_access.h"
#include "image-data/windows/program_windows.h"
#include "tests/extui/dir_tree_fixture.h"

namespace ruvelto::extui_test {
namespace {

class DirTreeControl : public DirTreeTest {
protected:
    void Write(int32_t own, uint32_t value) const { forms::WriteProperty(kWindow, TreeId(), 8 + own, -1, value, 0); }
    uint32_t Read(int32_t own) const { return static_cast<uint32_t>(forms::ReadProperty(kWindow, TreeId(), 8 + own, -1)); }
    DWORD Style() const { return static_cast<DWORD>(GetWindowLongA(Tree(), GWL_STYLE)); }
};

TEST_F(DirTreeControl, PropertiesApplyAtOnce) {
    Show(image_data::DirTreeProperties{});
    EXPECT_EQ(Style() & (TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS),
              DWORD(TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS));
    EXPECT_TRUE(GetWindowLongA(Tree(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);  // Border 1

    struct StyleCase {
        int32_t property;
        DWORD bit;
    };
    for (StyleCase c : {StyleCase{extui::kTreeHasButtons, TVS_HASBUTTONS}, StyleCase{extui::kTreeHasLines, TVS_HASLINES},
                        StyleCase{extui::kTreeLinesAtRoot, TVS_LINESATROOT},
                        StyleCase{extui::kTreeShowSelectionAlways, TVS_SHOWSELALWAYS},
                        StyleCase{extui::kTreeHotTracking, TVS_TRACKSELECT}}) {
        const bool was = Style() & c.bit;
        Write(c.property, was ? 0 : 1);
        EXPECT_EQ((Style() & c.bit) != 0, !was) << c.property;
        EXPECT_EQ(Read(c.property), was ? 0u : 1u);
    }
    Write(extui::kTreeTextColor, 0x0000FF);
    EXPECT_EQ(TreeView_GetTextColor(Tree()), COLORREF(0x0000FF));
    Write(extui::kTreeBackColor, 0x00EEDD);
    EXPECT_EQ(TreeView_GetBkColor(Tree()), COLORREF(0x00EEDD));
    Write(extui::kTreeItemHeight, 30);
    EXPECT_EQ(TreeView_GetItemHeight(Tree()), 30);
    Write(extui::kTreeBorder, 9);  // clamped to 5: a plain border
    EXPECT_EQ(Read(extui::kTreeBorder), 5u);
    EXPECT_TRUE(Style() & WS_BORDER);
    EXPECT_FALSE(GetWindowLongA(Tree(), GWL_EXSTYLE) & WS_EX_CLIENTEDGE);
    // Font sub-fields go through the whole record: size 12 gives a larger font on the control.
    LOGFONTA before{}, after{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(Tree(), WM_GETFONT, 0, 0)), sizeof before, &before);
    forms::WriteProperty(kWindow, TreeId(), 8 + extui::kTreeFont, 5, 12, 0);
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(Tree(), WM_GETFONT, 0, 0)), sizeof after, &after);
    EXPECT_EQ(std::string(before.lfFaceName), "\xCB\xCE\xCC\xE5");
    EXPECT_LT(after.lfHeight, before.lfHeight);
}

TEST_F(DirTreeControl, DesktopRootAndRecreatingAtTheComputer) {
    Show(image_data::DirTreeProperties{});
    HTREEITEM desktop = Root();
    ASSERT_TRUE(desktop);
    EXPECT_TRUE(Expanded(desktop));
    ClickItem(desktop);
    char desktopPath[MAX_PATH] = {};
    ASSERT_TRUE(SHGetSpecialFolderPathA(nullptr, desktopPath, CSIDL_DESKTOPDIRECTORY, FALSE));
    EXPECT_EQ(SelectedPath(), desktopPath);
    // The computer folder is among the desktop's children; paths under it are found from here.
    WriteCurrentPath(base_ + "\\" + kPictures);
    EXPECT_EQ(SelectedPath(), base_ + "\\" + kPictures);

    HWND old = Tree();
    Write(extui::kTreeFileSystemOnly, 1);  // matters only under the computer folder: no new control
    EXPECT_EQ(Tree(), old);
    EXPECT_EQ(Read(extui::kTreeFileSystemOnly), 1u);
    Write(extui::kTreeRootAtComputer, 1);  // a new control, rooted at the computer folder
    EXPECT_NE(Tree(), old);
    EXPECT_FALSE(IsWindow(old));
    ClickItem(Root());
    EXPECT_EQ(SelectedPath(), "");
    EXPECT_EQ(Read(extui::kTreeRootAtComputer), 1u);
}

// With FileSystemOnly every item under the computer folder has a path (the control panel and
// other namespace folders are left out).
TEST_F(DirTreeControl, FileSystemOnlyLeavesOutNamespaceFolders) {
    auto pathless = [&] {
        int count = 0;
        for (HTREEITEM c = TreeView_GetChild(Tree(), Root()); c; c = TreeView_GetNextSibling(Tree(), c)) {
            TreeView_SelectItem(Tree(), c);
            count += SelectedPath().empty();
        }
        return count;
    };
    image_data::DirTreeProperties tree;
    tree.rootAtComputer = 1;
    tree.fileSystemOnly = 1;
    Show(tree);
    EXPECT_GT(ChildTexts(Root()).size(), 0u);
    EXPECT_EQ(pathless(), 0);
    Write(extui::kTreeFileSystemOnly, 0);  // re-created: the control panel is back
    EXPECT_GT(pathless(), 0);
}

TEST_F(DirTreeControl, ClicksRaiseItemClickedAndDoubleClicked) {
    image_data::DirTreeProperties tree;
    tree.rootAtComputer = 1;
    Show(tree);
    WriteCurrentPath(base_);
    HTREEITEM folder = Selection();
    otherEvents.clear();
    ClickItem(folder);
    EXPECT_EQ(otherEvents, std::vector<int32_t>{2});
    otherEvents.clear();
    RECT r{};
    TreeView_GetItemRect(Tree(), folder, &r, TRUE);
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(Tree(), &p);
    SetCursorPos(p.x, p.y);
    for (int i = 0; i < 2; ++i) mouse_event(MOUSEEVENTF_LEFTDOWN, 0, 0, 0, 0), mouse_event(MOUSEEVENTF_LEFTUP, 0, 0, 0, 0);
    EXPECT_TRUE(PumpUntil([&] { return std::find(otherEvents.begin(), otherEvents.end(), 1) != otherEvents.end(); }));
    EXPECT_TRUE(Expanded(folder));  // the control's own double-click action still happens
}

// Collapsing a folder forgets its children; a selection inside moves up to the folder, and the
// move is announced.
TEST_F(DirTreeControl, CollapsingAFolderWithTheSelectionInside) {
    image_data::DirTreeProperties tree;
    tree.rootAtComputer = 1;
    Show(tree);
    WriteCurrentPath(base_);
    HTREEITEM folder = Selection();
    WriteCurrentPath(base_ + "\\" + kPictures + "\\\xD7\xD3");
    selectionEvents.clear();
    TreeView_Expand(Tree(), folder, TVE_COLLAPSE);
    ASSERT_TRUE(PumpUntil([&] { return TreeView_GetChild(Tree(), folder) == nullptr; }));
    EXPECT_EQ(SelectedPath(), base_);
    EXPECT_FALSE(selectionEvents.empty());
    EXPECT_NE(ChildCount(folder), 0);  // it still offers to expand
    forms_test::PressKey(VK_RIGHT);
    EXPECT_TRUE(PumpUntil([&] { return Child(folder, kPictures) != nullptr; }));
}

// Right click with ContextMenu on: the menu holds "展开(&E)" (not "收缩(&C)") for a collapsed
// folder with children, then the shell's own items; E expands and selects the folder.
struct MenuScript {
    POINT at{};
    std::vector<std::string> items;
};

DWORD WINAPI RightClickAndExpand(void* parameter) {
    auto* script = static_cast<MenuScript*>(parameter);
    SetCursorPos(script->at.x, script->at.y);
    Sleep(40);
    mouse_event(MOUSEEVENTF_RIGHTDOWN, 0, 0, 0, 0);
    Sleep(40);
    mouse_event(MOUSEEVENTF_RIGHTUP, 0, 0, 0, 0);
    HWND popup = nullptr;
    for (int i = 0; i < 100 && !popup; ++i) Sleep(30), popup = FindWindowA("#32768", nullptr);
    if (!popup) return 1;
    Sleep(100);
    auto menu = reinterpret_cast<HMENU>(SendMessageA(popup, MN_GETHMENU, 0, 0));
    for (int i = 0; menu && i < GetMenuItemCount(menu); ++i) {
        char text[128] = {};
        GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
        script->items.push_back(text);
    }
    keybd_event('E', 0, 0, 0);
    keybd_event('E', 0, KEYEVENTF_KEYUP, 0);
    Sleep(100);
    return 0;
}

TEST_F(DirTreeControl, ContextMenuExpandsTheFolder) {
    image_data::DirTreeProperties tree;
    tree.rootAtComputer = 1;
    tree.contextMenu = 1;
    Show(tree);
    WriteCurrentPath(base_ + "\\empty");
    HTREEITEM folder = TreeView_GetParent(Tree(), Selection());
    TreeView_Expand(Tree(), folder, TVE_COLLAPSE);
    ASSERT_TRUE(PumpUntil([&] { return TreeView_GetChild(Tree(), folder) == nullptr; }));
    ASSERT_FALSE(Expanded(folder));
    RECT r{};
    TreeView_GetItemRect(Tree(), folder, &r, TRUE);
    MenuScript script;
    script.at = {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(Tree(), &script.at);
    HANDLE thread = CreateThread(nullptr, 0, &RightClickAndExpand, &script, 0, nullptr);
    while (MsgWaitForMultipleObjects(1, &thread, FALSE, 10000, QS_ALLINPUT) == WAIT_OBJECT_0 + 1) Pump(5);
    DWORD code = 1;
    GetExitCodeThread(thread, &code);
    CloseHandle(thread);
    Pump(100);
    ASSERT_EQ(code, 0u) << "no menu appeared";
    ASSERT_GE(script.items.size(), 1u);
    EXPECT_EQ(script.items[0], "\xD5\xB9\xBF\xAA(&E)");  // 展开(&E)
    for (const std::string& item : script.items) EXPECT_NE(item, "\xCA\xD5\xCB\xF5(&C)");
    EXPECT_TRUE(Expanded(folder));
    EXPECT_EQ(Selection(), folder);
    EXPECT_TRUE(Child(folder, "empty"));
}

// The main window's folder tree, from the property data its description stores: the computer
// folder at the root with the drives below it, and only items with a file-system path.
TEST_F(DirTreeControl, MainWindowTreeFromItsDescription) {
    std::vector<uint8_t> block;
    for (const auto& c : image_data::MainWindow().components)
        if (c.typeCode == image_data::type_code::kDirTree) block = c.propertyBlock;
    ASSERT_FALSE(block.empty());
    Show(block);
    std::vector<std::string> drives;
    for (HTREEITEM c = TreeView_GetChild(Tree(), Root()); c; c = TreeView_GetNextSibling(Tree(), c)) {
        TreeView_SelectItem(Tree(), c);
        EXPECT_FALSE(SelectedPath().empty()) << Text(c);
        drives.push_back(SelectedPath());
    }
    EXPECT_NE(std::find(drives.begin(), drives.end(), "C:\\"), drives.end());
    ClickItem(Root());
    EXPECT_EQ(SelectedPath(), "");
    WriteCurrentPath(base_ + "\\" + kPictures);
    EXPECT_EQ(SelectedPath(), base_ + "\\" + kPictures);
}

TEST_F(DirTreeControl, Screenshot) {
    image_data::DirTreeProperties tree;
    tree.rootAtComputer = 1;
    Show(tree);
    WriteCurrentPath(base_ + "\\" + kPictures + "\\\xD7\xD3");
    Pump(200);
    const std::string folder = std::string(RUVELTO_BINARY_DIR) + "/artifacts";
    CreateDirectoryA(("Z:" + folder).c_str(), nullptr);
    EXPECT_TRUE(forms_test::SaveWindowPicture(WindowHandle(kWindow), folder + "/dir_tree.bmp"));
}

}  // namespace
}  // namespace ruvelto::extui_test
