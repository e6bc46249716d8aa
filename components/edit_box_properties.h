// The property object of EditBox: its defaults, and its blob (version 2; version 1 ends after
// the text). Portable.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "components/property_fields.h"

namespace ruvelto::components {

enum EditInputMode : uint32_t {
    kInputNormal = 0,
    kInputReadOnly = 1,
    kInputPassword = 2,
    kInputIntegerText = 3,
    kInputDecimalText = 4,
    kInputByte = 5,
    kInputShort = 6,
    kInputInteger = 7,
    kInputLong = 8,
    kInputFloat = 9,
    kInputDouble = 10,
    kInputDateTime = 11,
};

enum EditSpinMode : uint32_t { kSpinNone = 0, kSpinAutomatic = 1, kSpinReporting = 2 };

struct EditBoxProperties {
    static constexpr uint32_t kVersion = 2;

    std::string text;
    uint32_t border = 1;
    uint32_t textColor = 0;
    uint32_t backColor = 0xFFFFFF;
    std::vector<uint8_t> font;
    uint32_t hideSelection = 1;
    int32_t maxLength = 0;
    uint32_t multiLine = 0;
    uint32_t scrollBars = 0;
    uint32_t alignment = 0;
    uint32_t inputMode = kInputNormal;
    uint16_t passwordChar = '*';
    uint32_t caseConversion = 0;
    uint32_t spinMode = kSpinNone;
    int32_t spinMin = 0;
    int32_t spinMax = 100;
    int32_t selStart = 0;
    int32_t selLength = 0;
    std::string dataSource;
    std::string dataField;

    bool Load(PropertyBlobReader& blob);
    void Save(PropertyBlobWriter& blob) const;
};

}  // namespace ruvelto::components
