#include "extui/dir_tree.h"

#include "components/control_style.h"
#include "components/property_fields.h"
#include "extui/change_watcher.h"
#include "extui/dir_tree_menu.h"
#include "extui/shell_id_lists.h"

namespace ruvelto::extui {

using components::ClampChoice;
using components::IntegerData;
using components::IntegerOf;

namespace {

// Posted to the tree itself: run the refreshes that came while it was busy, and finish a
// collapse once the control has done with it.
constexpr UINT kRefreshPending = WM_APP + 0x4D7;
constexpr UINT kCollapseLater = WM_APP + 0x4D8;

// The expand actions without their modifier bits (TVE_EXPANDPARTIAL, TVE_COLLAPSERESET).
constexpr UINT kExpandActionMask = TVE_COLLAPSE | TVE_EXPAND | TVE_TOGGLE;

constexpr ULONG kAskedAttributes =
    SFGAO_FOLDER | SFGAO_FILESYSTEM | SFGAO_HASSUBFOLDER | SFGAO_SHARE | SFGAO_LINK | SFGAO_GHOSTED;

int ScreenPixelsPerInch() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi;
}

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

bool IsNotify(UINT code, UINT ansi, UINT wide) { return code == ansi || code == wide; }

}  // namespace

int CALLBACK CompareTreeItems(LPARAM a, LPARAM b, LPARAM) {
    const auto* x = reinterpret_cast<const TreeItemRecord*>(a);
    const auto* y = reinterpret_cast<const TreeItemRecord*>(b);
    if (!x || !y) return 0;
    SiblingKey kx{(x->attributes & SFGAO_FILESYSTEM) != 0, x->path, x->name, x->kind};
    SiblingKey ky{(y->attributes & SFGAO_FILESYSTEM) != 0, y->path, y->name, y->kind};
    return CompareSiblings(kx, ky);
}

DirTree::DirTree() {
    p_.font = DefaultDirTreeFont(ScreenPixelsPerInch());
    if (FAILED(SHGetMalloc(&malloc_))) malloc_ = nullptr;
    if (FAILED(SHGetDesktopFolder(&desktop_))) desktop_ = nullptr;
}

DirTree::~DirTree() {
    if (desktop_) desktop_->Release();
    if (malloc_) malloc_->Release();
}

// ---- creation and properties

bool DirTree::CreateControl(const components::CreateArguments& a, DWORD style) {
    INITCOMMONCONTROLSEX classes{sizeof classes, ICC_TREEVIEW_CLASSES};
    InitCommonControlsEx(&classes);
    if (p_.showSelectionAlways) style |= TVS_SHOWSELALWAYS;
    if (p_.hotTracking) style |= TVS_TRACKSELECT;
    return CreateChild(0, WC_TREEVIEWA, "", style, a);
}

void DirTree::ApplyProperties() {
    ApplyColors();
    ApplyItemHeight();
    ApplyTreeStyles();
    ApplyBorder(ClampChoice(p_.border, 5));
    AttachIconList();
    MakeRoot();
    if (!p_.currentPath.empty()) SelectPath(p_.currentPath);
    ApplyFont(p_.font);
}

void DirTree::ApplyTreeStyles() {
    const DWORD bits = TVS_HASBUTTONS | TVS_HASLINES | TVS_LINESATROOT | TVS_SHOWSELALWAYS | TVS_TRACKSELECT;
    const DWORD wanted = (p_.hasButtons ? TVS_HASBUTTONS : 0) | (p_.hasLines ? TVS_HASLINES : 0) |
                         (p_.linesAtRoot ? TVS_LINESATROOT : 0) | (p_.showSelectionAlways ? TVS_SHOWSELALWAYS : 0) |
                         (p_.hotTracking ? TVS_TRACKSELECT : 0);
    components::ModifyStyle(Handle(), bits & ~wanted, wanted);
    InvalidateRect(Handle(), nullptr, TRUE);
}

void DirTree::ApplyColors() {
    SendMessageA(Handle(), TVM_SETTEXTCOLOR, 0, static_cast<LPARAM>(components::ResolveColor(p_.textColor)));
    SendMessageA(Handle(), TVM_SETBKCOLOR, 0, static_cast<LPARAM>(components::ResolveColor(p_.backColor)));
    auto icons = reinterpret_cast<HIMAGELIST>(SendMessageA(Handle(), TVM_GETIMAGELIST, TVSIL_NORMAL, 0));
    if (icons) ImageList_SetBkColor(icons, components::ResolveColor(p_.backColor));
}

void DirTree::ApplyItemHeight() {
    SendMessageA(Handle(), TVM_SETITEMHEIGHT, static_cast<WPARAM>(p_.itemHeight), 0);
}

