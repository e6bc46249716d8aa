#include "extui/dir_tree.h"

#include "components/control_style.h"
#include "components/property_fields.h"
#include "extui/change_watcher.h"
#include "extui/dir_tree_menu.h"

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

int ScreenPixelsPerInch() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi;
}

bool IsNotify(UINT code, UINT ansi, UINT wide) { return code == ansi || code == wide; }

}  // namespace

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
