#include "forms/property_access.h"

#include <windows.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "forms/error_texts.h"
#include "forms/form_window.h"
#include "forms/gdi_values.h"
#include "forms/type_flags.h"
#include "forms/type_interface.h"
#include "forms/unit_cursor.h"
#include "forms/unit_record.h"
#include "forms/unit_types.h"
#include "forms/units.h"
#include "forms/window_loading.h"
#include "forms/window_unit.h"
#include "runtime/heap.h"
#include "runtime/runtime_error.h"
#include "runtime/address_word.h"

namespace ruvelto::forms {
namespace {

constexpr int32_t kLimit = 32627;  // 0x7F73

// The 28-byte font value of sub-field -1.
struct FontValue {
    int32_t angle;
    uint32_t bold, italic, strikeOut, underline;
    int32_t size;
    uint32_t face;  // a text, as a word
};
static_assert(sizeof(FontValue) == 28);

uint32_t NewText(const char* text, size_t length) {
    if (!text || length == 0) return 0;
    char* block = static_cast<char*>(heap::Allocate(static_cast<uint32_t>(length + 1)));
    std::memcpy(block, text, length);
    block[length] = '\0';
    return AddressWord(block);
}
uint32_t NewText(const std::string& text) { return NewText(text.data(), text.size()); }

uint32_t NewByteSet(const uint8_t* bytes, uint32_t length) {
    if (!bytes || length == 0) return 0;
    auto* block = static_cast<uint8_t*>(heap::Allocate(8 + length));
    const uint32_t header[2] = {1, length};
    std::memcpy(block, header, 8);
    std::memcpy(block + 8, bytes, length);
    return AddressWord(block);
}

// The bytes of a byte-set value (0 is empty).
std::vector<uint8_t> ByteSetBytes(uint32_t value) {
    if (!value) return {};
    const uint8_t* block = reinterpret_cast<const uint8_t*>(static_cast<uintptr_t>(value));
    uint32_t count;
    std::memcpy(&count, block + 4, 4);
    return std::vector<uint8_t>(block + 8, block + 8 + count);
}

// Cursor data with its first word mapped between index and system code.
std::vector<uint8_t> MapCursorWord(std::vector<uint8_t> data, bool toCode) {
    if (data.size() >= 4) {
        uint32_t word;
        std::memcpy(&word, data.data(), 4);
        word = toCode ? CursorIndexToCode(word) : CursorCodeToIndex(word);
        std::memcpy(data.data(), &word, 4);
    }
    return data;
}

bool IsTextType(uint32_t t) {
    return t == kPropText || t == kPropChoiceText || t == kPropChoiceText2 || t == kPropFileName ||
           t == kPropDataSource || t == kPropDataField;
}
bool IsBytesType(uint32_t t) {
    return t == kPropPicture || t == kPropIcon || t == kPropSound || t == kPropImageList || t == kPropCustomData;
}

int LogPixelsY() {
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return dpi > 0 ? dpi : 96;
}

uint64_t ReadFont(const uint8_t* bytes, uint32_t length, int32_t subField) {
    const LOGFONTA f = LogFontOf(bytes, length);
    const int32_t size = MulDiv(std::abs(f.lfHeight), 72, LogPixelsY());
    switch (subField) {
        case 0: return static_cast<uint32_t>(f.lfEscapement);
        case 1: return f.lfWeight >= 700 ? 1 : 0;
        case 2: return f.lfItalic ? 1 : 0;
        case 3: return f.lfStrikeOut ? 1 : 0;
        case 4: return f.lfUnderline ? 1 : 0;
        case 5: return static_cast<uint32_t>(size);
        case 6: return NewText(f.lfFaceName, std::strlen(f.lfFaceName));
        default: {
            auto* value = static_cast<FontValue*>(heap::Allocate(sizeof(FontValue)));
            *value = {static_cast<int32_t>(f.lfEscapement), f.lfWeight >= 700 ? 1u : 0u, f.lfItalic ? 1u : 0u,
                      f.lfStrikeOut ? 1u : 0u, f.lfUnderline ? 1u : 0u, size,
                      NewText(f.lfFaceName, std::strlen(f.lfFaceName))};
            return AddressWord(value);
        }
    }
}

// A font size in points as a LOGFONT height: -(|points| × LOGPIXELSY / 72), truncated (reading
// the size back rounds instead).
LONG HeightForPoints(int32_t points) {
    const int64_t height = std::abs(static_cast<int64_t>(points)) * LogPixelsY() / 72;
    return static_cast<LONG>(-(height > INT32_MAX ? INT32_MAX : height));
}

void SetFace(LOGFONTA& f, const char* face) {
    std::string name = FontFaceName(face ? face : "");
    std::memset(f.lfFaceName, 0, sizeof f.lfFaceName);
    std::memcpy(f.lfFaceName, name.data(), name.size());
}

// The LOGFONT a font write asks for, from the current one.
LOGFONTA WriteFont(LOGFONTA f, int32_t subField, uint32_t v) {
    const int32_t n = static_cast<int32_t>(v);
    switch (subField) {
        case -1: {
            const FontValue* value = reinterpret_cast<const FontValue*>(static_cast<uintptr_t>(v));
            if (!value) break;
            int32_t angle = value->angle % 3600;
            if (angle < 0) angle += 3600;
            f.lfEscapement = f.lfOrientation = angle;
            f.lfWeight = value->bold ? 700 : 0;
            f.lfItalic = value->italic != 0;
            f.lfStrikeOut = value->strikeOut != 0;
            f.lfUnderline = value->underline != 0;
            f.lfHeight = HeightForPoints(value->size < 0 ? 0 : value->size);
            SetFace(f, WordAddress<const char>(value->face));
            break;
        }
        case 0: {
            int32_t angle = n % 3600;
            if (angle < 0) angle += 3600;
            f.lfEscapement = f.lfOrientation = angle;
            break;
        }
        case 1: f.lfWeight = n ? 700 : 0; break;
        case 2: f.lfItalic = n != 0; break;
        case 3: f.lfStrikeOut = n != 0; break;
        case 4: f.lfUnderline = n != 0; break;
        case 5: f.lfHeight = HeightForPoints(n); break;
        case 6: SetFace(f, reinterpret_cast<const char*>(static_cast<uintptr_t>(v))); break;
        default: break;
    }
    return f;
}

struct Target {
    WindowUnit* unit;
    int32_t index;
};

Target Find(uint32_t windowId, uint32_t unitId) {
    WindowUnit* unit = WindowUnits().Find(windowId);
    if (!unit) RaiseRuntimeError(kPropertyWindowMissing, 0);
    int32_t index = unitId == 0 ? 0 : unit->Table().IndexOf(unitId);
    if (index < 0) RaiseRuntimeError(kUnitNotLoaded, 0);
    return {unit, index};
}

void* LiveOf(WindowUnit& unit, uint32_t index) {
    if (!UnitWindow(unit, index)) RaiseRuntimeError(kWindowNotLoaded, 0);
    return reinterpret_cast<void*>(static_cast<uintptr_t>(ComponentRecordAt(unit, index)->LiveObject()));
}

uint64_t ReadMenuItem(const MenuRecord& item, int32_t index) {
    switch (index) {
        case 0: return NewText(item.Caption());
        case 1: return (item.Flags() & kMenuChecked) ? 1 : 0;
        case 2: return (item.Flags() & kMenuDisabled) ? 1 : 0;
        case 3: return (item.Flags() & kMenuHidden) ? 0 : 1;
        default: return 0;
    }
}

void WriteMenuItem(WindowUnit& unit, uint32_t index, int32_t property, uint32_t v) {
    auto item = MenuRecordAt(unit, index);
    if (!item) return;
    bool changed = false;
    if (property == 0) {
        const char* text = reinterpret_cast<const char*>(static_cast<uintptr_t>(v));
        std::string caption = text ? text : "";
        if (caption != item->Caption()) {
            ReplaceMenuCaption(unit, index, caption);
            changed = true;
        }
    } else if (property >= 1 && property <= 3) {
        const uint32_t bit = property == 1 ? kMenuChecked : property == 2 ? kMenuDisabled : kMenuHidden;
        const bool set = property == 3 ? v == 0 : v != 0;
        const uint32_t flags = set ? (item->Flags() | bit) : (item->Flags() & ~bit);
        changed = flags != item->Flags();
        item->SetFlags(flags);
    }
    if (changed)
        if (FormWindow* form = LiveWindowOf(unit)) form->RebuildMenu();
}

uint64_t ReadOwnProperty(WindowUnit& unit, uint32_t index, int32_t property, int32_t subField) {
    void* live = LiveOf(unit, index);
    const uint32_t typeCode = unit.Table().TypeCodeAt(index);
    auto get = reinterpret_cast<GetPropertyService>(TypeService(typeCode, kGetProperty));
    PropertyData data;
    if (!get || !get(live, UnitWindow(unit, 0), property - 8, &data)) data = {};
    const uint32_t type = PropertyTypeOf(typeCode, property);
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(data.value);
    if (type == kPropReal || type == kPropDateTime) return (uint64_t{data.length} << 32) | static_cast<uint32_t>(data.value);
    if (type == kPropLogical) return data.value == 1 ? 1 : 0;
    if (IsTextType(type)) return bytes ? NewText(reinterpret_cast<const char*>(bytes), std::strlen(reinterpret_cast<const char*>(bytes))) : 0;
    if (IsBytesType(type)) return NewByteSet(bytes, data.length);
    if (type == kPropCursor) {
        auto cursor = MapCursorWord(bytes ? std::vector<uint8_t>(bytes, bytes + data.length) : std::vector<uint8_t>{}, false);
        return NewByteSet(cursor.data(), static_cast<uint32_t>(cursor.size()));
    }
    if (type == kPropFont) return ReadFont(bytes, data.length, subField);
    return static_cast<uint32_t>(data.value);
}

void WriteOwnProperty(WindowUnit& unit, uint32_t index, int32_t property, int32_t subField, uint32_t v, uint32_t h) {
    void* live = LiveOf(unit, index);
    const uint32_t typeCode = unit.Table().TypeCodeAt(index);
    const uint32_t type = PropertyTypeOf(typeCode, property);
    auto set = reinterpret_cast<SetPropertyService>(TypeService(typeCode, kSetProperty));
    if (!set) return;
    static const char kEmpty[] = "";
    std::vector<uint8_t> bytes;
    LOGFONTA font;
    PropertyData data{v, 0};
    if (type == kPropReal || type == kPropDateTime) {
        data = {v, h};
    } else if (type == kPropLogical) {
        data = {v != 0 ? 1u : 0u, 0};
    } else if (type == kPropChoice) {
        data = {static_cast<int32_t>(v) < 0 ? 0u : v, 0};
    } else if (IsTextType(type)) {
        data = {v ? v : reinterpret_cast<uintptr_t>(kEmpty), 0};
    } else if (IsBytesType(type) || type == kPropCursor) {
        bytes = ByteSetBytes(v);
        if (type == kPropCursor) bytes = MapCursorWord(std::move(bytes), true);
        data = {bytes.empty() ? reinterpret_cast<uintptr_t>(kEmpty) : reinterpret_cast<uintptr_t>(bytes.data()),
                static_cast<uint32_t>(bytes.size())};
    } else if (type == kPropFont) {
        LOGFONTA current{};
        PropertyData now;
        auto get = reinterpret_cast<GetPropertyService>(TypeService(typeCode, kGetProperty));
        if (get && get(live, UnitWindow(unit, 0), property - 8, &now))
            current = LogFontOf(reinterpret_cast<const uint8_t*>(now.value), now.length);
        else
            current = LogFontOf(nullptr, 0);
        font = WriteFont(current, subField, v);
        data = {reinterpret_cast<uintptr_t>(&font), kLogFontSize};
    }
    const uint32_t windowId = unit.windowId, unitId = unit.Table().IdAt(index);
    if (set(live, UnitWindow(unit, 0), property - 8, data, nullptr) == 1) {
        WindowUnit* again = WindowUnits().Find(windowId);
        int32_t at = again ? again->Table().IndexOf(unitId) : -1;
        if (at > 0 && UnitWindow(*again, static_cast<uint32_t>(at))) RecreateComponent(*again, static_cast<uint32_t>(at));
    }
}

// The rectangle of a live unit in its parent's client coordinates (the screen for a window).
RECT LiveRect(HWND w) {
    RECT r;
    GetWindowRect(w, &r);
    if (HWND parent = (GetWindowLongA(w, GWL_STYLE) & WS_CHILD) ? GetParent(w) : nullptr)
        MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

uint64_t ReadCommon(WindowUnit& unit, uint32_t index, int32_t property) {
    auto record = ComponentRecordAt(unit, index);
    if (!record) return 0;
    HWND w = UnitWindow(unit, index);
    switch (property) {
        case 0:
        case 1:
        case 2:
        case 3: {
            if (!w) return static_cast<uint32_t>(record->Rect(property));
            RECT r = LiveRect(w);
            const int32_t values[4] = {r.left, r.top, r.right - r.left, r.bottom - r.top};
            return static_cast<uint32_t>(values[property]);
        }
        case 4: return NewText(record->Tag());
        case 5: return w ? (IsWindowVisible(w) ? 1 : 0) : (record->StateFlags() & kStateVisible ? 1 : 0);
        case 6: return w ? (IsWindowEnabled(w) ? 0 : 1) : (record->StateFlags() & kStateDisabled ? 1 : 0);
        case 7: {
            auto data = MapCursorWord(std::vector<uint8_t>(record->CursorData(), record->CursorData() + record->CursorDataLength()), false);
            return NewByteSet(data.data(), static_cast<uint32_t>(data.size()));
        }
        default: return 0;
    }
}

void WriteCommon(WindowUnit& unit, uint32_t index, int32_t property, uint32_t v) {
    auto record = ComponentRecordAt(unit, index);
    if (!record) return;
    HWND w = UnitWindow(unit, index);
    const int32_t n = static_cast<int32_t>(v);
    switch (property) {
        case 0:
        case 1:
        case 2:
        case 3: {
            const int32_t value = property < 2 ? ClampPosition(n) : ClampSize(n);
            record->SetRect(property, value);
            if (!w) return;
            RECT r = LiveRect(w);
            if (property < 2) {
                SetWindowPos(w, nullptr, property == 0 ? value : r.left, property == 1 ? value : r.top, 0, 0,
                             SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
            } else {
                SetWindowPos(w, nullptr, 0, 0, property == 2 ? value : r.right - r.left,
                             property == 3 ? value : r.bottom - r.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            }
            return;
        }
        case 4: {
            const char* text = reinterpret_cast<const char*>(static_cast<uintptr_t>(v));
            ReplaceTag(unit, index, text ? text : "");
            return;
        }
        case 5: {
            const uint32_t flags = record->StateFlags();
            record->SetStateFlags(v ? flags | kStateVisible : flags & ~kStateVisible);
            if (!w) return;
            if (!v) {
                ShowWindow(w, SW_HIDE);
            } else if (index == 0) {
                if (FormWindow* form = LiveWindowOf(unit)) form->ShowOnLoad();
            } else if (!(TypeFlagsOf(record->TypeCode()) & kFlagInvisible)) {
                ShowWindow(w, SW_SHOW);
            }
            return;
        }
        case 6: {
            const uint32_t flags = record->StateFlags();
            record->SetStateFlags(v ? flags | kStateDisabled : flags & ~kStateDisabled);
            if (w) EnableWindow(w, v ? FALSE : TRUE);
            return;
        }
        case 7: {
            if (record->CursorHandle())
                DestroyCursor(WordHandle<HCURSOR>(record->CursorHandle()));
            record->SetCursorHandle(0);
            std::vector<uint8_t> data = MapCursorWord(ByteSetBytes(v), true);
            ReplaceCursorData(unit, index, data);
            auto fresh = ComponentRecordAt(unit, index);
            HCURSOR cursor = MakeUnitCursor(fresh->CursorData(), fresh->CursorDataLength());
            fresh->SetCursorHandle(HandleWord(cursor));
            if (w) {
                // The pointer is set where it is, so that the new cursor shows at once.
                POINT at;
                GetCursorPos(&at);
                SetCursorPos(at.x, at.y);
            }
            return;
        }
        default: return;
    }
}

}  // namespace

int32_t ClampPosition(int32_t value) { return value < -kLimit ? -kLimit : value > kLimit ? kLimit : value; }
int32_t ClampSize(int32_t value) { return value < 0 ? 0 : value > kLimit ? kLimit : value; }

std::string FontFaceName(const std::string& requested) {
    return requested.empty() || requested.size() >= 32 ? std::string(kDefaultFaceName) : requested;
}

uint64_t ReadProperty(uint32_t windowId, uint32_t unitId, int32_t index, int32_t subField) {
    Target t = Find(windowId, unitId);
    const uint32_t at = static_cast<uint32_t>(t.index);
    if (auto item = MenuRecordAt(*t.unit, at)) return ReadMenuItem(*item, index);
    if (index > 7) return ReadOwnProperty(*t.unit, at, index, subField);
    return ReadCommon(*t.unit, at, index);
}

void WriteProperty(uint32_t windowId, uint32_t unitId, int32_t index, int32_t subField, uint32_t lo, uint32_t hi) {
    Target t = Find(windowId, unitId);
    const uint32_t at = static_cast<uint32_t>(t.index);
    if (IsMenuRecord(*t.unit, at)) return WriteMenuItem(*t.unit, at, index, lo);
    if (index > 7) return WriteOwnProperty(*t.unit, at, index, subField, lo, hi);
    WriteCommon(*t.unit, at, index, lo);
}

}  // namespace ruvelto::forms
