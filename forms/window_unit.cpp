#include "forms/window_unit.h"

namespace ruvelto::forms {

WindowUnit* WindowUnitList::Find(uint32_t windowId) const {
    if (!ValidUnitId(windowId)) return nullptr;
    for (size_t i = 0; i < ids.size(); ++i)
        if (ids[i] == windowId) return units[i].get();
    return nullptr;
}

void WindowUnitList::Append(std::unique_ptr<WindowUnit> unit) {
    ids.push_back(unit->windowId);
    units.push_back(std::move(unit));
}

void WindowUnitList::Clear() {
    ids.clear();
    units.clear();
}

WindowUnitList& WindowUnits() {
    static WindowUnitList list;
    return list;
}

}  // namespace ruvelto::forms
