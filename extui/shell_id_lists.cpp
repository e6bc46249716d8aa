#include "extui/shell_id_lists.h"

#include <cstring>
#include <vector>

namespace ruvelto::extui {
namespace {

// Each item starts with its own 16-bit size; a size of 0 ends the list.
uint16_t ItemSize(const uint8_t* item) {
    uint16_t size;
    std::memcpy(&size, item, sizeof size);
    return size;
}

uint32_t ItemBytes(LPCITEMIDLIST list, uint32_t levels) {
    const auto* p = reinterpret_cast<const uint8_t*>(list);
    uint32_t bytes = 0;
    for (uint32_t i = 0; p && i < levels; ++i) {
        const uint16_t size = ItemSize(p + bytes);
        if (size == 0) break;
        bytes += size;
    }
    return bytes;
}

LPITEMIDLIST Allocate(IMalloc* malloc, uint32_t bytes) {
    return malloc ? static_cast<LPITEMIDLIST>(malloc->Alloc(bytes)) : nullptr;
}

}  // namespace

uint32_t IdListSize(LPCITEMIDLIST list) { return list ? ItemBytes(list, UINT32_MAX) + 2 : 0; }

uint32_t IdListCount(LPCITEMIDLIST list) {
    const auto* p = reinterpret_cast<const uint8_t*>(list);
    uint32_t count = 0;
    while (p && ItemSize(p) != 0) p += ItemSize(p), ++count;
    return count;
}

LPITEMIDLIST IdListPrefix(IMalloc* malloc, LPCITEMIDLIST list, uint32_t levels) {
    const uint32_t bytes = ItemBytes(list, levels);
    LPITEMIDLIST copy = Allocate(malloc, bytes + 2);
    if (!copy) return nullptr;
    auto* out = reinterpret_cast<uint8_t*>(copy);
    if (bytes) std::memcpy(out, list, bytes);
    out[bytes] = out[bytes + 1] = 0;
    return copy;
}

LPITEMIDLIST IdListJoin(IMalloc* malloc, LPCITEMIDLIST parent, LPCITEMIDLIST child) {
    const uint32_t a = ItemBytes(parent, UINT32_MAX), b = ItemBytes(child, UINT32_MAX);
    LPITEMIDLIST joined = Allocate(malloc, a + b + 2);
    if (!joined) return nullptr;
    auto* out = reinterpret_cast<uint8_t*>(joined);
    if (a) std::memcpy(out, parent, a);
    if (b) std::memcpy(out + a, child, b);
    out[a + b] = out[a + b + 1] = 0;
    return joined;
}

bool SameItem(IShellFolder* desktop, LPCITEMIDLIST a, LPCITEMIDLIST b) {
    if (!a || !b) return false;
    if (IdListCount(a) != IdListCount(b)) return false;
    if (IdListSize(a) == IdListSize(b) && std::memcmp(a, b, IdListSize(a)) == 0) return true;
    if (!desktop) return false;
    const HRESULT order = desktop->CompareIDs(0, a, b);
    return SUCCEEDED(order) && static_cast<short>(HRESULT_CODE(order)) == 0;
}

std::string DisplayNameOf(IShellFolder* folder, LPCITEMIDLIST child, DWORD flags) {
    STRRET name{};
    if (!folder || FAILED(folder->GetDisplayNameOf(child, flags, &name))) return {};
    switch (name.uType) {
        case STRRET_WSTR: {
            std::string text;
            if (name.pOleStr) {
                const int bytes = WideCharToMultiByte(CP_ACP, 0, name.pOleStr, -1, nullptr, 0, nullptr, nullptr);
                if (bytes > 1) {
                    text.resize(static_cast<size_t>(bytes));
                    WideCharToMultiByte(CP_ACP, 0, name.pOleStr, -1, text.data(), bytes, nullptr, nullptr);
                    text.resize(static_cast<size_t>(bytes - 1));
                }
                CoTaskMemFree(name.pOleStr);
            }
            return text;
        }
        case STRRET_OFFSET: {
            const char* text = reinterpret_cast<const char*>(child) + name.uOffset;
            return std::string(text, strnlen(text, MAX_PATH));
        }
        case STRRET_CSTR: return std::string(name.cStr, strnlen(name.cStr, sizeof name.cStr));
        default: return {};
    }
}

std::string PathOfIdList(LPCITEMIDLIST list) {
    char path[MAX_PATH + 1] = {};
    if (!list || !SHGetPathFromIDListA(list, path)) return {};
    return path;
}

LPITEMIDLIST ParsePath(IShellFolder* desktop, HWND owner, const std::string& path) {
    if (!desktop || path.empty()) return nullptr;
    const int count = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
    if (count <= 0) return nullptr;
    std::vector<WCHAR> wide(static_cast<size_t>(count));
    MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), count);
    LPITEMIDLIST list = nullptr;
    ULONG eaten = 0;
    if (FAILED(desktop->ParseDisplayName(owner, nullptr, wide.data(), &eaten, &list, nullptr))) return nullptr;
    return list;
}

}  // namespace ruvelto::extui
