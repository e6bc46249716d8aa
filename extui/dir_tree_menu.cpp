#include "extui/dir_tree_menu.h"

#include "extui/dir_tree.h"

namespace ruvelto::extui {
namespace {

constexpr UINT kFirstShellCommand = 1;
constexpr UINT kLastShellCommand = 10000;
constexpr UINT kExpandCommand = 10001;
constexpr UINT kCollapseCommand = 10002;
const char kExpandText[] = "\xD5\xB9\xBF\xAA(&E)";    // 展开(&E)
const char kCollapseText[] = "\xCA\xD5\xCB\xF5(&C)";  // 收缩(&C)

// The shell menu of the open context menu, in its richest version; one menu at a time.
IContextMenu2* openMenu2 = nullptr;
IContextMenu3* openMenu3 = nullptr;

// The item's shell menu in the richest version the shell offers, or null.
IContextMenu* ShellMenuOf(HWND owner, LPCITEMIDLIST list) {
    IShellFolder* parent = nullptr;
    LPCITEMIDLIST last = nullptr;
    if (FAILED(SHBindToParent(list, IID_IShellFolder, reinterpret_cast<void**>(&parent), &last)) || !parent) return nullptr;
    void* menu = nullptr;
    if (FAILED(parent->GetUIObjectOf(owner, 1, &last, IID_IContextMenu, nullptr, &menu))) menu = nullptr;
    parent->Release();
    return static_cast<IContextMenu*>(menu);
}

}  // namespace

bool DirTreeMenu::Forward(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    if (!openMenu2 && !openMenu3) return false;
    switch (message) {
        case WM_INITMENUPOPUP:
        case WM_DRAWITEM:
        case WM_MEASUREITEM:
        case WM_MENUCHAR: break;
        default: return false;
    }
    *result = 0;
    if (openMenu3) return SUCCEEDED(openMenu3->HandleMenuMsg2(message, wParam, lParam, result));
    return SUCCEEDED(openMenu2->HandleMenuMsg(message, wParam, lParam));
}


void DirTreeMenu::Show(DirTree& tree) {
    HWND window = tree.Handle();
    POINT at{};
    GetCursorPos(&at);
    TVHITTESTINFO hit{};
    hit.pt = at;
    ScreenToClient(window, &hit.pt);
    auto item = reinterpret_cast<HTREEITEM>(SendMessageA(window, TVM_HITTEST, 0, reinterpret_cast<LPARAM>(&hit)));
    if (!item || !(hit.flags & TVHT_ONITEM)) return;
    TreeItemRecord* record = tree.Record(item);
    if (!record) return;
    SetFocus(window);

    HMENU menu = CreatePopupMenu();
    if (!menu) return;
    AppendMenuA(menu, MF_STRING, kExpandCommand, kExpandText);
    AppendMenuA(menu, MF_STRING, kCollapseCommand, kCollapseText);
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    const bool folder = (record->attributes & SFGAO_FOLDER) != 0;
    const bool children = !record->loaded || tree.FirstChild(item);
    if (!folder) {
        DeleteMenu(menu, 0, MF_BYPOSITION);  // both, and the separator that would lead the menu
        DeleteMenu(menu, 0, MF_BYPOSITION);
        DeleteMenu(menu, 0, MF_BYPOSITION);
    } else if (!children) {
        DeleteMenu(menu, kCollapseCommand, MF_BYCOMMAND);
        EnableMenuItem(menu, kExpandCommand, MF_BYCOMMAND | MF_GRAYED);
    } else if (tree.IsExpanded(item)) {
        DeleteMenu(menu, kExpandCommand, MF_BYCOMMAND);
    } else {
        DeleteMenu(menu, kCollapseCommand, MF_BYCOMMAND);
    }

    IContextMenu* shell = ShellMenuOf(window, record->idList);
    if (shell) {
        const UINT position = static_cast<UINT>(GetMenuItemCount(menu));
        if (FAILED(shell->QueryContextMenu(menu, position, kFirstShellCommand, kLastShellCommand, CMF_EXPLORE))) {
            shell->Release();
            shell = nullptr;
        }
    }
    if (shell) {
        void* richer = nullptr;
        if (SUCCEEDED(shell->QueryInterface(IID_IContextMenu3, &richer))) openMenu3 = static_cast<IContextMenu3*>(richer);
        else if (SUCCEEDED(shell->QueryInterface(IID_IContextMenu2, &richer))) openMenu2 = static_cast<IContextMenu2*>(richer);
    }
    const UINT command = GetMenuItemCount(menu) > 0
                             ? static_cast<UINT>(TrackPopupMenu(menu, TPM_RETURNCMD | TPM_RIGHTBUTTON | TPM_LEFTALIGN,
                                                                at.x, at.y, 0, window, nullptr))
                             : 0;
    if (openMenu3) openMenu3->Release();
    if (openMenu2) openMenu2->Release();
    openMenu2 = nullptr, openMenu3 = nullptr;
    DestroyMenu(menu);

    if (command >= kFirstShellCommand && command <= kLastShellCommand && shell) {
        CMINVOKECOMMANDINFO invoke{};
        invoke.cbSize = sizeof invoke;
        invoke.hwnd = window;
        invoke.lpVerb = MAKEINTRESOURCEA(command - kFirstShellCommand);
        invoke.nShow = SW_SHOWNORMAL;
        shell->InvokeCommand(&invoke);
    }
    if (shell) shell->Release();
    // The item may have gone while the menu was open (a refresh): act only on an item still there.
    if (!tree.Exists(item, tree.root_)) return;
    if (command == kExpandCommand) {
        tree.LoadChildren(item);
        SendMessageA(window, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
        SendMessageA(window, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(item));
    } else if (command == kCollapseCommand) {
        SendMessageA(window, TVM_EXPAND, TVE_COLLAPSE, reinterpret_cast<LPARAM>(item));
    }
}

}  // namespace ruvelto::extui
