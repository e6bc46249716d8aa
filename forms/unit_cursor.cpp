#include "forms/unit_cursor.h"

#include <cstring>
#include <vector>

namespace ruvelto::forms {
namespace {

constexpr uint32_t kHandCode = 32649;
constexpr uint32_t kCodes[15] = {0,     32512, 32515, 32513, 32514, 32651, 32650, 32648,
                                 32646, 32643, 32645, 32642, 32644, 32516, kHandCode};

uint32_t Word(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }
uint16_t Half(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }

HCURSOR SystemCursor(uint32_t code) {
    if (code == 0) return nullptr;
    if (code == kHandCode) {
        // The program's own hand cursor when it carries one, else the system's.
        if (HCURSOR own = LoadCursorA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(1032))) return own;
        return LoadCursorA(nullptr, MAKEINTRESOURCEA(kHandCode));
    }
    for (uint32_t known : kCodes)
        if (known == code) return LoadCursorA(nullptr, MAKEINTRESOURCEA(code));
    return nullptr;
}

}  // namespace

uint32_t CursorIndexToCode(uint32_t index) { return index < 15 ? kCodes[index] : index; }

uint32_t CursorCodeToIndex(uint32_t code) {
    for (uint32_t i = 0; i < 15; ++i)
        if (kCodes[i] == code) return i;
    return code;
}

HCURSOR CursorFromFileBytes(const uint8_t* data, uint32_t length) {
    if (!data || length < 23) return nullptr;
    if (Half(data) != 0 || Half(data + 2) != 2 || Half(data + 4) == 0) return nullptr;
    const uint8_t* entry = data + 6;
    int width = entry[0] ? entry[0] : 256;
    int height = entry[1] ? entry[1] : 256;
    uint16_t hotX = Half(entry + 4), hotY = Half(entry + 6);
    uint32_t size = Word(entry + 8), offset = Word(entry + 12);
    if (size == 0 || offset > length || size > length - offset) return nullptr;
    std::vector<uint8_t> resource(4 + size);
    resource[0] = uint8_t(hotX), resource[1] = uint8_t(hotX >> 8);
    resource[2] = uint8_t(hotY), resource[3] = uint8_t(hotY >> 8);
    std::memcpy(resource.data() + 4, data + offset, size);
    return reinterpret_cast<HCURSOR>(CreateIconFromResourceEx(resource.data(), static_cast<DWORD>(resource.size()),
                                                              FALSE, 0x00030000, width, height, 0));
}

HCURSOR MakeUnitCursor(const uint8_t* data, uint32_t length) {
    if (!data || length == 0) return nullptr;
    uint32_t code = length > 3 ? Word(data) : data[0];
    if (code != 0xFFFFFFFFu && length > 10) {
        if (HCURSOR fromFile = CursorFromFileBytes(data, length)) return fromFile;
    }
    if (code == 0xFFFFFFFFu) return length >= 5 ? CursorFromFileBytes(data + 4, length - 4) : nullptr;
    return SystemCursor(CursorIndexToCode(code));
}

}  // namespace ruvelto::forms
