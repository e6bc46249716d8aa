// The status bar's property object (version 1): BackColor, Alignment and SizeGrip words, then the
// Font, PanelImages and Panels blocks; and the panel data inside the Panels block. Portable.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "components/property_fields.h"

namespace ruvelto::extui {

using components::PropertyBlobReader;
using components::PropertyBlobWriter;

enum StatusBarAlignment : uint32_t { kDockBottom = 0, kDockTop = 1, kFree = 2 };

struct StatusBarProperties {
    static constexpr uint32_t kVersion = 1;

    uint32_t backColor = components::kSystemColor;
    uint32_t alignment = kDockBottom;
    uint32_t sizeGrip = 0;
    std::vector<uint8_t> font;
    std::vector<uint8_t> panelImages;  // image list data
    std::vector<uint8_t> panels;       // panel data

    bool Load(PropertyBlobReader& blob);
    void Save(PropertyBlobWriter& blob) const;
};

struct StatusPanel {
    int32_t width = -1;      // pixels; -1 reaches to the right edge
    uint32_t styleBits = 0;  // SBT_ drawing flags, passed with the text
    int32_t icon = -1;       // index in PanelImages; -1 none
    std::string text;
    std::string tip;
};

// A panel count, then the panels. A count larger than the data holds reads the panels that are
// whole; a count that the data cannot hold is never allocated for.
std::vector<StatusPanel> ReadPanels(const std::vector<uint8_t>& data);
std::vector<uint8_t> PanelData(const std::vector<StatusPanel>& panels);

// The right edges of the panels: running sums of the widths, until a width of -1 gives -1 and
// ends the sums (later panels keep 0).
std::vector<int32_t> PanelEdges(const std::vector<StatusPanel>& panels);

}  // namespace ruvelto::extui
