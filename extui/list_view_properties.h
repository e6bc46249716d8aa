// The list view's property object (version 1; version 0 reads the same way): twenty-four words
// in their stored order, then six counted blocks. Portable.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "components/property_fields.h"

namespace ruvelto::extui {

using components::PropertyBlobReader;
using components::PropertyBlobWriter;

enum ListViewType : uint32_t { kLargeIcons = 0, kSmallIcons = 1, kListOfNames = 2, kReport = 3 };

struct ListViewProperties {
    static constexpr uint32_t kVersion = 1;

    uint32_t border = 1;  // 0 none, 1 sunken, 2 raised, 3 thin, 4 sunken and raised, 5 single line
    uint32_t textColor = 0x000000;
    uint32_t textBackColor = 0xFFFFFF;
    uint32_t backColor = 0xFFFFFF;
    std::vector<uint8_t> font;
    uint32_t viewType = kLargeIcons;
    uint32_t iconAlign = 0;  // 0 top, 1 left
    uint32_t autoArrange = 1;
    uint32_t labelWrap = 1;
    std::vector<uint8_t> columns;  // column data (list_view_data.h)
    uint32_t hideHeader = 0;
    std::vector<uint8_t> headerImages;  // image list data (image_list_data.h)
    uint32_t headerClickable = 1;
    uint32_t fullRowSelect = 0;
    uint32_t gridLines = 0;
    uint32_t headerDragDrop = 0;
    std::vector<uint8_t> images;
    std::vector<uint8_t> stateImages;
    uint32_t hotTracking = 0;
    uint32_t handCursor = 1;
    uint32_t underlineCold = 1;
    uint32_t underlineHot = 1;
    uint32_t editLabels = 0;
    uint32_t sortOrder = 0;  // 0 none, 1 ascending, 2 descending
    uint32_t checkBoxes = 0;
    uint32_t flatScrollBars = 0;
    uint32_t singleSelection = 1;
    int32_t currentSelection = -1;
    uint32_t showSelectionAlways = 0;
    std::vector<uint8_t> initialItems;  // item data (list_view_data.h)

    // False for a version above 1 or a truncated stream; the object is then unusable.
    bool Load(PropertyBlobReader& blob);
    void Save(PropertyBlobWriter& blob) const;
};

// The clamps of property writes.
constexpr uint32_t ClampIconAlign(uint32_t value) { return static_cast<int32_t>(value) >= 1 ? 1 : 0; }
constexpr int32_t ClampSelection(int32_t value) { return value < -1 ? -1 : value; }

}  // namespace ruvelto::extui
