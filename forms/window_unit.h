// Window units: each window of the program as its template describes it, kept from start-up to
// exit, and the list of them that start-up fills from the template segment.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "forms/component_table.h"

namespace ruvelto::forms {

struct WindowUnit {
    uint32_t windowId = 0;
    // Fields 1-4 of the window template, kept as they are.
    uint32_t headerA = 0;
    uint32_t headerB = 0;
    std::string text1, text2;
    // The live component table (record count and block) the engine reads and writes while running.
    uint32_t recordCount = 0;
    std::vector<uint8_t> table;
    // A copy of the live table taken when a load begins; restored at unload.
    std::vector<uint8_t> savedTable;
    uint32_t savedRecordCount = 0;

    ComponentTableView Table() { return {table.data(), recordCount}; }
};

// Window ids and their units in template order. Lookup compares ids in order; an invalid id is
// never found.
struct WindowUnitList {
    std::vector<uint32_t> ids;
    std::vector<std::unique_ptr<WindowUnit>> units;

    WindowUnit* Find(uint32_t windowId) const;
    void Append(std::unique_ptr<WindowUnit> unit);
    void Clear();
};

// The program's one list.
WindowUnitList& WindowUnits();

}  // namespace ruvelto::forms
