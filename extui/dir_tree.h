// DirTree (目录树): a tree view over the shell's namespace, rooted at the desktop or at the
// computer folder. Folders load their children when they first expand; an expanded folder is
// kept up to date by a change watcher of its own and forgets its children when it collapses, so
// that expanding it again shows it as it is then. Items carry the shell's icons; the context
// menu is the shell's own with "展开(&E)" and "收缩(&C)" in front.
//
// Events: 0 SelectionChanged (true when the new item is not a folder), 1 DoubleClicked,
// 2 ItemClicked. A refresh keeps the selection on the same item when it still exists and then
// raises no SelectionChanged.
#pragma once
#include <windows.h>

#include <commctrl.h>
#include <shlobj.h>

#include <string>

#include "components/component_base.h"
#include "extui/dir_tree_order.h"
#include "extui/dir_tree_properties.h"

namespace ruvelto::extui {

struct ChangeWatcher;

// One per tree item, owned by the tree and freed with the item.
struct TreeItemRecord {
    std::string path;  // file-system path, or empty for namespace items without one
    std::string name;  // display text
    bool hasParent = false;
    int32_t volumeSerial = 1;  // removable drives: the medium's serial number, -1 without one
    ULONG attributes = 0;      // SFGAO_ bits: folder, file system, has subfolders, shared, link
    ItemKind kind = ItemKind::kOrdinary;
    IShellFolder* folder = nullptr;  // bound for folders
    LPITEMIDLIST idList = nullptr;   // the full list, from the desktop
    uint32_t idListSize = 0;
    ChangeWatcher* watcher = nullptr;
    bool loaded = false;          // children have been loaded
    bool refreshPending = false;  // a change came while the tree was busy
};

class DirTree : public components::ComponentBase {
public:
    DirTree();
    ~DirTree() override;

    bool LoadProperties(components::PropertyBlobReader& blob) override { return p_.Load(blob); }
    void SaveProperties(components::PropertyBlobWriter& blob) const override { p_.Save(blob); }
    bool CreateControl(const components::CreateArguments& arguments, DWORD style) override;
    void ApplyProperties() override;
    uint32_t SetProperty(int32_t index, const forms::PropertyData& value) override;
    bool GetProperty(int32_t index, forms::PropertyData* value) override;
    bool OnChildNotify(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) override;

    // The selected item's file-system path; empty when nothing is selected or it has none.
    std::string SelectedPath() const;
    // Selects the item of a path (expanding the levels on the way); false, and the selection
    // unchanged, when the path does not parse or some level is not in the tree.
    bool SelectPath(const std::string& path);

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    void ReleaseResources() override;

private:
    friend class DirTreeMenu;
    friend int CALLBACK CompareTreeItems(LPARAM, LPARAM, LPARAM);

    static TreeItemRecord* RecordOf(HWND tree, HTREEITEM item);
    TreeItemRecord* Record(HTREEITEM item) const { return RecordOf(Handle(), item); }
    HTREEITEM FirstChild(HTREEITEM item) const;
    HTREEITEM NextSibling(HTREEITEM item) const;
    HTREEITEM Selected() const;
    bool IsExpanded(HTREEITEM item) const;
    bool Contains(HTREEITEM ancestor, HTREEITEM item) const;
    bool Exists(HTREEITEM wanted, HTREEITEM from) const;

    void ApplyTreeStyles();
    void ApplyColors();
    void ApplyItemHeight();
    void AttachIconList();
    void MakeRoot();
    // Inserts the item with the shell's icons; frees the record and answers null on failure.
    HTREEITEM Insert(HTREEITEM parent, TreeItemRecord* record);
    // The record of a child of `parent`, or null when it cannot be made or (`filtered`) is hidden.
    TreeItemRecord* MakeChild(const TreeItemRecord& parent, LPCITEMIDLIST child, bool filtered);
    TreeItemRecord* MakeDesktopRecord();
    void FreeRecord(TreeItemRecord* record);

    // Loads the children of an item once; false when it has none.
    bool LoadChildren(HTREEITEM item);
    void SetButton(HTREEITEM item, bool button);
    // Frees the records of every item below `item` and deletes those items.
    void DeleteChildren(HTREEITEM item);
    void ReleaseSubtree(HTREEITEM item);
    void Collapsed(HTREEITEM item);
    void Refresh(HTREEITEM item);
    void RunPendingRefreshes(HTREEITEM item);
    // Walks down from `from` (whose list is the first levels of `target`) to the item of
    // `target`, loading and expanding on the way; the item, or null.
    HTREEITEM FindItem(HTREEITEM from, LPCITEMIDLIST target);
    void SelectionChanged(HTREEITEM item);
    void BeginBusy() { ++busy_; }
    void EndBusy();

    DirTreeProperties p_;
    IMalloc* malloc_ = nullptr;
    IShellFolder* desktop_ = nullptr;
    HTREEITEM root_ = nullptr;
    // Inside a change of the tree's items, an event handler or the control's own input handling:
    // refreshes wait for the end of it.
    int busy_ = 0;
    bool refreshesPending_ = false;
    int quietSelection_ = 0;     // selection changes made by a refresh raise no event
    uint32_t selectionNotices_ = 0;  // TVN_SELCHANGED notifications seen
};

// The type interface of DirTree.
void* DirTreeInterface(int32_t code);

}  // namespace ruvelto::extui
