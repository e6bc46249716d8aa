// The property objects of the three push-style types: Button, and CheckBox with RadioBox (one
// layout; RadioBox stops after its caption and has no binding texts). Each starts with its
// defaults, loads a property blob over them and writes its blob back. Portable.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "components/property_fields.h"

namespace ruvelto::components {

struct ButtonProperties {
    static constexpr uint32_t kVersion = 1;

    std::vector<uint8_t> picture;
    uint32_t buttonType = 0;  // 1: default push button
    std::string caption = "\xB0\xB4\xC5\xA5";  // 按钮
    uint32_t horizontalAlign = 1;
    uint32_t verticalAlign = 1;
    std::vector<uint8_t> font;

    // False for a newer version or truncated data; the object is then unusable.
    bool Load(PropertyBlobReader& blob);
    void Save(PropertyBlobWriter& blob) const;
};

enum class TickKind { kCheckBox, kRadioBox };

struct CheckBoxProperties {
    static constexpr uint32_t kCheckBoxVersion = 2;
    static constexpr uint32_t kRadioBoxVersion = 1;

    std::vector<uint8_t> picture;
    uint32_t pushLike = 0;
    uint32_t flat = 0;
    std::string caption;
    uint32_t textOnLeft = 0;
    uint32_t horizontalAlign = 0;
    uint32_t verticalAlign = 1;
    uint32_t textColor = 0;
    uint32_t backColor = kSystemColor;
    std::vector<uint8_t> font;
    uint32_t checked = 0;
    std::string dataSource;  // CheckBox only
    std::string dataField;   // CheckBox only

    // The defaults of each kind differ only in the caption: "选择框" or "单选框".
    static CheckBoxProperties Defaults(TickKind kind);
    bool Load(PropertyBlobReader& blob, TickKind kind);
    // A CheckBox is always written as version 2, a RadioBox as version 1.
    void Save(PropertyBlobWriter& blob, TickKind kind) const;
};

}  // namespace ruvelto::components
