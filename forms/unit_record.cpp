#include "forms/unit_record.h"

#include <cstring>

namespace ruvelto::forms {
namespace {

// Byte position of record `index`'s length word in the table.
uint32_t RecordStart(const WindowUnit& unit, uint32_t index) {
    const uint32_t count = unit.recordCount;
    return count * 8 + LoadWord(unit.table.data() + count * 4 + index * 4);
}

// Replaces `oldLength` bytes at `at` of record `index`'s data with `bytes`, fixing the record's
// length word and the offsets of every record stored behind it.
void ReplaceBytes(WindowUnit& unit, uint32_t index, uint32_t at, uint32_t oldLength, const std::vector<uint8_t>& bytes) {
    const uint32_t count = unit.recordCount;
    const uint32_t start = RecordStart(unit, index);
    const uint32_t ownOffset = LoadWord(unit.table.data() + count * 4 + index * 4);
    const uint32_t position = start + 4 + at;
    const int64_t delta = static_cast<int64_t>(bytes.size()) - oldLength;

    auto& t = unit.table;
    t.erase(t.begin() + position, t.begin() + position + oldLength);
    t.insert(t.begin() + position, bytes.begin(), bytes.end());
    StoreWord(t.data() + start, static_cast<uint32_t>(LoadWord(t.data() + start) + delta));
    for (uint32_t j = 0; j < count; ++j) {
        uint8_t* offset = t.data() + count * 4 + j * 4;
        if (LoadWord(offset) > ownOffset) StoreWord(offset, static_cast<uint32_t>(LoadWord(offset) + delta));
    }
}

std::vector<uint8_t> ZeroTerminated(const std::string& text) {
    std::vector<uint8_t> bytes(text.begin(), text.end());
    bytes.push_back(0);
    return bytes;
}

void PutWord(std::vector<uint8_t>& bytes, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(uint8_t(value >> shift));
}

}  // namespace

std::vector<uint32_t> UnitRecord::Children() const {
    std::vector<uint32_t> children(at.childCount);
    for (uint32_t i = 0; i < at.childCount; ++i) children[i] = Word(at.childrenAt + 4 * i);
    return children;
}

bool IsMenuRecord(WindowUnit& unit, uint32_t index) {
    return index < unit.recordCount && unit.Table().TypeCodeAt(index) == kMenuItemTypeCode;
}

std::optional<UnitRecord> ComponentRecordAt(WindowUnit& unit, uint32_t index) {
    if (index >= unit.recordCount || IsMenuRecord(unit, index)) return std::nullopt;
    RecordSpan span = unit.Table().RecordAt(index);
    auto layout = ParseComponentRecord(span.data, span.length);
    if (!layout) return std::nullopt;
    return UnitRecord{span.data, span.length, *layout};
}

std::optional<MenuRecord> MenuRecordAt(WindowUnit& unit, uint32_t index) {
    if (!IsMenuRecord(unit, index)) return std::nullopt;
    RecordSpan span = unit.Table().RecordAt(index);
    auto layout = ParseMenuItemRecord(span.data, span.length);
    if (!layout) return std::nullopt;
    return MenuRecord{span.data, span.length, *layout};
}

void ReplaceTag(WindowUnit& unit, uint32_t index, const std::string& tag) {
    auto record = ComponentRecordAt(unit, index);
    if (!record) return;
    uint32_t old = static_cast<uint32_t>(std::strlen(reinterpret_cast<const char*>(record->data + record->at.tagAt))) + 1;
    ReplaceBytes(unit, index, record->at.tagAt, old, ZeroTerminated(tag));
}

void ReplaceCursorData(WindowUnit& unit, uint32_t index, const std::vector<uint8_t>& cursorData) {
    auto record = ComponentRecordAt(unit, index);
    if (!record) return;
    std::vector<uint8_t> field;
    PutWord(field, static_cast<uint32_t>(cursorData.size()));
    field.insert(field.end(), cursorData.begin(), cursorData.end());
    // A stored count of zero or below has no bytes behind it, whatever it said.
    ReplaceBytes(unit, index, record->at.cursorDataAt - 4, 4 + record->at.cursorDataLength, field);
}

void ReplaceChildList(WindowUnit& unit, uint32_t index, const std::vector<uint32_t>& children) {
    auto record = ComponentRecordAt(unit, index);
    if (!record) return;
    std::vector<uint8_t> field;
    PutWord(field, static_cast<uint32_t>(children.size()));
    for (uint32_t child : children) PutWord(field, child);
    ReplaceBytes(unit, index, record->at.childrenAt - 4, 4 + 4 * record->at.childCount, field);
}

void ReplaceMenuCaption(WindowUnit& unit, uint32_t index, const std::string& caption) {
    auto record = MenuRecordAt(unit, index);
    if (!record) return;
    uint32_t old =
        static_cast<uint32_t>(std::strlen(reinterpret_cast<const char*>(record->data + record->at.captionAt))) + 1;
    ReplaceBytes(unit, index, record->at.captionAt, old, ZeroTerminated(caption));
}

void RemoveRecord(WindowUnit& unit, uint32_t index) {
    const uint32_t count = unit.recordCount;
    if (index >= count) return;
    auto& t = unit.table;
    const uint32_t start = RecordStart(unit, index);
    const uint32_t size = 4 + LoadWord(t.data() + start);
    const uint32_t ownOffset = LoadWord(t.data() + count * 4 + index * 4);
    t.erase(t.begin() + start, t.begin() + start + size);
    for (uint32_t j = 0; j < count; ++j) {
        uint8_t* offset = t.data() + count * 4 + j * 4;
        if (LoadWord(offset) > ownOffset) StoreWord(offset, LoadWord(offset) - size);
    }
    // Offsets count from the end of the offset array, so dropping one id and one offset keeps
    // every other offset valid.
    t.erase(t.begin() + count * 4 + index * 4, t.begin() + count * 4 + index * 4 + 4);
    t.erase(t.begin() + index * 4, t.begin() + index * 4 + 4);
    unit.recordCount = count - 1;
}

}  // namespace ruvelto::forms
