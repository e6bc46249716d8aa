#include "forms/window_menu.h"

#include <vector>

#include "forms/unit_record.h"

namespace ruvelto::forms {
namespace {

struct Item {
    uint32_t index;  // table index
    uint32_t command;
    uint32_t level;
    uint32_t flags;
    uint32_t shortcut;
    std::string caption;
};

std::vector<Item> MenuItems(WindowUnit& unit) {
    std::vector<Item> items;
    uint32_t command = kFirstMenuCommand;
    for (uint32_t i = 0; i < unit.recordCount; ++i) {
        auto record = MenuRecordAt(unit, i);
        if (!record) continue;
        items.push_back({i, command++, record->Level(), record->Flags(), record->Shortcut(), record->Caption()});
    }
    return items;
}

// Fills `menu` with the items of `level` starting at `at`, and the deeper items below each.
void Fill(HMENU menu, const std::vector<Item>& items, size_t& at, uint32_t level) {
    while (at < items.size() && items[at].level >= level) {
        const Item& item = items[at++];
        const bool hasChildren = at < items.size() && items[at].level > item.level;
        if (item.flags & kMenuHidden) {
            // A hidden item takes the items below it along.
            while (at < items.size() && items[at].level > item.level) ++at;
            continue;
        }
        UINT flags = MF_STRING;
        if (item.flags & kMenuChecked) flags |= MF_CHECKED;
        if (item.flags & kMenuDisabled) flags |= MF_GRAYED;
        if (item.level == 0 || hasChildren) {
            HMENU popup = CreatePopupMenu();
            Fill(popup, items, at, item.level + 1);
            AppendMenuA(menu, flags | MF_POPUP, reinterpret_cast<UINT_PTR>(popup), item.caption.c_str());
        } else if (item.caption == "-") {
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
        } else {
            std::string text = item.caption;
            std::string name = ShortcutName(item.shortcut);
            if (!name.empty()) text += "\t" + name;
            AppendMenuA(menu, flags, item.command, text.c_str());
        }
    }
}

}  // namespace

std::string ShortcutName(uint32_t s) {
    static const char* const kF[] = {"F1", "F2", "F3", "F4", "F5", "F6", "F7", "F8", "F9", "F10", "F11", "F12"};
    if (s >= 1 && s <= 26) return std::string("Ctrl+") + char('A' + s - 1);
    if (s >= 27 && s <= 38) return kF[s - 27];
    if (s >= 39 && s <= 50) return std::string("Ctrl+") + kF[s - 39];
    if (s >= 51 && s <= 62) return std::string("Shift+") + kF[s - 51];
    if (s >= 63 && s <= 74) return std::string("Ctrl+Shift+") + kF[s - 63];
    if (s == 75) return "Ins";
    if (s == 76) return "Del";
    return {};
}

bool ShortcutKey(uint32_t s, BYTE& flags, WORD& key) {
    flags = FVIRTKEY | FNOINVERT;
    if (s >= 1 && s <= 26) flags |= FCONTROL, key = WORD('A' + s - 1);
    else if (s >= 27 && s <= 38) key = WORD(VK_F1 + s - 27);
    else if (s >= 39 && s <= 50) flags |= FCONTROL, key = WORD(VK_F1 + s - 39);
    else if (s >= 51 && s <= 62) flags |= FSHIFT, key = WORD(VK_F1 + s - 51);
    else if (s >= 63 && s <= 74) flags |= FCONTROL | FSHIFT, key = WORD(VK_F1 + s - 63);
    else if (s == 75) key = VK_INSERT;
    else if (s == 76) key = VK_DELETE;
    else return false;
    return true;
}

bool HasMenuRecords(WindowUnit& unit) {
    for (uint32_t i = 0; i < unit.recordCount; ++i)
        if (IsMenuRecord(unit, i)) return true;
    return false;
}

WindowMenu BuildWindowMenu(WindowUnit& unit) {
    std::vector<Item> items = MenuItems(unit);
    if (items.empty()) return {};
    WindowMenu result;
    result.menu = CreateMenu();
    size_t at = 0;
    while (at < items.size()) Fill(result.menu, items, at, 0);  // items deeper than a level-0 start are dropped by Fill's levels

    std::vector<ACCEL> table;
    for (const Item& item : items) {
        ACCEL accel{};
        if (ShortcutKey(item.shortcut, accel.fVirt, accel.key)) {
            accel.cmd = static_cast<WORD>(item.command);
            table.push_back(accel);
        }
    }
    if (!table.empty()) result.accelerators = CreateAcceleratorTableA(table.data(), static_cast<int>(table.size()));
    return result;
}

int32_t MenuRecordOfCommand(WindowUnit& unit, uint32_t commandId) {
    if (commandId < kFirstMenuCommand) return -1;
    uint32_t wanted = commandId - kFirstMenuCommand, seen = 0;
    for (uint32_t i = 0; i < unit.recordCount; ++i) {
        if (!IsMenuRecord(unit, i)) continue;
        if (seen++ == wanted) return static_cast<int32_t>(i);
    }
    return -1;
}

}  // namespace ruvelto::forms
