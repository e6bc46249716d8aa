// The records of a window unit's live component table as the engine reads and writes them while
// running: typed access to the fields of a component record or a menu-item record, and in-place
// rewriting of the variable-length fields (tag, cursor data, child list, caption) and removal of
// records, shifting the offsets of the records behind. Portable.
//
// A rewrite moves the table's bytes: records fetched before it must be fetched again.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "forms/component_table.h"
#include "forms/template_reader.h"
#include "forms/window_unit.h"

namespace ruvelto::forms {

// State flag bits of a component record.
constexpr uint32_t kStateVisible = 1;
constexpr uint32_t kStateDisabled = 2;
constexpr uint32_t kStateTabStop = 4;

// Menu flag bits of a menu-item record.
constexpr uint32_t kMenuHidden = 1;
constexpr uint32_t kMenuDisabled = 2;
constexpr uint32_t kMenuChecked = 4;
constexpr uint32_t kMenuRebuild = 8;

struct UnitRecord {
    uint8_t* data = nullptr;
    uint32_t length = 0;
    ComponentRecordLayout at;

    uint32_t Word(uint32_t offset) const { return LoadWord(data + offset); }
    void SetWord(uint32_t offset, uint32_t value) { StoreWord(data + offset, value); }

    uint32_t TypeCode() const { return Word(0); }
    uint32_t LiveObject() const { return Word(at.liveObjectAt); }
    void SetLiveObject(uint32_t object) { SetWord(at.liveObjectAt, object); }
    // 0 left, 1 top, 2 width, 3 height
    int32_t Rect(int which) const { return static_cast<int32_t>(Word(at.rectangleAt + 4 * which)); }
    void SetRect(int which, int32_t value) { SetWord(at.rectangleAt + 4 * which, static_cast<uint32_t>(value)); }
    uint32_t CursorHandle() const { return Word(at.cursorHandleAt); }
    void SetCursorHandle(uint32_t cursor) { SetWord(at.cursorHandleAt, cursor); }
    uint32_t Container() const { return Word(at.containerAt); }
    std::vector<uint32_t> Children() const;
    const uint8_t* CursorData() const { return data + at.cursorDataAt; }
    uint32_t CursorDataLength() const { return at.cursorDataLength; }
    std::string Tag() const { return reinterpret_cast<const char*>(data + at.tagAt); }
    std::string Name() const { return reinterpret_cast<const char*>(data + at.nameAt); }
    uint32_t StateFlags() const { return Word(at.stateFlagsAt); }
    void SetStateFlags(uint32_t flags) { SetWord(at.stateFlagsAt, flags); }
    int32_t TabOrder() const { return static_cast<int32_t>(Word(at.tabOrderAt)); }
    const uint8_t* PropertyBlock() const { return data + at.propertyBlockAt; }
    uint32_t PropertyBlockLength() const { return at.propertyBlockLength; }
};

struct MenuRecord {
    uint8_t* data = nullptr;
    uint32_t length = 0;
    MenuItemLayout at;

    uint32_t Shortcut() const { return LoadWord(data + at.shortcutAt); }
    uint32_t Level() const { return LoadWord(data + at.levelAt); }
    uint32_t Flags() const { return LoadWord(data + at.menuFlagsAt); }
    void SetFlags(uint32_t flags) { StoreWord(data + at.menuFlagsAt, flags); }
    std::string Caption() const { return reinterpret_cast<const char*>(data + at.captionAt); }
    uint32_t Handler() const { return LoadWord(data + at.handlerAt); }
};

// The component record at a table index; nullopt for a menu item, an index out of range or a
// record that does not parse.
std::optional<UnitRecord> ComponentRecordAt(WindowUnit& unit, uint32_t index);
std::optional<MenuRecord> MenuRecordAt(WindowUnit& unit, uint32_t index);
bool IsMenuRecord(WindowUnit& unit, uint32_t index);

// Rewrites a variable-length field of record `index` in place.
void ReplaceTag(WindowUnit& unit, uint32_t index, const std::string& tag);
void ReplaceCursorData(WindowUnit& unit, uint32_t index, const std::vector<uint8_t>& cursorData);
void ReplaceChildList(WindowUnit& unit, uint32_t index, const std::vector<uint32_t>& children);
void ReplaceMenuCaption(WindowUnit& unit, uint32_t index, const std::string& caption);
// Deletes the record's id, offset and bytes.
void RemoveRecord(WindowUnit& unit, uint32_t index);

}  // namespace ruvelto::forms