void DirTree::AttachIconList() {
    LPITEMIDLIST desktop = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOP, &desktop)) || !desktop) return;
    SHFILEINFOA info{};
    auto icons = reinterpret_cast<HIMAGELIST>(SHGetFileInfoA(reinterpret_cast<LPCSTR>(desktop), 0, &info, sizeof info,
                                                             SHGFI_PIDL | SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    if (malloc_) malloc_->Free(desktop);
    if (!icons) return;
    SendMessageA(Handle(), TVM_SETIMAGELIST, TVSIL_NORMAL, reinterpret_cast<LPARAM>(icons));
    ImageList_SetBkColor(icons, components::ResolveColor(p_.backColor));
}

uint32_t DirTree::SetProperty(int32_t index, const forms::PropertyData& v) {
    const uint32_t value = IntegerOf(v);
    switch (index) {
        case kTreeBorder:
            p_.border = ClampChoice(value, 5);
            ApplyBorder(p_.border);
            return 0;
        case kTreeTextColor: p_.textColor = value; ApplyColors(); return 0;
        case kTreeBackColor: p_.backColor = value; ApplyColors(); return 0;
        case kTreeHasButtons: p_.hasButtons = value; ApplyTreeStyles(); return 0;
        case kTreeHasLines: p_.hasLines = value; ApplyTreeStyles(); return 0;
        case kTreeLinesAtRoot: p_.linesAtRoot = value; ApplyTreeStyles(); return 0;
        case kTreeShowSelectionAlways: p_.showSelectionAlways = value; ApplyTreeStyles(); return 0;
        case kTreeHotTracking: p_.hotTracking = value; ApplyTreeStyles(); return 0;
        case kTreeItemHeight: p_.itemHeight = static_cast<int32_t>(value); ApplyItemHeight(); return 0;
        case kTreeShowFiles: p_.showFiles = value; return 0;
        case kTreeContextMenu: p_.contextMenu = value; return 0;
        case kTreeFont: {
            std::vector<uint8_t> font = components::BytesOf(v);
            if (font.size() > kDirTreeFontSize) font.resize(kDirTreeFontSize);
            p_.font = font.empty() ? DefaultDirTreeFont(ScreenPixelsPerInch()) : std::move(font);
            ApplyFont(p_.font);
            return 0;
        }
        case kTreeCurrentPath:
            p_.currentPath = components::TextOf(v);
            SelectPath(p_.currentPath);
            return 0;
        case kTreeRootAtComputer: return components::Recreating(&p_.rootAtComputer, value);
        case kTreeFileSystemOnly:
            if (p_.rootAtComputer) return components::Recreating(&p_.fileSystemOnly, value);
            p_.fileSystemOnly = value;
            return 0;
        default: return 0;
    }
}

bool DirTree::GetProperty(int32_t index, forms::PropertyData* v) {
    switch (index) {
        case kTreeFont: *v = components::BytesData(p_.font); return true;
        case kTreeCurrentPath: *v = components::TextData(p_.currentPath); return true;
        default: break;
    }
    const uint32_t words[] = {p_.border,     p_.textColor,      p_.backColor,   p_.hasButtons,
                              p_.hasLines,   p_.linesAtRoot,    p_.showSelectionAlways,
                              static_cast<uint32_t>(p_.itemHeight), p_.showFiles, 0, 0,
                              p_.contextMenu, p_.hotTracking,  p_.rootAtComputer, p_.fileSystemOnly};
    if (index < 0 || index > kTreeFileSystemOnly) return false;
    *v = IntegerData(words[index]);
    return true;
}

// ---- items

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

void DirTree::SelectionChanged(HTREEITEM item) {
    TreeItemRecord* record = Record(item);
    const bool notFolder = record && !(record->attributes & SFGAO_FOLDER);
    BeginBusy();  // the handler may pump messages; the tree stays as it is until it returns
    RaiseEvent(0, {notFolder ? 1u : 0u});
    EndBusy();
}

void DirTree::EndBusy() {
    if (--busy_ == 0 && refreshesPending_ && Handle()) PostMessageA(Handle(), kRefreshPending, 0, 0);
}

// ---- messages

bool DirTree::OnChildNotify(UINT message, WPARAM, LPARAM lParam, LRESULT* result) {
    if (message != WM_NOTIFY || !lParam) return false;
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->hwndFrom != Handle()) return false;
    const auto* tree = reinterpret_cast<const NMTREEVIEWA*>(lParam);
    *result = 0;
    const UINT code = header->code;
    if (IsNotify(code, TVN_ITEMEXPANDINGA, TVN_ITEMEXPANDINGW)) {
        if ((tree->action & kExpandActionMask) != TVE_COLLAPSE) LoadChildren(tree->itemNew.hItem);
    } else if (IsNotify(code, TVN_ITEMEXPANDEDA, TVN_ITEMEXPANDEDW)) {
        // The control is not done with the item yet: forget the children once it is.
        if ((tree->action & kExpandActionMask) == TVE_COLLAPSE)
            PostMessageA(Handle(), kCollapseLater, 0, reinterpret_cast<LPARAM>(tree->itemNew.hItem));
    } else if (IsNotify(code, TVN_SELCHANGEDA, TVN_SELCHANGEDW)) {
        ++selectionNotices_;
        if (!quietSelection_) SelectionChanged(tree->itemNew.hItem);
    } else if (IsNotify(code, TVN_GETDISPINFOA, TVN_GETDISPINFOW)) {
        auto* info = reinterpret_cast<NMTVDISPINFOA*>(lParam);
        if (info->item.mask & TVIF_CHILDREN) {
            const auto* record = reinterpret_cast<const TreeItemRecord*>(info->item.lParam);
            info->item.cChildren = !record ? 0 : !record->loaded ? 1 : FirstChild(info->item.hItem) ? 1 : 0;
        }
    } else if (IsNotify(code, TVN_DELETEITEMA, TVN_DELETEITEMW)) {
        FreeRecord(reinterpret_cast<TreeItemRecord*>(tree->itemOld.lParam));
    } else if (code == NM_DBLCLK || code == NM_CLICK) {
        BeginBusy();
        RaiseEvent(code == NM_DBLCLK ? 1 : 2);
        EndBusy();
    } else if (code == NM_RCLICK) {
        if (!p_.contextMenu) return true;
        BeginBusy();
        DirTreeMenu::Show(*this);
        EndBusy();
        *result = 1;
    } else {
        return false;
    }
    return true;
}

