// The directory tree over real folders, driven with real mouse and keyboard input.
#include <gtest/gtest.h>

#include "forms/unit_commands.h"
#include "tests/extui/dir_tree_fixture.h"

namespace ruvelto::extui_test {
namespace {

image_data::DirTreeProperties AtComputer(bool showFiles = false) {
    image_data::DirTreeProperties tree;
    tree.rootAtComputer = 1;
    tree.showFiles = showFiles ? 1 : 0;
    return tree;
}

class DirTreeBehaviour : public DirTreeTest {
protected:
    // Selects the test folder through CurrentPath and expands it with the right arrow key.
    HTREEITEM OpenBase() {
        WriteCurrentPath(base_);
        HTREEITEM folder = Selection();
        EXPECT_EQ(SelectedPath(), base_);
        forms_test::PressKey(VK_RIGHT);
        EXPECT_TRUE(PumpUntil([&] { return Expanded(folder); }));
        selectionEvents.clear();
        return folder;
    }
};

TEST_F(DirTreeBehaviour, RootAtComputerListsTheDrivesAndSelectsNothingWithAPath) {
    Show(AtComputer());
    HTREEITEM root = Root();
    ASSERT_TRUE(root);
    EXPECT_TRUE(Expanded(root));
    EXPECT_TRUE(TreeView_GetNextSibling(Tree(), root) == nullptr);
    // The drives come first, in letter order: C: before Z:.
    bool sawC = false, sawZ = false;
    for (const std::string& text : ChildTexts(root)) {
        if (text.find("C:") != std::string::npos) {
            EXPECT_FALSE(sawZ);
            sawC = true;
        }
        if (text.find("Z:") != std::string::npos) sawZ = true;
    }
    EXPECT_TRUE(sawC);
    // The computer folder itself has no file-system path.
    ClickItem(TreeView_GetChild(Tree(), root));
    selectionEvents.clear();
    ClickItem(root);
    EXPECT_EQ(Selection(), root);
    EXPECT_EQ(SelectedPath(), "");
    ASSERT_EQ(selectionEvents.size(), 1u);
    EXPECT_EQ(selectionEvents[0], 0u);  // a folder
}

// A folder without subfolders keeps its button only when it has something to show: with
// ShowFiles, a folder holding files opens onto them; without it, or empty, the button goes.
struct ButtonCase {
    bool showFiles;
    bool withFile;
    bool button;  // after opening
};

class FolderButton : public DirTreeBehaviour, public testing::WithParamInterface<ButtonCase> {};

TEST_P(FolderButton, FolderWithoutSubfoldersKeepsItsButtonOnlyWithSomethingToShow) {
    const ButtonCase c = GetParam();
    const std::string file = base_ + "\\empty\\inside.ruvtest";
    if (c.withFile) MakeFile(file);
    Show(AtComputer(c.showFiles));
    HTREEITEM folder = OpenBase();
    HTREEITEM empty = Child(folder, "empty");
    ASSERT_TRUE(empty);
    EXPECT_NE(ChildCount(empty), 0);  // a button until it is opened
    ClickItem(empty);
    EXPECT_EQ(SelectedPath(), base_ + "\\empty");
    forms_test::PressKey(VK_RIGHT);
    if (c.button) {
        EXPECT_TRUE(PumpUntil([&] { return Expanded(empty); }));
        EXPECT_NE(ChildCount(empty), 0);
        EXPECT_TRUE(Child(empty, "inside.ruvtest")) << testing::PrintToString(ChildTexts(empty));
    } else {
        EXPECT_TRUE(PumpUntil([&] { return ChildCount(empty) == 0; }));
        EXPECT_FALSE(TreeView_GetChild(Tree(), empty));
        EXPECT_FALSE(Expanded(empty));
    }
    DeleteFileA(file.c_str());
}

INSTANTIATE_TEST_SUITE_P(ShowFilesAndContents, FolderButton,
                         testing::Values(ButtonCase{false, false, false}, ButtonCase{false, true, false},
                                         ButtonCase{true, true, true}, ButtonCase{true, false, false}));

TEST_F(DirTreeBehaviour, GbkFolderNameShowsExpandsAndGivesItsPath) {
    Show(AtComputer());
    HTREEITEM folder = OpenBase();
    HTREEITEM pictures = Child(folder, kPictures);
    ASSERT_TRUE(pictures) << testing::PrintToString(ChildTexts(folder));
    ClickItem(pictures);
    EXPECT_EQ(Selection(), pictures);
    EXPECT_EQ(SelectedPath(), base_ + "\\" + kPictures);
    ASSERT_EQ(selectionEvents.size(), 1u);
    forms_test::PressKey(VK_RIGHT);
    EXPECT_TRUE(PumpUntil([&] { return Expanded(pictures); }));
    EXPECT_EQ(ChildTexts(pictures), std::vector<std::string>{"\xD7\xD3"});  // 子
    // And the path written in GBK finds it again from elsewhere.
    WriteCurrentPath(base_ + "\\empty");
    WriteCurrentPath(base_ + "\\" + kPictures + "\\\xD7\xD3");
    EXPECT_EQ(SelectedPath(), base_ + "\\" + kPictures + "\\\xD7\xD3");
}

TEST_F(DirTreeBehaviour, CurrentPathToAMissingFolderKeepsTheSelection) {
    Show(AtComputer());
    WriteCurrentPath(base_ + "\\" + kPictures);
    HTREEITEM pictures = Selection();
    ASSERT_EQ(SelectedPath(), base_ + "\\" + kPictures);
    selectionEvents.clear();
    for (const std::string& missing : {base_ + "\\missing", std::string("Q:\\nowhere\\at\\all"), std::string("")}) {
        WriteCurrentPath(missing);
        EXPECT_EQ(Selection(), pictures) << missing;
        EXPECT_EQ(SelectedPath(), base_ + "\\" + kPictures) << missing;
        EXPECT_EQ(ReadCurrentPath(), missing);  // reading gives the text last written
    }
    EXPECT_TRUE(selectionEvents.empty());
}

TEST_F(DirTreeBehaviour, SelectingAFileRaisesSelectionChangedWithTrue) {
    MakeFile(base_ + "\\picture.ruvtest");
    Show(AtComputer(true));
    HTREEITEM folder = OpenBase();
    HTREEITEM file = Child(folder, "picture.ruvtest");
    ASSERT_TRUE(file) << testing::PrintToString(ChildTexts(folder));
    EXPECT_EQ(ChildCount(file), 0);
    ClickItem(file);
    ASSERT_EQ(selectionEvents.size(), 1u);
    EXPECT_EQ(selectionEvents[0], 1u);
    EXPECT_EQ(SelectedPath(), base_ + "\\picture.ruvtest");
    DeleteFileA((base_ + "\\picture.ruvtest").c_str());
}

// A change in an expanded folder refreshes it: a new file shows (with ShowFiles), the folder
// stays expanded, and a selection below it that still exists stays where it is, unannounced.
TEST_F(DirTreeBehaviour, FileCreatedInAnExpandedFolderRefreshesItAndKeepsTheSelection) {
    Show(AtComputer(true));
    HTREEITEM folder = OpenBase();
    ClickItem(Child(folder, kPictures));
    ASSERT_EQ(SelectedPath(), base_ + "\\" + kPictures);
    selectionEvents.clear();

    MakeFile(base_ + "\\new.ruvtest");
    ASSERT_TRUE(PumpUntil([&] { return Child(folder, "new.ruvtest") != nullptr; }));
    EXPECT_TRUE(Expanded(folder));
    EXPECT_EQ(SelectedPath(), base_ + "\\" + kPictures);
    EXPECT_EQ(Text(Selection()), kPictures);
    EXPECT_TRUE(selectionEvents.empty());

    // A selected item that goes away moves the selection to the folder, and that is announced.
    ClickItem(Child(folder, "new.ruvtest"));
    selectionEvents.clear();
    DeleteFileA((base_ + "\\new.ruvtest").c_str());
    ASSERT_TRUE(PumpUntil([&] { return Child(folder, "new.ruvtest") == nullptr; }));
    EXPECT_TRUE(Expanded(folder));
    EXPECT_EQ(SelectedPath(), base_);
    EXPECT_EQ(selectionEvents, std::vector<uint32_t>{0});
}

TEST_F(DirTreeBehaviour, FolderCreatedInAnExpandedFolderShowsWithoutFiles) {
    Show(AtComputer());
    HTREEITEM folder = OpenBase();
    const std::string added = base_ + "\\added";
    CreateDirectoryA(added.c_str(), nullptr);
    ASSERT_TRUE(PumpUntil([&] { return Child(folder, "added") != nullptr; }));
    EXPECT_TRUE(Expanded(folder));
    MakeFile(base_ + "\\ignored.ruvtest");
    Pump(300);
    EXPECT_FALSE(Child(folder, "ignored.ruvtest"));
    EXPECT_TRUE(Expanded(folder));
    DeleteFileA((base_ + "\\ignored.ruvtest").c_str());
    RemoveDirectoryA(added.c_str());
    ASSERT_TRUE(PumpUntil([&] { return Child(folder, "added") == nullptr; }));
}

// A change that comes while a handler of the tree runs (and pumps messages, as the application's
// import does) waits until the handler has returned: the items the control holds stay put.
TEST_F(DirTreeBehaviour, ChangeDuringAHandlerWaitsForItToReturn) {
    Show(AtComputer(true));
    HTREEITEM folder = OpenBase();
    HTREEITEM empty = Child(folder, "empty");
    bool unchangedInside = false;
    duringSelection = [&] {
        MakeFile(base_ + "\\during.ruvtest");
        Pump(400);
        unchangedInside = Child(folder, "empty") == empty && !Child(folder, "during.ruvtest");
    };
    ClickItem(Child(folder, kPictures));
    duringSelection = nullptr;
    EXPECT_TRUE(unchangedInside);
    ASSERT_TRUE(PumpUntil([&] { return Child(folder, "during.ruvtest") != nullptr; }));
    EXPECT_EQ(SelectedPath(), base_ + "\\" + kPictures);
    EXPECT_EQ(selectionEvents.size(), 1u);
    DeleteFileA((base_ + "\\during.ruvtest").c_str());
    ASSERT_TRUE(PumpUntil([&] { return Child(folder, "during.ruvtest") == nullptr; }));
}

}  // namespace
}  // namespace ruvelto::extui_test
