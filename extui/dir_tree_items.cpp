// The directory tree's items: their records made from the shell, the root, loading a folder's
// children, forgetting them, refreshing a folder, and finding the item of an identifier list.
#include "extui/change_watcher.h"
#include "extui/dir_tree.h"
#include "extui/shell_id_lists.h"

namespace ruvelto::extui {
namespace {

constexpr ULONG kAskedAttributes =
    SFGAO_FOLDER | SFGAO_FILESYSTEM | SFGAO_HASSUBFOLDER | SFGAO_SHARE | SFGAO_LINK | SFGAO_GHOSTED;

struct ItemIcons {
    int normal = 0;
    int open = 0;
};

ItemIcons IconsOf(LPCITEMIDLIST list, bool folder) {
    const UINT flags = SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON;
    SHFILEINFOA info{};
    ItemIcons icons;
    if (SHGetFileInfoA(reinterpret_cast<LPCSTR>(list), 0, &info, sizeof info, flags)) icons.normal = info.iIcon;
    icons.open = icons.normal;
    if (folder && SHGetFileInfoA(reinterpret_cast<LPCSTR>(list), 0, &info, sizeof info, flags | SHGFI_OPENICON))
        icons.open = info.iIcon;
    return icons;
}

// A removable drive's medium serial number (-1 without a medium), asked without the system's
// "no disk" box.
int32_t RemovableSerial(const std::string& root) {
    const UINT previous = SetErrorMode(SEM_FAILCRITICALERRORS);
    DWORD serial = 0;
    const BOOL known = GetVolumeInformationA(root.c_str(), nullptr, 0, &serial, nullptr, nullptr, nullptr, 0);
    SetErrorMode(previous);
    return known ? static_cast<int32_t>(serial) : -1;
}

}  // namespace

int CALLBACK CompareTreeItems(LPARAM a, LPARAM b, LPARAM) {
    const auto* x = reinterpret_cast<const TreeItemRecord*>(a);
    const auto* y = reinterpret_cast<const TreeItemRecord*>(b);
    if (!x || !y) return 0;
    SiblingKey kx{(x->attributes & SFGAO_FILESYSTEM) != 0, x->path, x->name, x->kind};
    SiblingKey ky{(y->attributes & SFGAO_FILESYSTEM) != 0, y->path, y->name, y->kind};
    return CompareSiblings(kx, ky);
}

TreeItemRecord* DirTree::RecordOf(HWND tree, HTREEITEM item) {
    if (!item) return nullptr;
    TVITEMA it{};
    it.mask = TVIF_PARAM | TVIF_HANDLE;
    it.hItem = item;
    if (!SendMessageA(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(&it))) return nullptr;
    return reinterpret_cast<TreeItemRecord*>(it.lParam);
}

HTREEITEM DirTree::FirstChild(HTREEITEM item) const {
    return reinterpret_cast<HTREEITEM>(SendMessageA(Handle(), TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
}

HTREEITEM DirTree::NextSibling(HTREEITEM item) const {
    return reinterpret_cast<HTREEITEM>(SendMessageA(Handle(), TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(item)));
}

HTREEITEM DirTree::Selected() const {
    return reinterpret_cast<HTREEITEM>(SendMessageA(Handle(), TVM_GETNEXTITEM, TVGN_CARET, 0));
}

bool DirTree::IsExpanded(HTREEITEM item) const {
    return (SendMessageA(Handle(), TVM_GETITEMSTATE, reinterpret_cast<WPARAM>(item), TVIS_EXPANDED) & TVIS_EXPANDED) != 0;
}

TreeItemRecord* DirTree::MakeDesktopRecord() {
    auto* record = new TreeItemRecord;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &record->idList)) || !record->idList) {
        delete record;
        return nullptr;
    }
    record->idListSize = IdListSize(record->idList);
    SHFILEINFOA info{};
    if (SHGetFileInfoA(reinterpret_cast<LPCSTR>(record->idList), 0, &info, sizeof info, SHGFI_PIDL | SHGFI_DISPLAYNAME))
        record->name = info.szDisplayName;
    char path[MAX_PATH + 1] = {};
    if (SHGetSpecialFolderPathA(nullptr, path, CSIDL_DESKTOPDIRECTORY, FALSE)) record->path = path;
    record->attributes = SFGAO_FOLDER | SFGAO_HASSUBFOLDER;
    record->kind = ItemKind::kDesktop;
    record->folder = desktop_;
    if (desktop_) desktop_->AddRef();
    return record;
}

