#include "image-data/component_type.h"

#include <utility>

namespace ruvelto::image_data {

namespace {
constexpr uint16_t kCommon = 0xE000, kOwn = 0x8000;
}

std::vector<PropertyDescription> CommonProperties() {
    using namespace property_types;
    return {{kInteger, kCommon}, {kInteger, kCommon}, {kInteger, kCommon}, {kInteger, kCommon},
            {kText, kCommon},    {kLogical, kCommon}, {kLogical, kCommon}, {kCursor, kCommon}};
}

TypeDescription ComponentType(const char* chinese, const char* english, uint32_t flags, Symbol typeInterface,
                              std::initializer_list<uint16_t> ownProperties) {
    TypeDescription type;
    type.chineseName = chinese;
    type.englishName = english;
    type.flags = flags;
    type.properties = CommonProperties();
    for (uint16_t p : ownProperties) type.properties.push_back({p, kOwn});
    type.typeInterface = std::move(typeInterface);
    return type;
}

}  // namespace ruvelto::image_data
