#include "forms/unit_types.h"

#include "runtime/runtime_state.h"

namespace ruvelto::forms {

const runtime::TypeDescriptor* TypeOf(uint32_t typeCode) {
    const runtime::ProgramImageHeader* image = runtime::State().image;
    return image ? runtime::FindTypeDescriptor(*image, typeCode) : nullptr;
}

uint32_t TypeFlagsOf(uint32_t typeCode) {
    const runtime::TypeDescriptor* type = TypeOf(typeCode);
    return type ? type->flags : 0;
}

void* TypeService(uint32_t typeCode, int32_t code) {
    const runtime::TypeDescriptor* type = TypeOf(typeCode);
    return type && type->typeInterface ? type->typeInterface(code) : nullptr;
}

uint32_t PropertyTypeOf(uint32_t typeCode, int32_t index) {
    const runtime::TypeDescriptor* type = TypeOf(typeCode);
    if (!type || index < 0 || static_cast<uint32_t>(index) >= type->propertyCount || !type->properties) return 0;
    return type->properties[index].typeAndState & 0xFFFF;
}

}  // namespace ruvelto::forms