TreeItemRecord* DirTree::MakeChild(const TreeItemRecord& parent, LPCITEMIDLIST child, bool filtered) {
    ULONG attributes = kAskedAttributes;
    if (!parent.folder || FAILED(parent.folder->GetAttributesOf(1, &child, &attributes))) attributes = 0;
    attributes &= kAskedAttributes;
    if (filtered && p_.rootAtComputer && p_.fileSystemOnly && !(attributes & SFGAO_FILESYSTEM)) return nullptr;
    LPITEMIDLIST full = IdListJoin(malloc_, parent.idList, child);
    if (!full) return nullptr;
    auto* record = new TreeItemRecord;
    record->idList = full;
    record->idListSize = IdListSize(full);
    record->attributes = attributes;
    record->hasParent = true;
    record->name = DisplayNameOf(parent.folder, child, SHGDN_INFOLDER | SHGDN_NORMAL);
    record->kind = KindOfParsingName(DisplayNameOf(parent.folder, child, SHGDN_FORPARSING));
    record->path = PathOfIdList(full);
    if (record->path.size() > MAX_PATH - 1) record->path.resize(MAX_PATH - 1);
    if (attributes & SFGAO_FOLDER) {
        void* folder = nullptr;
        if (SUCCEEDED(parent.folder->BindToObject(child, nullptr, IID_IShellFolder, &folder)))
            record->folder = static_cast<IShellFolder*>(folder);
    }
    record->volumeSerial = IsDriveRoot(record->path) && GetDriveTypeA(record->path.c_str()) == DRIVE_REMOVABLE
                               ? RemovableSerial(record->path)
                               : parent.volumeSerial;
    return record;
}

void DirTree::FreeRecord(TreeItemRecord* record) {
    if (!record) return;
    StopChangeWatcher(record->watcher);
    record->watcher = nullptr;
    if (record->folder) record->folder->Release();
    if (record->idList && malloc_) malloc_->Free(record->idList);
    delete record;
}

HTREEITEM DirTree::Insert(HTREEITEM parent, TreeItemRecord* record) {
    const bool folder = (record->attributes & SFGAO_FOLDER) != 0;
    const ItemIcons icons = IconsOf(record->idList, folder);
    TVINSERTSTRUCTA insert{};
    insert.hParent = parent;
    insert.hInsertAfter = TVI_LAST;
    TVITEMA& it = insert.item;
    it.mask = TVIF_TEXT | TVIF_IMAGE | TVIF_SELECTEDIMAGE | TVIF_PARAM | TVIF_STATE | TVIF_CHILDREN;
    it.pszText = record->name.data();
    it.iImage = icons.normal;
    it.iSelectedImage = icons.open;
    it.lParam = reinterpret_cast<LPARAM>(record);
    it.stateMask = TVIS_OVERLAYMASK | TVIS_CUT;
    it.state = (record->attributes & SFGAO_LINK)    ? INDEXTOOVERLAYMASK(2)
               : (record->attributes & SFGAO_SHARE) ? INDEXTOOVERLAYMASK(1)
                                                    : 0;
    if (record->attributes & SFGAO_GHOSTED) it.state |= TVIS_CUT;
    it.cChildren = folder ? I_CHILDRENCALLBACK : 0;
    auto item = reinterpret_cast<HTREEITEM>(SendMessageA(Handle(), TVM_INSERTITEMA, 0, reinterpret_cast<LPARAM>(&insert)));
    if (!item) FreeRecord(record);
    return item;
}

