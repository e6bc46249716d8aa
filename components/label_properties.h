// The property objects of the three passive types: Label (version 2; note the stored order of
// FrameWidth before Border and of VerticalAlign before WordWrap), GroupBox (version 1) and
// ShapeBox (version 1, seven words in index order). Portable.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "components/property_fields.h"

namespace ruvelto::components {

struct LabelProperties {
    static constexpr uint32_t kVersion = 2;

    std::string caption = "\xB1\xEA\xC7\xA9";  // 标签
    uint32_t textEffect = 0;                     // 0 plain, 1 raised, 2 engraved, 3 shadowed
    uint32_t border = 0;                         // 0-5 as every border; 6 gradient frame
    int32_t frameWidth = 8;
    uint32_t frameColors[3] = {0x808080, 0xFFFFFF, 0x808080};
    std::vector<uint8_t> font;
    uint32_t textColor = 0;
    uint32_t backColor = kSystemColor;
    std::vector<uint8_t> picture;
    uint32_t pictureMode = 1;   // 0 top-left, 1 tiled, 2 centred and shrunk to fit
    uint32_t gradientMode = 0;  // 0 none, 1-8 directions
    uint32_t gradientColors[3] = {0x808080, 0xFFFFFF, 0x808080};
    uint32_t horizontalAlign = 0;
    uint32_t wordWrap = 0;
    uint32_t verticalAlign = 1;
    std::string dataSource;
    std::string dataField;

    bool Load(PropertyBlobReader& blob);
    void Save(PropertyBlobWriter& blob) const;
};

struct GroupBoxProperties {
    static constexpr uint32_t kVersion = 1;

    std::string caption;
    uint32_t horizontalAlign = 0;
    uint32_t textColor = 0;
    uint32_t backColor = kSystemColor;
    std::vector<uint8_t> font;

    bool Load(PropertyBlobReader& blob);
    void Save(PropertyBlobWriter& blob) const;
};

enum ShapeKind : uint32_t {
    kShapeRectangle = 0,
    kShapeSquare = 1,
    kShapeEllipse = 2,
    kShapeCircle = 3,
    kShapeRoundRectangle = 4,
    kShapeRoundSquare = 5,
    kShapeHorizontalLine = 6,
    kShapeVerticalLine = 7,
};

struct ShapeBoxProperties {
    static constexpr uint32_t kVersion = 1;

    uint32_t backColor = kSystemColor;
    uint32_t shape = kShapeRectangle;
    uint32_t effect = 0;     // 0 flat, 1 raised, 2 sunken
    uint32_t lineStyle = 1;  // 0 none, 1 solid, 2 dash, 3 dot, 4 dash-dot, 5 dash-dot-dot
    int32_t lineWidth = 1;
    uint32_t lineColor = 0;
    uint32_t fillColor = kSystemColor;  // not filled

    bool Load(PropertyBlobReader& blob);
    void Save(PropertyBlobWriter& blob) const;
};

}  // namespace ruvelto::components
