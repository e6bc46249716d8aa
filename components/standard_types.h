// The type interfaces of the core library's standard components: each maps a service code to
// the type's entry point (create, set, get all data, get, and the type's extra services).
#pragma once
#include <cstdint>

namespace ruvelto::components {

void* ButtonInterface(int32_t code);
void* CheckBoxInterface(int32_t code);
void* RadioBoxInterface(int32_t code);
void* EditBoxInterface(int32_t code);
void* LabelInterface(int32_t code);
void* GroupBoxInterface(int32_t code);
void* ShapeBoxInterface(int32_t code);
void* ProcessBarInterface(int32_t code);
void* SliderBarInterface(int32_t code);
void* HScrollBarInterface(int32_t code);

}  // namespace ruvelto::components
