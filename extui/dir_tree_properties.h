// The property object of DirTree: its own properties from index 8 with their defaults, and the
// property data a window template stores for it. Portable.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "forms/property_blob.h"

namespace ruvelto::extui {

using forms::PropertyBlobReader;
using forms::PropertyBlobWriter;

// The type's own properties by index minus 8.
enum DirTreeProperty : int32_t {
    kTreeBorder,
    kTreeTextColor,
    kTreeBackColor,
    kTreeHasButtons,
    kTreeHasLines,
    kTreeLinesAtRoot,
    kTreeShowSelectionAlways,
    kTreeItemHeight,
    kTreeShowFiles,
    kTreeFont,
    kTreeCurrentPath,
    kTreeContextMenu,
    kTreeHotTracking,
    kTreeRootAtComputer,
    kTreeFileSystemOnly,
};

constexpr uint32_t kDirTreeFontSize = 60;

// The default font record: 9 point "宋体", weight 400, character set 134 (GB2312); its height is
// -(9 × pixelsPerInch ÷ 72) rounded as MulDiv rounds.
std::vector<uint8_t> DefaultDirTreeFont(int32_t pixelsPerInch);

struct DirTreeProperties {
    uint32_t border = 1;
    uint32_t textColor = 0x000000;
    uint32_t backColor = 0xFFFFFF;
    uint32_t hasButtons = 1;
    uint32_t hasLines = 1;
    uint32_t linesAtRoot = 1;
    uint32_t showSelectionAlways = 1;
    int32_t itemHeight = -1;  // -1: the platform's default height
    uint32_t showFiles = 0;
    uint32_t contextMenu = 0;
    uint32_t hotTracking = 0;
    uint32_t rootAtComputer = 0;
    uint32_t fileSystemOnly = 0;
    std::vector<uint8_t> font = DefaultDirTreeFont(96);
    std::string currentPath;

    // Version 0 or 1; the thirteen words, the font (a byte count and at most 60 bytes of it
    // kept, the rest skipped; a count of 0 keeps the default font), then CurrentPath. False when
    // the version is newer or the data ends early.
    bool Load(PropertyBlobReader& blob);
    // Always version 1; the font record as held (60 bytes unless a template gave a shorter one).
    void Save(PropertyBlobWriter& blob) const;
};

}  // namespace ruvelto::extui
