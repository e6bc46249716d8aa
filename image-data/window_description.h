// A window as its description file states it: the window's own record, its menu and its
// components in design order, each with rectangle, container, state flags, event handlers and
// the type's property block. The template writer turns descriptions into template bytes; unit
// ids, child lists and handler offsets are derived, never written by hand.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace ruvelto::image_data {

namespace type_code {
constexpr uint32_t kWindow = 0x10001;
constexpr uint32_t kMenuItem = 0x10003;
constexpr uint32_t kEditBox = 0x10005;
constexpr uint32_t kPicBox = 0x10006;
constexpr uint32_t kShapeBox = 0x10007;
constexpr uint32_t kDrawPanel = 0x10008;
constexpr uint32_t kGroupBox = 0x10009;
constexpr uint32_t kLabel = 0x1000A;
constexpr uint32_t kButton = 0x1000B;
constexpr uint32_t kCheckBox = 0x1000C;
constexpr uint32_t kRadioBox = 0x1000D;
constexpr uint32_t kHScrollBar = 0x10011;
constexpr uint32_t kProcessBar = 0x10013;
constexpr uint32_t kSliderBar = 0x10014;
constexpr uint32_t kCommonDlg = 0x1001F;
constexpr uint32_t kDirTree = 0x20001;
constexpr uint32_t kStatusBar = 0x30002;
constexpr uint32_t kListView = 0x30004;
constexpr uint32_t kTransLabel = 0x30005;
}  // namespace type_code

// Record state flags.
constexpr uint32_t kVisible = 1;
constexpr uint32_t kDisabled = 2;
constexpr uint32_t kTabStop = 4;

// An event handler: an application routine named by its C symbol (the writer gives it an offset
// from the code base), a raw offset (tests), or none (-1 in the template).
struct HandlerRef {
    std::string symbol;
    int32_t offset = -1;

    static HandlerRef None() { return {}; }
    static HandlerRef Named(std::string symbol) { return {std::move(symbol), -1}; }
    static HandlerRef Offset(int32_t offset) { return {"", offset}; }
};

struct EventBinding {
    int32_t event = 0;
    HandlerRef handler;
};

struct ComponentDescription {
    uint32_t typeCode = 0;
    std::string name;  // GBK, e.g. "选择框5"; empty for the window's own record
    int32_t left = 0, top = 0, width = 0, height = 0;
    std::string container;    // name of the containing component; empty: the window
    std::string handlerLink;  // name of the unit whose event table this one uses; empty: its own
    uint32_t stateFlags = 0;
    std::vector<EventBinding> events;
    std::string remark;
    std::string tag;
    std::vector<uint8_t> cursorData = {0, 0, 0, 0};  // the standard pointer
    int32_t tabOrder = 0;
    std::vector<uint8_t> propertyBlock;  // the type's own properties, written by the type's serializer
    uint32_t id = 0;          // 0: assigned by the writer
    uint32_t handlerLinkId = 0;  // a raw link, used when handlerLink is empty

    ComponentDescription& At(int32_t l, int32_t t, int32_t w, int32_t h) {
        left = l, top = t, width = w, height = h;
        return *this;
    }
    ComponentDescription& In(std::string containerName) { container = std::move(containerName); return *this; }
    ComponentDescription& Flags(uint32_t flags) { stateFlags = flags; return *this; }
    ComponentDescription& On(int32_t event, HandlerRef handler) {
        events.push_back({event, std::move(handler)});
        return *this;
    }
    ComponentDescription& On(int32_t event, const char* symbol) { return On(event, HandlerRef::Named(symbol)); }
    ComponentDescription& Properties(std::vector<uint8_t> block) { propertyBlock = std::move(block); return *this; }
    ComponentDescription& Tag(std::string text) { tag = std::move(text); return *this; }
    ComponentDescription& BorrowHandlersOf(std::string unitName) { handlerLink = std::move(unitName); return *this; }
};

inline ComponentDescription Component(uint32_t typeCode, std::string name) {
    ComponentDescription c;
    c.typeCode = typeCode;
    c.name = std::move(name);
    return c;
}

struct MenuItemDescription {
    std::string caption;  // "-" makes a separator
    uint32_t level = 0;   // 0 a menu of the bar, 1 an item of the menu above it
    uint32_t shortcut = 0;
    uint32_t menuFlags = 0;
    HandlerRef handler;
    uint32_t id = 0;  // 0: assigned by the writer
};

inline MenuItemDescription MenuItem(std::string caption, uint32_t level, HandlerRef handler = HandlerRef::None()) {
    MenuItemDescription item;
    item.caption = std::move(caption);
    item.level = level;
    item.handler = std::move(handler);
    return item;
}

struct WindowDescription {
    uint32_t windowId = 0;  // 0x52xxxxxx
    uint32_t headerA = 0;
    uint32_t headerB = 0;
    std::string text1, text2;
    ComponentDescription window;  // record 0; its type code is always the window's
    std::vector<MenuItemDescription> menu;
    std::vector<ComponentDescription> components;
};

}  // namespace ruvelto::image_data
