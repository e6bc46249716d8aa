#include "tests/extui/dir_tree_fixture.h"

#include <tlhelp32.h>

#include <cstdio>

#include "extui/dir_tree.h"
#include "extui/dir_tree_library.h"
#include "forms/events.h"
#include "forms/forms_engine.h"
#include "forms/property_access.h"
#include "forms/window_unit.h"
#include "image-data/memory_image.h"
#include "runtime/entry_table.h"
#include "runtime/heap.h"
#include "runtime/startup.h"
#include "tests/forms/test_components.h"
#include "runtime/address_word.h"

namespace ruvelto::extui_test {

const char kTreeName[] = "\xC4\xBF\xC2\xBC\xCA\xF7" "1";  // 目录树1
const char kPictures[] = "\xCD\xBC\xC6\xAC";               // 图片
std::vector<uint32_t> selectionEvents;
std::vector<int32_t> otherEvents;
std::function<void()> duringSelection;
std::string DirTreeTest::base_;

namespace {

uint64_t SelectionHandler(uint32_t notFolder, uint32_t) {
    selectionEvents.push_back(notFolder);
    if (duringSelection) duringSelection();
    return forms::kReturnsNothing;
}

uint64_t DoubleClickedHandler(uint32_t, uint32_t) {
    otherEvents.push_back(1);
    return forms::kReturnsNothing;
}

uint64_t ItemClickedHandler(uint32_t, uint32_t) {
    otherEvents.push_back(2);
    return forms::kReturnsNothing;
}

void RemoveTree(const std::string& path) {
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") continue;
            const std::string full = path + "\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) RemoveTree(full);
            else DeleteFileA(full.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(path.c_str());
}

}  // namespace

void DirTreeTest::SetUpTestSuite() {
    base_ = "C:\\ruvelto-dirtree-" + std::to_string(GetCurrentProcessId());
    RemoveTree(base_);
    CreateDirectoryA(base_.c_str(), nullptr);
    CreateDirectoryA((base_ + "\\empty").c_str(), nullptr);
    CreateDirectoryA((base_ + "\\" + kPictures).c_str(), nullptr);
    CreateDirectoryA((base_ + "\\" + kPictures + "\\\xD7\xD3").c_str(), nullptr);  // 子
}

void DirTreeTest::TearDownTestSuite() { RemoveTree(base_); }

void DirTreeTest::Show(const image_data::DirTreeProperties& tree, bool secondWindow) {
    Show(image_data::DirTreeBlob(tree), secondWindow);
}

void DirTreeTest::Show(const std::vector<uint8_t>& block, bool secondWindow) {
    using namespace image_data;
    auto window = forms_test::TestWindow(kWindow, "DirTree", 420, 420);
    window.components = {Component(type_code::kDirTree, kTreeName)
                             .At(10, 10, 380, 360)
                             .Flags(kVisible | kTabStop)
                             .Properties(block)
                             .On(0, forms_test::Handler(&SelectionHandler))
                             .On(1, forms_test::Handler(&DoubleClickedHandler))
                             .On(2, forms_test::Handler(&ItemClickedHandler))};
    std::vector<WindowDescription> windows = {window};
    if (secondWindow) {
        auto second = forms_test::TestWindow(kSecondWindow, "DirTree 2", 300, 300);
        second.components = {Component(type_code::kDirTree, kTreeName).At(0, 0, 280, 260).Flags(kVisible).Properties(block)};
        windows.push_back(second);
    }
    AssignUnitIds(windows);
    windows_ = windows;

    LibraryDescription dirTree;
    dirTree.name = "\xC4\xBF\xC2\xBC\xCA\xF7\xBF\xE2";  // 目录树库
    dirTree.types = {DirTreeTypeDescription()};
    dirTree.types[0].typeInterface.address = reinterpret_cast<const void*>(&extui::DirTreeInterface);
    ProgramImageDescription description;
    description.libraries = {forms_test::TestCoreLibrary(), dirTree};
    description.constants.AddText("Empty", "");
    description.templateSegment = WriteTemplateSegment(windows).bytes;
    image_ = std::make_unique<MemoryImage>(description);
    forms::WindowUnits().Clear();
    forms::InstallFormsEngine();
    runtime::UseProgramImage(&image_->Header());
    runtime::EntryRuntimeHelper(runtime::kHelperStartRuntime);
    ASSERT_TRUE(Load(kWindow));
    forms_test::Activate(WindowHandle(kWindow), Tree());
    Pump(60);
    selectionEvents.clear();
    otherEvents.clear();
}

std::string DirTreeTest::SelectedPath() const {
    ValueRecord tree{kWindow, TreeId(), kTypeDirTree};
    ValueRecord result{};
    extui::GetSelectedPathCommand(&result, 1, &tree);
    EXPECT_EQ(result.type, kTypeText);
    const char* text = reinterpret_cast<const char*>(static_cast<uintptr_t>(result.lo));
    std::string path = text ? text : "";
    heap::Free(const_cast<char*>(text));
    return path;
}

void DirTreeTest::WriteCurrentPath(const std::string& path) const {
    forms::WriteProperty(kWindow, TreeId(), 8 + extui::kTreeCurrentPath, -1,
                         AddressWord(path.c_str()), 0);
}

std::string DirTreeTest::ReadCurrentPath() const {
    const uint64_t value = forms::ReadProperty(kWindow, TreeId(), 8 + extui::kTreeCurrentPath, -1);
    const char* text = reinterpret_cast<const char*>(static_cast<uintptr_t>(value));
    std::string path = text ? text : "";
    heap::Free(const_cast<char*>(text));
    return path;
}

HTREEITEM DirTreeTest::Root() const { return TreeView_GetRoot(Tree()); }

HTREEITEM DirTreeTest::Child(HTREEITEM parent, const std::string& text) const {
    for (HTREEITEM c = TreeView_GetChild(Tree(), parent); c; c = TreeView_GetNextSibling(Tree(), c))
        if (Text(c) == text) return c;
    return nullptr;
}

std::vector<std::string> DirTreeTest::ChildTexts(HTREEITEM parent) const {
    std::vector<std::string> texts;
    for (HTREEITEM c = TreeView_GetChild(Tree(), parent); c; c = TreeView_GetNextSibling(Tree(), c))
        texts.push_back(Text(c));
    return texts;
}

std::string DirTreeTest::Text(HTREEITEM item) const {
    char text[MAX_PATH] = {};
    TVITEMA it{};
    it.mask = TVIF_TEXT | TVIF_HANDLE;
    it.hItem = item;
    it.pszText = text;
    it.cchTextMax = sizeof text;
    SendMessageA(Tree(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it));
    return text;
}

HTREEITEM DirTreeTest::Selection() const { return TreeView_GetSelection(Tree()); }

bool DirTreeTest::Expanded(HTREEITEM item) const {
    return (TreeView_GetItemState(Tree(), item, TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
}

int DirTreeTest::ChildCount(HTREEITEM item) const {
    TVITEMA it{};
    it.mask = TVIF_CHILDREN | TVIF_HANDLE;
    it.hItem = item;
    SendMessageA(Tree(), TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it));
    return it.cChildren;
}

void DirTreeTest::ClickItem(HTREEITEM item) const {
    // Not the TreeView_EnsureVisible macro: Wine's cuts the item to 32 bits.
    SendMessageA(Tree(), TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(item));
    RECT r{};
    TreeView_GetItemRect(Tree(), item, &r, TRUE);
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ClientToScreen(Tree(), &p);
    forms_test::MouseAt(p, 0);
    forms_test::MouseAt(p, MOUSEEVENTF_LEFTDOWN);
    forms_test::MouseAt(p, MOUSEEVENTF_LEFTUP);
    // Input takes its time on a busy machine: wait for the control to have acted on it.
    PumpUntil([&] { return Selection() == item; }, 10000);
    Pump(60);
}

void MakeFile(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    WriteFile(file, "x", 1, &written, nullptr);
    CloseHandle(file);
}

int ThreadCount() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return -1;
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        count += entry.th32OwnerProcessID == GetCurrentProcessId();
    CloseHandle(snapshot);
    return count;
}

int HandleCount() {
    // Kernel handles are multiples of 4; the system answers for the ones that are open.
    int count = 0;
    DWORD flags = 0;
    for (uintptr_t h = 4; h < 0x20000; h += 4) count += GetHandleInformation(reinterpret_cast<HANDLE>(h), &flags) != 0;
    return count;
}

int GdiObjectCount() {
    if (DWORD counted = GetGuiResources(GetCurrentProcess(), 0 /* GR_GDIOBJECTS */)) return static_cast<int>(counted);
    // Where the system does not count them (Wine): GDI handles are an index in the low word, and
    // the system names the type of each one in use.
    int count = 0;
    for (uintptr_t h = 1; h < 0x10000; ++h) count += GetObjectType(reinterpret_cast<HGDIOBJ>(h)) != 0;
    return count;
}

}  // namespace ruvelto::extui_test