bool DirTree::Exists(HTREEITEM wanted, HTREEITEM from) const {
    for (HTREEITEM item = from; item; item = NextSibling(item))
        if (item == wanted || Exists(wanted, FirstChild(item))) return true;
    return false;
}

LRESULT DirTree::WindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT handled = 0;
    if (DirTreeMenu::Forward(message, wParam, lParam, &handled)) return handled;
    switch (message) {
        case kFolderChanged: {
            const auto* watcher = reinterpret_cast<const ChangeWatcher*>(lParam);
            if (!watcher || watcher->stop) return 0;
            // A live watcher's item and record are alive: they are freed only after it stops.
            const auto item = reinterpret_cast<HTREEITEM>(wParam);
            if (busy_) {
                // Not now: the control or a handler is in the middle of something. The end of
                // the busy stretch asks again.
                if (TreeItemRecord* record = Record(item)) record->refreshPending = refreshesPending_ = true;
            } else {
                Refresh(item);
            }
            return 0;
        }
        case kRefreshPending:
            if (!busy_ && refreshesPending_) {
                refreshesPending_ = false;
                RunPendingRefreshes(root_);
            }
            return 0;
        case WM_LBUTTONDOWN:
        case WM_LBUTTONDBLCLK:
        case WM_RBUTTONDOWN:
        case WM_RBUTTONDBLCLK:
        case WM_KEYDOWN:
        case WM_CHAR: {
            // The control tracks the mouse and raises events with an item in hand, answering
            // sent messages meanwhile: no item may go before it is done.
            BeginBusy();
            const LRESULT result = ComponentBase::WindowProc(message, wParam, lParam);
            EndBusy();
            return result;
        }
        case kCollapseLater: {
            const auto item = reinterpret_cast<HTREEITEM>(lParam);
            if (Exists(item, root_)) Collapsed(item);
            return 0;
        }
        case TVM_EXPAND: {
            // Expanding from code loads the children the same way; collapsing forgets them.
            const auto item = reinterpret_cast<HTREEITEM>(lParam);
            const UINT action = static_cast<UINT>(wParam) & kExpandActionMask;
            if (action == TVE_EXPAND || (action == TVE_TOGGLE && !IsExpanded(item))) LoadChildren(item);
            // Collapsing moves a selection inside up to the item; some controls do it silently.
            const HTREEITEM before = Selected();
            const uint32_t notices = selectionNotices_;
            const LRESULT result = Default(message, wParam, lParam);
            if (Selected() != before && selectionNotices_ == notices && Selected() && !quietSelection_)
                SelectionChanged(Selected());
            TreeItemRecord* record = Record(item);
            if (record && record->loaded && action != TVE_EXPAND && !IsExpanded(item))
                PostMessageA(Handle(), kCollapseLater, 0, lParam);
            return result;
        }
        default: break;
    }
    return ComponentBase::WindowProc(message, wParam, lParam);
}

void DirTree::ReleaseResources() {
    BeginBusy();
    if (root_) {
        ReleaseSubtree(root_);
        SendMessageA(Handle(), TVM_DELETEITEM, 0, reinterpret_cast<LPARAM>(TVI_ROOT));
        root_ = nullptr;
    }
    EndBusy();
    ComponentBase::ReleaseResources();
}

void* DirTreeInterface(int32_t code) { return components::TypeInterfaceOf<DirTree>(code); }

}  // namespace ruvelto::extui
