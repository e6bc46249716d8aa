// The type interfaces of the extended UI library's components: each maps a service code to the
// type's entry point (create, set, get all data, get, and the type's extra services).
#pragma once
#include <cstdint>

namespace ruvelto::extui {

void* StatusBarInterface(int32_t code);
void* ListViewInterface(int32_t code);
void* TransLabelInterface(int32_t code);

}  // namespace ruvelto::extui
