// Type descriptors as the forms engine uses them: flags, property types and type interface
// services of a type code, looked up through the program image.
#pragma once
#include <cstdint>

#include "runtime/program_image.h"

namespace ruvelto::forms {

// Null when the image has no such type.
const runtime::TypeDescriptor* TypeOf(uint32_t typeCode);
// 0 for an unknown type.
uint32_t TypeFlagsOf(uint32_t typeCode);
// The entry point of a type interface service, or null.
void* TypeService(uint32_t typeCode, int32_t code);
// The property type (1000-1024) of property `index`, or 0.
uint32_t PropertyTypeOf(uint32_t typeCode, int32_t index);

enum PropertyType : uint32_t {
    kPropInteger = 1000,
    kPropInteger2 = 1001,
    kPropReal = 1002,
    kPropLogical = 1003,
    kPropDateTime = 1004,
    kPropText = 1005,
    kPropChoice = 1006,
    kPropChoiceText = 1007,
    kPropChoiceText2 = 1008,
    kPropPicture = 1009,
    kPropIcon = 1010,
    kPropCursor = 1011,
    kPropSound = 1012,
    kPropFont = 1013,
    kPropColor = 1014,
    kPropColorTransparent = 1015,
    kPropFileName = 1016,
    kPropBackColor = 1017,
    kPropDataSource = 1018,
    kPropDataField = 1020,
    kPropImageList = 1023,
    kPropCustomData = 1024,
};

}  // namespace ruvelto::forms
