// Watchers and shell objects are all given back: many expand / collapse / refresh cycles of a
// folder, and many DirTrees made and destroyed, leave the process with the threads, kernel
// handles and GDI objects it had, as the system counts them.
#include <gtest/gtest.h>

#include "forms/unit_commands.h"
#include "tests/extui/dir_tree_fixture.h"

namespace ruvelto::extui_test {
namespace {

struct Counts {
    int threads, handles, gdi;
};

Counts Now() {
    Pump(100);
    return {ThreadCount(), HandleCount(), GdiObjectCount()};
}

void ExpectSame(const Counts& before, const Counts& after) {
    EXPECT_EQ(after.threads, before.threads);
    EXPECT_EQ(after.handles, before.handles);
    EXPECT_EQ(after.gdi, before.gdi);
}

TEST_F(DirTreeTest, ExpandCollapseRefreshCyclesLeaveNothingBehind) {
    image_data::DirTreeProperties tree;
    tree.rootAtComputer = 1;
    tree.showFiles = 1;
    Show(tree);
    WriteCurrentPath(base_);
    HTREEITEM folder = Selection();
    ASSERT_EQ(SelectedPath(), base_);
    const std::string file = base_ + "\\cycle.ruvtest";
    auto cycle = [&] {
        keybd_event(VK_RIGHT, 0, 0, 0), keybd_event(VK_RIGHT, 0, KEYEVENTF_KEYUP, 0);
        ASSERT_TRUE(PumpUntil([&] { return Expanded(folder); }));
        MakeFile(file);
        ASSERT_TRUE(PumpUntil([&] { return Child(folder, "cycle.ruvtest") != nullptr; }));  // a refresh
        DeleteFileA(file.c_str());
        ASSERT_TRUE(PumpUntil([&] { return Child(folder, "cycle.ruvtest") == nullptr; }));  // another
        keybd_event(VK_LEFT, 0, 0, 0), keybd_event(VK_LEFT, 0, KEYEVENTF_KEYUP, 0);
        ASSERT_TRUE(PumpUntil([&] { return !Expanded(folder) && !TreeView_GetChild(Tree(), folder); }));
    };
    cycle();  // the first time fills the shell's caches and the system icon list
    const Counts before = Now();
    const int threadsWhileCollapsed = before.threads;
    for (int i = 0; i < 200 && !HasFatalFailure(); ++i) {
        cycle();
        if (i == 0) {
            // Expanded, the folder has a watcher of its own: one thread more than collapsed.
            keybd_event(VK_RIGHT, 0, 0, 0), keybd_event(VK_RIGHT, 0, KEYEVENTF_KEYUP, 0);
            ASSERT_TRUE(PumpUntil([&] { return Expanded(folder); }));
            EXPECT_EQ(ThreadCount(), threadsWhileCollapsed + 1);
            keybd_event(VK_LEFT, 0, 0, 0), keybd_event(VK_LEFT, 0, KEYEVENTF_KEYUP, 0);
            ASSERT_TRUE(PumpUntil([&] { return !Expanded(folder); }));
            Pump(60);
        }
    }
    ExpectSame(before, Now());
}

TEST_F(DirTreeTest, CreatedAndDestroyedTreesLeaveNothingBehind) {
    image_data::DirTreeProperties tree;
    tree.rootAtComputer = 1;
    tree.currentPath = base_;  // several levels open, each with its watcher
    Show(tree, true);
    const ValueRecord second{kSecondWindow, OwnIdOf(kSecondWindow), kTypeWindow};
    auto cycle = [&] {
        ASSERT_TRUE(Load(kSecondWindow));
        HWND made = UnitHandle(kSecondWindow, kTreeName);
        ASSERT_TRUE(made);
        EXPECT_GT(TreeView_GetCount(made), 3u);
        ValueRecord args[2] = {second, {1, 0, kTypeBool}};
        ValueRecord result{};
        forms::DestroyUnitCommand(&result, 2, args);
        Pump(20);
        ASSERT_FALSE(IsWindow(made));
    };
    cycle();
    const Counts before = Now();
    for (int i = 0; i < 50 && !HasFatalFailure(); ++i) cycle();
    ExpectSame(before, Now());
}

}  // namespace
}  // namespace ruvelto::extui_test