void DirTree::MakeRoot() {
    TreeItemRecord* desktop = MakeDesktopRecord();
    if (!desktop) return;
    TreeItemRecord* root = desktop;
    if (p_.rootAtComputer) {
        root = nullptr;
        IEnumIDList* items = nullptr;
        if (desktop_ && desktop_->EnumObjects(Handle(), SHCONTF_FOLDERS | SHCONTF_NONFOLDERS | SHCONTF_INCLUDEHIDDEN,
                                              &items) == S_OK && items) {
            LPITEMIDLIST child = nullptr;
            ULONG got = 0;
            while (!root && items->Next(1, &child, &got) == S_OK && got == 1) {
                if (KindOfParsingName(DisplayNameOf(desktop_, child, SHGDN_FORPARSING)) == ItemKind::kComputer) {
                    root = MakeChild(*desktop, child, false);
                    if (root) root->hasParent = false;
                }
                if (malloc_) malloc_->Free(child);
            }
            items->Release();
        }
        FreeRecord(desktop);
        if (!root) return;
    }
    root_ = Insert(TVI_ROOT, root);
    if (!root_) return;
    LoadChildren(root_);
    SendMessageA(Handle(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(root_));
}

// ---- loading, refreshing and forgetting children

bool DirTree::LoadChildren(HTREEITEM item) {
    TreeItemRecord* record = Record(item);
    if (!record) return false;
    if (record->loaded) return FirstChild(item) != nullptr;
    BeginBusy();
    HCURSOR cursor = SetCursor(LoadCursor(nullptr, IDC_WAIT));
    SendMessageA(Handle(), WM_SETREDRAW, FALSE, 0);
    record->loaded = true;
    int count = 0;
    bool ordinary = false;
    IEnumIDList* items = nullptr;
    const DWORD wanted = SHCONTF_FOLDERS | SHCONTF_INCLUDEHIDDEN | (p_.showFiles ? SHCONTF_NONFOLDERS : 0);
    if (record->folder && record->folder->EnumObjects(Handle(), wanted, &items) == S_OK && items) {
        LPITEMIDLIST child = nullptr;
        ULONG got = 0;
        while (items->Next(1, &child, &got) == S_OK && got == 1) {
            if (TreeItemRecord* made = MakeChild(*record, child, true)) {
                const ItemKind kind = made->kind;
                if (Insert(item, made)) {
                    ++count;
                    ordinary = ordinary || kind != ItemKind::kComputer;
                }
            }
            if (malloc_) malloc_->Free(child);
        }
        items->Release();
    }
    if (record->kind != ItemKind::kNetwork && count > 1) {
        TVSORTCB sort{item, &CompareTreeItems, 0};
        SendMessageA(Handle(), TVM_SORTCHILDRENCB, 0, reinterpret_cast<LPARAM>(&sort));
    }
    SetButton(item, count > 0);
    if (ordinary && !record->watcher) record->watcher = StartChangeWatcher(record->path, Handle(), item);
    SendMessageA(Handle(), WM_SETREDRAW, TRUE, 0);
    InvalidateRect(Handle(), nullptr, TRUE);
    SetCursor(cursor);
    EndBusy();
    return count > 0;
}

void DirTree::SetButton(HTREEITEM item, bool button) {
    TVITEMA it{};
    it.mask = TVIF_CHILDREN | TVIF_HANDLE;
    it.hItem = item;
    it.cChildren = button ? I_CHILDRENCALLBACK : 0;
    SendMessageA(Handle(), TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&it));
}

void DirTree::ReleaseSubtree(HTREEITEM item) {
    for (HTREEITEM child = FirstChild(item); child; child = NextSibling(child)) ReleaseSubtree(child);
    TreeItemRecord* record = Record(item);
    if (!record) return;
    TVITEMA it{};
    it.mask = TVIF_PARAM | TVIF_HANDLE;
    it.hItem = item;
    it.lParam = 0;
    SendMessageA(Handle(), TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&it));
    FreeRecord(record);
}

void DirTree::DeleteChildren(HTREEITEM item) {
    BeginBusy();
    for (HTREEITEM child = FirstChild(item); child;) {
        HTREEITEM next = NextSibling(child);
        ReleaseSubtree(child);
        SendMessageA(Handle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(child));
        child = next;
    }
    EndBusy();
}

