// Writes window descriptions as the window template segment: the window index, then one window
// template per window, each with its component table of ids, offsets and length-prefixed records.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "image-data/window_description.h"

namespace ruvelto::image_data {

// Handlers are reached through stubs spaced this far apart from the code base.
constexpr int32_t kHandlerStubSize = 16;

// The handlers named in templates, in first-use order; handler i sits at code base + 16 * i.
class HandlerTable {
public:
    // The offset a template stores for this handler; -1 for none.
    int32_t OffsetOf(const HandlerRef& handler);
    const std::vector<std::string>& Symbols() const { return symbols_; }

private:
    std::vector<std::string> symbols_;
};

struct TemplateSegment {
    std::vector<uint8_t> bytes;
    std::vector<std::string> handlers;  // the code base's stubs, in order
};

// Gives every record without an id one: the window's own record (0x06), menu items (0x26) and
// components (0x16) take the serial numbers that follow the window's, in record order. Throws
// std::invalid_argument when two units of the program end up with the same serial number.
void AssignUnitIds(std::vector<WindowDescription>& windows);

// Unit id of a named component of a window whose ids are assigned; throws when there is none.
uint32_t UnitIdOf(const WindowDescription& window, const std::string& name);

std::vector<uint8_t> WriteComponentRecord(const ComponentDescription& unit, uint32_t handlerLinkId, uint32_t containerId,
                                          const std::vector<uint32_t>& children, HandlerTable& handlers);
std::vector<uint8_t> WriteMenuItemRecord(const MenuItemDescription& item, HandlerTable& handlers);
// ids and records in record order; records hold record data without their length word.
std::vector<uint8_t> WriteComponentTable(const std::vector<uint32_t>& ids, const std::vector<std::vector<uint8_t>>& records);
// One window template (fields 1-6); the window's ids must be assigned.
std::vector<uint8_t> WriteWindowTemplate(const WindowDescription& window, HandlerTable& handlers);

// The whole segment; assigns the ids that are still 0. Throws std::invalid_argument when a
// container or handler link names no unit of its window.
TemplateSegment WriteTemplateSegment(std::vector<WindowDescription> windows);

}  // namespace ruvelto::image_data
