// The transparent label's property object (version 1): Effect, TextColor, HorizontalAlign,
// VerticalAlign and WordWrap words, the Font block and the Caption. Portable.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "components/property_fields.h"

namespace ruvelto::extui {

using components::PropertyBlobReader;
using components::PropertyBlobWriter;

struct TransLabelProperties {
    static constexpr uint32_t kVersion = 1;

    std::string caption = "\xCD\xB8\xC3\xF7\xB1\xEA\xC7\xA9";  // 透明标签
    uint32_t effect = 0;  // 0 plain, 1 white shadow, 2 embossed, 3 black shadow
    std::vector<uint8_t> font;
    uint32_t textColor = 0x000000;
    uint32_t horizontalAlign = 0;  // 0 left, 1 centre, 2 right
    uint32_t wordWrap = 0;
    uint32_t verticalAlign = 1;  // single-line mode only: 0 top, 1 middle, 2 bottom

    bool Load(PropertyBlobReader& blob);
    void Save(PropertyBlobWriter& blob) const;
};

}  // namespace ruvelto::extui