void DirTree::Collapsed(HTREEITEM item) {
    TreeItemRecord* record = Record(item);
    if (!record || !record->loaded || IsExpanded(item)) return;
    BeginBusy();
    // A selection inside goes to the folder itself, announced once, wherever the control would
    // have put it when its item went.
    const HTREEITEM before = Selected();
    const bool inside = before && Contains(item, before);
    ++quietSelection_;
    DeleteChildren(item);
    if (inside) SendMessageA(Handle(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    --quietSelection_;
    StopChangeWatcher(record->watcher);
    record->watcher = nullptr;
    record->loaded = false;
    SetButton(item, true);
    TVITEMA it{};
    it.mask = TVIF_STATE | TVIF_HANDLE;
    it.hItem = item;
    it.stateMask = TVIS_EXPANDEDONCE | TVIS_EXPANDED;
    it.state = 0;
    SendMessageA(Handle(), TVM_SETITEMA, 0, reinterpret_cast<LPARAM>(&it));
    EndBusy();
    if (inside) SelectionChanged(item);
}

bool DirTree::Contains(HTREEITEM ancestor, HTREEITEM item) const {
    for (HTREEITEM up = item; up;)
        if ((up = reinterpret_cast<HTREEITEM>(SendMessageA(Handle(), TVM_GETNEXTITEM, TVGN_PARENT,
                                                            reinterpret_cast<LPARAM>(up)))) == ancestor)
            return true;
    return false;
}

void DirTree::Refresh(HTREEITEM item) {
    TreeItemRecord* record = Record(item);
    if (!record) return;
    BeginBusy();
    ++quietSelection_;
    const bool expanded = IsExpanded(item);
    // The selected item may lie below the folder: remember it to find it again afterwards.
    const HTREEITEM before = Selected();
    const bool below = before && Contains(item, before);
    TreeItemRecord* selected = Record(before);
    LPITEMIDLIST kept = below && selected ? IdListPrefix(malloc_, selected->idList, UINT32_MAX) : nullptr;

    DeleteChildren(item);
    record->loaded = false;
    LoadChildren(item);
    if (expanded) SendMessageA(Handle(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
    if (kept) {
        // Found again, it is selected again; gone, the selection goes to the folder itself.
        HTREEITEM again = FindItem(item, kept);
        SendMessageA(Handle(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(again ? again : item));
    }

    --quietSelection_;
    const HTREEITEM after = Selected();
    TreeItemRecord* now = Record(after);
    const bool same = below ? kept && now && SameItem(desktop_, now->idList, kept) : after == before;
    if (kept && malloc_) malloc_->Free(kept);
    EndBusy();
    if (!same && after) SelectionChanged(after);
}

void DirTree::RunPendingRefreshes(HTREEITEM item) {
    for (HTREEITEM child = item; child; child = NextSibling(child)) {
        TreeItemRecord* record = Record(child);
        if (record && record->refreshPending) {
            record->refreshPending = false;
            if (record->loaded) Refresh(child);  // a folder collapsed meanwhile reloads when opened
        }
        RunPendingRefreshes(FirstChild(child));
    }
}

HTREEITEM DirTree::FindItem(HTREEITEM from, LPCITEMIDLIST target) {
    TreeItemRecord* start = Record(from);
    if (!start) return nullptr;
    HTREEITEM current = from;
    uint32_t level = IdListCount(start->idList);
    const uint32_t levels = IdListCount(target);
    BeginBusy();
    while (current && level < levels) {
        ++level;
        LPITEMIDLIST wanted = IdListPrefix(malloc_, target, level);
        LoadChildren(current);
        SendMessageA(Handle(), TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(current));
        HTREEITEM match = nullptr;
        for (HTREEITEM child = FirstChild(current); child && !match; child = NextSibling(child)) {
            TreeItemRecord* record = Record(child);
            if (record && wanted && SameItem(desktop_, record->idList, wanted)) match = child;
        }
        if (wanted && malloc_) malloc_->Free(wanted);
        current = match;
    }
    EndBusy();
    return current;
}

bool DirTree::SelectPath(const std::string& path) {
    TreeItemRecord* root = Record(root_);
    if (!root) return false;
    LPITEMIDLIST target = ParsePath(desktop_, Handle(), path);
    if (!target) return false;
    // Under the computer folder the path's first level is the computer folder itself.
    const uint32_t rootLevels = IdListCount(root->idList);
    LPITEMIDLIST top = IdListPrefix(malloc_, target, rootLevels);
    HTREEITEM found = nullptr;
    if (IdListCount(target) >= rootLevels && top && (rootLevels == 0 || SameItem(desktop_, top, root->idList)))
        found = FindItem(root_, target);
    if (top && malloc_) malloc_->Free(top);
    if (malloc_) malloc_->Free(target);
    if (!found) return false;
    SendMessageA(Handle(), TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(found));
    SendMessageA(Handle(), TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(found));
    return true;
}

std::string DirTree::SelectedPath() const {
    TreeItemRecord* record = Record(Selected());
    return record ? record->path : std::string();
}

}  // namespace ruvelto::extui
