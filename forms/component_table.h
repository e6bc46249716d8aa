// A window's component table: M unit ids, M offsets (counted from the first byte after the
// offset array), then M records, each a length word and the record data. The view reads and
// patches the table in place; it checks nothing itself, so only tables that ValidComponentTable
// accepted may be viewed.
#pragma once
#include <cstdint>
#include <optional>

namespace ruvelto::forms {

constexpr uint32_t kWindowTypeCode = 0x10001;
constexpr uint32_t kMenuItemTypeCode = 0x10003;

// Where each field of a component record sits, as byte offsets into the record data.
struct ComponentRecordLayout {
    uint32_t typeCode = 0;
    uint32_t handlerLink = 0;
    uint32_t nameAt = 0, remarkAt = 0;
    uint32_t liveObjectAt = 0;
    uint32_t rectangleAt = 0;  // left, top, width, height
    uint32_t cursorHandleAt = 0;
    uint32_t containerAt = 0;
    uint32_t childCount = 0, childrenAt = 0;
    uint32_t cursorDataLength = 0, cursorDataAt = 0;
    uint32_t tagAt = 0;
    uint32_t stateFlagsAt = 0;
    uint32_t tabOrderAt = 0;
    uint32_t eventCount = 0, eventsAt = 0;  // eventCount pairs {event number, handler}
    uint32_t propertyBlockAt = 0, propertyBlockLength = 0;
};

struct MenuItemLayout {
    uint32_t typeCode = 0;
    uint32_t handlerLink = 0;
    uint32_t shortcutAt = 0, levelAt = 0, menuFlagsAt = 0;
    uint32_t captionAt = 0;
    uint32_t handlerAt = 0;
};

// nullopt when a field runs past the record's end.
std::optional<ComponentRecordLayout> ParseComponentRecord(const uint8_t* record, uint32_t length);
std::optional<MenuItemLayout> ParseMenuItemRecord(const uint8_t* record, uint32_t length);

// True when the table holds `count` (at least one) records that all lie inside it and parse.
bool ValidComponentTable(const uint8_t* table, uint32_t size, uint32_t count);

// A unit id names something only when its serial number (bits 0-23) and class (bits 24-27)
// are both non-zero.
inline bool ValidUnitId(uint32_t id) { return (id & 0x00FFFFFF) != 0 && (id & 0x0F000000) != 0; }

struct RecordSpan {
    uint8_t* data = nullptr;  // past the length word
    uint32_t length = 0;
};

class ComponentTableView {
public:
    ComponentTableView(uint8_t* table, uint32_t count) : table_(table), count_(count) {}

    uint32_t Count() const { return count_; }
    uint32_t IdAt(uint32_t index) const;
    RecordSpan RecordAt(uint32_t index) const;
    uint32_t TypeCodeAt(uint32_t index) const;
    // Index of the record with this unit id (the first match), or -1; invalid ids are never found.
    int32_t IndexOf(uint32_t unitId) const;

    // The handler bound to an event of a unit (unit id 0: the window itself), after following the
    // unit's handler links while they name records of the same type. 0 when there is none.
    uint32_t FindHandler(uint32_t unitId, int32_t event) const;

    // Rewrites every handler offset into code base + offset, and -1 into 0.
    void RelocateHandlers(uint32_t codeBase);

private:
    uint8_t* table_;
    uint32_t count_;
};

}  // namespace ruvelto::forms
