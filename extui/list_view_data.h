// The list view's column data and item data: sequences of little-endian entries ending in
// zero-terminated GBK texts. Reading stops at the first entry that is cut short, so damaged data
// loses its tail, never more. Portable.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace ruvelto::extui {

enum ColumnAlign : uint32_t { kAlignLeft = 0, kAlignCenter = 1, kAlignRight = 2 };

struct ListColumn {
    bool imageOnRight = false;
    int32_t image = -1;  // index in HeaderImages; -1 none
    uint32_t align = kAlignLeft;
    int32_t width = 0;
    std::string title;
};

// One entry of the item data: a new row, or the next column of the row before it.
struct ListItemEntry {
    bool newRow = true;
    int32_t image = -1;       // index in Images; -1 (or outside the list) none
    int32_t stateImage = -1;  // index in the state image list; -1 (or outside it) none
    int32_t indent = 0;       // new rows only
    uint32_t data = 0;        // new rows only
    std::string text;
    std::string tip;  // new rows only
};

std::vector<ListColumn> ReadColumns(const std::vector<uint8_t>& data);
std::vector<uint8_t> ColumnData(const std::vector<ListColumn>& columns);

std::vector<ListItemEntry> ReadItems(const std::vector<uint8_t>& data);
std::vector<uint8_t> ItemData(const std::vector<ListItemEntry>& entries);

// A row of texts as item data: the first text starts the row, the others fill its columns.
void AppendRow(std::vector<ListItemEntry>& entries, const std::vector<std::string>& texts, const std::string& tip = {});

}  // namespace ruvelto::extui
