// A window's menu bar and accelerator table made from the menu-item records of its component
// table, and the menu shortcuts: index 1-76 to display name and accelerator key.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

namespace ruvelto::forms {

struct WindowUnit;

constexpr uint32_t kFirstMenuCommand = 20000;

struct WindowMenu {
    HMENU menu = nullptr;          // null when the window has no menu records
    HACCEL accelerators = nullptr;  // null when no item has a shortcut
};

bool HasMenuRecords(WindowUnit& unit);
// Command ids run from 20000 over the menu records in table order.
WindowMenu BuildWindowMenu(WindowUnit& unit);
// The table index of the menu record a command id names, or -1.
int32_t MenuRecordOfCommand(WindowUnit& unit, uint32_t commandId);

// "Ctrl+A" ... "Ctrl+Z", "F1" ..., "Ctrl+F1" ..., "Shift+F1" ..., "Ctrl+Shift+F1" ..., "Ins", "Del";
// empty for 0 and any index outside 1-76.
std::string ShortcutName(uint32_t shortcut);
// FVIRTKEY | FNOINVERT with FCONTROL/FSHIFT and the virtual key; false for no shortcut.
bool ShortcutKey(uint32_t shortcut, BYTE& flags, WORD& key);

}  // namespace ruvelto::forms
