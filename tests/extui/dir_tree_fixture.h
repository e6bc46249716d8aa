// A window holding a real DirTree over the real shell namespace, loaded from a builder template
// with the directory tree library in its place (library 2), and a folder of our own on drive C
// to look at: <base>\empty (no subfolders) and <base>\图片\子.
#pragma once
#include <windows.h>

#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "image-data/dir_tree_type.h"
#include "tests/forms/forms_fixture.h"

namespace ruvelto::extui_test {

using forms_test::Pump;

constexpr uint32_t kWindow = 0x52010001;
constexpr uint32_t kSecondWindow = 0x52010100;
extern const char kTreeName[];
extern const char kPictures[];  // 图片 in GBK

// The SelectionChanged events the tree's handler saw, with their argument, and the numbers of
// the tree's other events (DoubleClicked 1, ItemClicked 2) in the order they came.
extern std::vector<uint32_t> selectionEvents;
extern std::vector<int32_t> otherEvents;
// Run inside the SelectionChanged handler, when set (cleared by each test's set-up).
extern std::function<void()> duringSelection;

class DirTreeTest : public forms_test::FormsTest {
protected:
    static void SetUpTestSuite();
    static void TearDownTestSuite();
    void SetUp() override { selectionEvents.clear(), otherEvents.clear(), duringSelection = nullptr; }

    // Starts the runtime with the window (and the second window, when given) and loads the first.
    void Show(const image_data::DirTreeProperties& tree, bool secondWindow = false);
    // The same with a property block as a window description holds it.
    void Show(const std::vector<uint8_t>& block, bool secondWindow = false);

    HWND Tree() const { return UnitHandle(kWindow, kTreeName); }
    uint32_t TreeId() const { return IdOf(kWindow, kTreeName); }
    std::string SelectedPath() const;  // through the library's GetSelectedPath command
    void WriteCurrentPath(const std::string& path) const;
    std::string ReadCurrentPath() const;

    // Items and their texts, as the control holds them.
    HTREEITEM Root() const;
    HTREEITEM Child(HTREEITEM parent, const std::string& text) const;
    std::vector<std::string> ChildTexts(HTREEITEM parent) const;
    std::string Text(HTREEITEM item) const;
    HTREEITEM Selection() const;
    bool Expanded(HTREEITEM item) const;
    int ChildCount(HTREEITEM item) const;  // the cChildren the control holds: 0 means no button
    // Selects an item with a real click on its text.
    void ClickItem(HTREEITEM item) const;
    // Pumps until `done` holds or `milliseconds` pass; true when it held.
    template <class Done>
    static bool PumpUntil(Done done, int milliseconds = 5000) {
        for (int waited = 0; waited < milliseconds; waited += 20) {
            if (done()) return true;
            Pump(20);
        }
        return done();
    }

    static std::string base_;  // C:\ruvelto-dirtree-<pid>
};

// Writes a small file through the system (a Windows path; the C++ library takes Unix paths).
void MakeFile(const std::string& path);

// The process's threads, open kernel handles and GDI objects, counted by asking the system.
int ThreadCount();
int HandleCount();
int GdiObjectCount();

}  // namespace ruvelto::extui_test
