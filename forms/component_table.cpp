#include "forms/component_table.h"

#include <algorithm>
#include <utility>
#include <vector>

#include <cstring>

#include "forms/template_reader.h"

namespace ruvelto::forms {
namespace {

// Walks a record field by field; any field that would run past the end fails the walk.
class RecordWalker {
public:
    RecordWalker(const uint8_t* record, uint32_t length) : p_(record), length_(length) {}

    bool Word(uint32_t& value) {
        if (!Skip(4)) return false;
        value = LoadWord(p_ + at_ - 4);
        return true;
    }
    bool Skip(uint32_t count) {
        if (count > length_ - at_) return ok_ = false;
        at_ += count;
        return ok_;
    }
    bool Text() {
        const void* end = std::memchr(p_ + at_, 0, length_ - at_);
        if (!end) return ok_ = false;
        at_ = static_cast<uint32_t>(static_cast<const uint8_t*>(end) - p_) + 1;
        return ok_;
    }
    uint32_t At() const { return at_; }
    uint32_t Left() const { return length_ - at_; }

private:
    const uint8_t* p_;
    uint32_t length_;
    uint32_t at_ = 0;
    bool ok_ = true;
};

bool Head(RecordWalker& w, uint32_t& typeCode, uint32_t& link, uint32_t& nameAt, uint32_t& remarkAt) {
    if (!w.Word(typeCode) || !w.Word(link) || !w.Skip(16)) return false;
    nameAt = w.At();
    if (!w.Text()) return false;
    remarkAt = w.At();
    return w.Text();
}

}  // namespace

std::optional<ComponentRecordLayout> ParseComponentRecord(const uint8_t* record, uint32_t length) {
    RecordWalker w(record, length);
    ComponentRecordLayout r;
    if (!Head(w, r.typeCode, r.handlerLink, r.nameAt, r.remarkAt)) return std::nullopt;
    r.liveObjectAt = w.At();
    if (!w.Skip(4)) return std::nullopt;
    r.rectangleAt = w.At();
    if (!w.Skip(16)) return std::nullopt;
    r.cursorHandleAt = w.At();
    if (!w.Skip(4)) return std::nullopt;
    r.containerAt = w.At();
    if (!w.Skip(4) || !w.Word(r.childCount) || r.childCount > w.Left() / 4) return std::nullopt;
    r.childrenAt = w.At();
    w.Skip(r.childCount * 4);
    uint32_t cursorLength;
    if (!w.Word(cursorLength)) return std::nullopt;
    r.cursorDataLength = static_cast<int32_t>(cursorLength) <= 0 ? 0 : cursorLength;
    r.cursorDataAt = w.At();
    if (!w.Skip(r.cursorDataLength)) return std::nullopt;
    r.tagAt = w.At();
    if (!w.Text() || !w.Skip(4)) return std::nullopt;
    r.stateFlagsAt = w.At();
    if (!w.Skip(4)) return std::nullopt;
    r.tabOrderAt = w.At();
    if (!w.Skip(4) || !w.Word(r.eventCount) || r.eventCount > w.Left() / 8) return std::nullopt;
    r.eventsAt = w.At();
    w.Skip(r.eventCount * 8);
    if (!w.Skip(20)) return std::nullopt;
    r.propertyBlockAt = w.At();
    r.propertyBlockLength = w.Left();
    return r;
}

std::optional<MenuItemLayout> ParseMenuItemRecord(const uint8_t* record, uint32_t length) {
    RecordWalker w(record, length);
    MenuItemLayout m;
    uint32_t nameAt, remarkAt;
    if (!Head(w, m.typeCode, m.handlerLink, nameAt, remarkAt)) return std::nullopt;
    m.shortcutAt = w.At();
    m.levelAt = m.shortcutAt + 4;
    m.menuFlagsAt = m.shortcutAt + 8;
    if (!w.Skip(12)) return std::nullopt;
    m.captionAt = w.At();
    if (!w.Text()) return std::nullopt;
    m.handlerAt = w.At();
    if (!w.Skip(4)) return std::nullopt;
    return m;
}

bool ValidComponentTable(const uint8_t* table, uint32_t size, uint32_t count) {
    if (count == 0 || count > size / 8) return false;
    const uint32_t recordsAt = count * 8;
    const uint32_t recordsSize = size - recordsAt;
    // Records must not share bytes: relocating one record's handlers would otherwise rewrite
    // another's fields (its length among them) after they were checked here.
    std::vector<std::pair<uint32_t, uint32_t>> spans;
    spans.reserve(count);
    for (uint32_t i = 0; i < count; ++i) {
        uint32_t offset = LoadWord(table + count * 4 + i * 4);
        if (offset > recordsSize || recordsSize - offset < 4) return false;
        const uint8_t* record = table + recordsAt + offset;
        uint32_t length = LoadWord(record);
        if (length > recordsSize - offset - 4) return false;
        record += 4;
        bool parsed = length >= 4 && LoadWord(record) == kMenuItemTypeCode
                          ? ParseMenuItemRecord(record, length).has_value()
                          : ParseComponentRecord(record, length).has_value();
        if (!parsed) return false;
        spans.emplace_back(offset, offset + 4 + length);
    }
    std::sort(spans.begin(), spans.end());
    for (size_t i = 1; i < spans.size(); ++i)
        if (spans[i].first < spans[i - 1].second) return false;
    return true;
}

uint32_t ComponentTableView::IdAt(uint32_t index) const { return LoadWord(table_ + index * 4); }

RecordSpan ComponentTableView::RecordAt(uint32_t index) const {
    uint8_t* record = table_ + count_ * 8 + LoadWord(table_ + count_ * 4 + index * 4);
    return {record + 4, LoadWord(record)};
}

uint32_t ComponentTableView::TypeCodeAt(uint32_t index) const { return LoadWord(RecordAt(index).data); }

int32_t ComponentTableView::IndexOf(uint32_t unitId) const {
    if (!ValidUnitId(unitId)) return -1;
    for (uint32_t i = 0; i < count_; ++i)
        if (IdAt(i) == unitId) return static_cast<int32_t>(i);
    return -1;
}

uint32_t ComponentTableView::FindHandler(uint32_t unitId, int32_t event) const {
    int32_t index = unitId == 0 ? 0 : IndexOf(unitId);
    if (index < 0) return 0;
    // A chain of links longer than the table has gone round in a circle; stop where it is.
    for (uint32_t steps = 0; steps < count_; ++steps) {
        uint32_t link = LoadWord(RecordAt(index).data + 4);
        int32_t linked = link ? IndexOf(link) : -1;
        if (linked < 0 || TypeCodeAt(linked) != TypeCodeAt(index)) break;
        index = linked;
    }
    RecordSpan record = RecordAt(index);
    if (TypeCodeAt(index) == kMenuItemTypeCode) {
        auto layout = ParseMenuItemRecord(record.data, record.length);
        return layout ? LoadWord(record.data + layout->handlerAt) : 0;
    }
    auto layout = ParseComponentRecord(record.data, record.length);
    if (!layout) return 0;
    for (uint32_t i = 0; i < layout->eventCount; ++i) {
        const uint8_t* pair = record.data + layout->eventsAt + i * 8;
        if (static_cast<int32_t>(LoadWord(pair)) == event) return LoadWord(pair + 4);
    }
    return 0;
}

void ComponentTableView::RelocateHandlers(uint32_t codeBase) {
    auto relocate = [codeBase](uint8_t* word) {
        uint32_t offset = LoadWord(word);
        StoreWord(word, offset == 0xFFFFFFFFu ? 0 : codeBase + offset);
    };
    for (uint32_t i = 0; i < count_; ++i) {
        RecordSpan record = RecordAt(i);
        if (TypeCodeAt(i) == kMenuItemTypeCode) {
            if (auto layout = ParseMenuItemRecord(record.data, record.length)) relocate(record.data + layout->handlerAt);
        } else if (auto layout = ParseComponentRecord(record.data, record.length)) {
            for (uint32_t e = 0; e < layout->eventCount; ++e) relocate(record.data + layout->eventsAt + e * 8 + 4);
        }
    }
}

}  // namespace ruvelto::forms
