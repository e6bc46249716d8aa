// What every component type in the program image shares: the eight common properties ahead of
// the type's own, and the property type codes the type lists are written with.
#pragma once
#include <cstdint>
#include <initializer_list>
#include <vector>

#include "image-data/program_image_description.h"

namespace ruvelto::image_data {

namespace property_types {
enum : uint16_t {
    kInteger = 1000,
    kLogical = 1003,
    kText = 1005,
    kChoice = 1006,
    kPicture = 1009,
    kCursor = 1011,
    kFont = 1013,
    kColor = 1014,
    kColorOrNone = 1015,
    kBackColor = 1017,
    kDataSource = 1018,
    kDataField = 1020,
    kImageList = 1023,
    kCustomData = 1024,
};
}  // namespace property_types

// Left, Top, Width, Height (integer), Tag (text), Visible, Disabled (logical), Cursor: every
// window component type and the window itself start with these.
std::vector<PropertyDescription> CommonProperties();

// A component type: names (chinese in GBK), type flags, the common properties followed by the
// type's own property types, and its type interface.
TypeDescription ComponentType(const char* chinese, const char* english, uint32_t flags, Symbol typeInterface,
                              std::initializer_list<uint16_t> ownProperties);

}  // namespace ruvelto::image_data
