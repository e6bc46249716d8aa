// Item identifier lists of the shell namespace as the directory tree keeps them: sizes, counts,
// copies of a list or of its first levels, a parent's list joined with a child's, all allocated
// with the shell's allocator that the tree holds, and the display texts of an item in GBK.
#pragma once
#include <windows.h>

#include <shlobj.h>

#include <cstdint>
#include <string>

namespace ruvelto::extui {

// Bytes of the list including its two-byte terminator.
uint32_t IdListSize(LPCITEMIDLIST list);
// Items in the list (0 for the desktop's empty list).
uint32_t IdListCount(LPCITEMIDLIST list);
// A new list of the first `levels` items; null when memory runs out.
LPITEMIDLIST IdListPrefix(IMalloc* malloc, LPCITEMIDLIST list, uint32_t levels);
// A new list: `parent` followed by `child`; null when memory runs out.
LPITEMIDLIST IdListJoin(IMalloc* malloc, LPCITEMIDLIST parent, LPCITEMIDLIST child);
// Whether two full lists name the same item (asked of the desktop folder).
bool SameItem(IShellFolder* desktop, LPCITEMIDLIST a, LPCITEMIDLIST b);

// An item's display name (SHGDN flags) in the folder that holds it, in the ANSI code page;
// empty when the shell gives none.
std::string DisplayNameOf(IShellFolder* folder, LPCITEMIDLIST child, DWORD flags);
// The file-system path of a full list, or empty.
std::string PathOfIdList(LPCITEMIDLIST list);
// A full list for a path or parsing name, parsed by the desktop folder; null when it does not
// parse. The caller frees it with the shell's allocator.
LPITEMIDLIST ParsePath(IShellFolder* desktop, HWND owner, const std::string& path);

}  // namespace ruvelto::extui
