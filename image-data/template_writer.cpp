#include "image-data/template_writer.h"

#include <set>
#include <stdexcept>

#include "image-data/template_stream.h"

namespace ruvelto::image_data {
namespace {

constexpr uint32_t kSerialMask = 0x00FFFFFF;
constexpr uint32_t kWindowRecordKind = 0x06000000;
constexpr uint32_t kComponentKind = 0x16000000;
constexpr uint32_t kMenuItemKind = 0x26000000;

bool ValidId(uint32_t id) { return (id & kSerialMask) != 0 && (id & 0x0F000000) != 0; }

void WriteCommonHead(TemplateStream& s, uint32_t typeCode, uint32_t handlerLinkId, const std::string& name,
                     const std::string& remark) {
    s.Word(typeCode);
    s.Word(handlerLinkId);
    for (int i = 0; i < 4; ++i) s.Word(0);
    s.ZeroTerminatedText(name);
    s.ZeroTerminatedText(remark);
}

uint32_t ContainerIdOf(const WindowDescription& window, const ComponentDescription& unit) {
    return unit.container.empty() ? 0 : UnitIdOf(window, unit.container);
}

}  // namespace

int32_t HandlerTable::OffsetOf(const HandlerRef& handler) {
    if (handler.symbol.empty()) return handler.offset;
    for (size_t i = 0; i < symbols_.size(); ++i)
        if (symbols_[i] == handler.symbol) return static_cast<int32_t>(i) * kHandlerStubSize;
    symbols_.push_back(handler.symbol);
    return static_cast<int32_t>(symbols_.size() - 1) * kHandlerStubSize;
}

void AssignUnitIds(std::vector<WindowDescription>& windows) {
    std::set<uint32_t> serials;
    auto claim = [&](uint32_t id) {
        if (!ValidId(id)) throw std::invalid_argument("invalid unit id " + std::to_string(id));
        if (!serials.insert(id & kSerialMask).second)
            throw std::invalid_argument("unit serial number used twice: " + std::to_string(id & kSerialMask));
    };
    for (WindowDescription& w : windows) {
        claim(w.windowId);
        uint32_t next = (w.windowId & kSerialMask) + 1;
        auto assign = [&](uint32_t& id, uint32_t kind) {
            if (!id) id = kind | (next++ & kSerialMask);
            claim(id);
        };
        assign(w.window.id, kWindowRecordKind);
        for (MenuItemDescription& item : w.menu) assign(item.id, kMenuItemKind);
        for (ComponentDescription& c : w.components) assign(c.id, kComponentKind);
    }
}

uint32_t UnitIdOf(const WindowDescription& window, const std::string& name) {
    for (const ComponentDescription& c : window.components)
        if (c.name == name) return c.id;
    throw std::invalid_argument("no unit named \"" + name + "\" in its window");
}

std::vector<uint8_t> WriteComponentRecord(const ComponentDescription& unit, uint32_t handlerLinkId, uint32_t containerId,
                                          const std::vector<uint32_t>& children, HandlerTable& handlers) {
    TemplateStream s;
    WriteCommonHead(s, unit.typeCode, handlerLinkId, unit.name, unit.remark);
    s.Word(0);  // live object, filled while loaded
    s.Int(unit.left), s.Int(unit.top), s.Int(unit.width), s.Int(unit.height);
    s.Word(0);  // cursor handle, made from the cursor data while loaded
    s.Word(containerId);
    s.Word(static_cast<uint32_t>(children.size()));
    for (uint32_t child : children) s.Word(child);
    s.Buffer(unit.cursorData);
    s.ZeroTerminatedText(unit.tag);
    s.Word(0);
    s.Word(unit.stateFlags);
    s.Int(unit.tabOrder);
    s.Word(static_cast<uint32_t>(unit.events.size()));
    for (const EventBinding& e : unit.events) {
        s.Int(e.event);
        s.Int(handlers.OffsetOf(e.handler));
    }
    for (int i = 0; i < 5; ++i) s.Word(0);
    s.Bytes(unit.propertyBlock);
    return s.Take();
}

std::vector<uint8_t> WriteMenuItemRecord(const MenuItemDescription& item, HandlerTable& handlers) {
    TemplateStream s;
    WriteCommonHead(s, type_code::kMenuItem, 0, "", "");
    s.Word(item.shortcut);
    s.Word(item.level);
    s.Word(item.menuFlags);
    s.ZeroTerminatedText(item.caption);
    s.Int(handlers.OffsetOf(item.handler));
    s.Word(0);  // reserved
    return s.Take();
}

std::vector<uint8_t> WriteComponentTable(const std::vector<uint32_t>& ids, const std::vector<std::vector<uint8_t>>& records) {
    if (ids.size() != records.size()) throw std::invalid_argument("one id per record");
    TemplateStream s;
    for (uint32_t id : ids) s.Word(id);
    // Offsets count from the first byte after the offset array.
    uint32_t offset = 0;
    for (const std::vector<uint8_t>& r : records) {
        s.Word(offset);
        offset += 4 + static_cast<uint32_t>(r.size());
    }
    for (const std::vector<uint8_t>& r : records) s.Buffer(r);
    return s.Take();
}

std::vector<uint8_t> WriteWindowTemplate(const WindowDescription& window, HandlerTable& handlers) {
    std::vector<uint32_t> ids;
    std::vector<std::vector<uint8_t>> records;

    ComponentDescription own = window.window;
    own.typeCode = type_code::kWindow;
    ids.push_back(own.id);
    records.push_back(WriteComponentRecord(own, own.handlerLinkId, 0, {}, handlers));

    for (const MenuItemDescription& item : window.menu) {
        ids.push_back(item.id);
        records.push_back(WriteMenuItemRecord(item, handlers));
    }
    for (const ComponentDescription& c : window.components) {
        std::vector<uint32_t> children;
        for (const ComponentDescription& other : window.components)
            if (!other.container.empty() && other.container == c.name) children.push_back(other.id);
        uint32_t link = c.handlerLink.empty() ? c.handlerLinkId : UnitIdOf(window, c.handlerLink);
        ids.push_back(c.id);
        records.push_back(WriteComponentRecord(c, link, ContainerIdOf(window, c), children, handlers));
    }

    TemplateStream s;
    s.Word(window.headerA);
    s.Word(window.headerB);
    s.CountedText(window.text1);
    s.CountedText(window.text2);
    s.Word(static_cast<uint32_t>(ids.size()));
    s.Buffer(WriteComponentTable(ids, records));
    return s.Take();
}

TemplateSegment WriteTemplateSegment(std::vector<WindowDescription> windows) {
    AssignUnitIds(windows);
    // The index: N window ids, then N words the runtime fills with its window units.
    TemplateStream index;
    for (const WindowDescription& w : windows) index.Word(w.windowId);
    for (size_t i = 0; i < windows.size(); ++i) index.Word(0);

    TemplateSegment segment;
    HandlerTable handlers;
    TemplateStream s;
    s.Buffer(index.Data());
    for (const WindowDescription& w : windows) s.Bytes(WriteWindowTemplate(w, handlers));
    segment.bytes = s.Take();
    segment.handlers = handlers.Symbols();
    return segment;
}

}  // namespace ruvelto::image_data
