// Memory the library hands to the program (byte sets, texts) comes from the runtime through its
// service callback, which arrives with notify message 1.
#pragma once
#include <cstdint>

#include "runtime/value_record.h"

namespace ruvelto::image {

void SetRuntimeServices(ServiceCallback services);
ServiceCallback RuntimeServices();
// Service 2024 (unchecked: 0 on failure, and 0 before the runtime has called in).
void* RuntimeAllocate(uint32_t size);
// Service 2025; null is ignored.
void RuntimeFree(void* block);
// A new byte set holding a copy of the bytes, or 0 for no bytes or no memory.
ByteSetHeader* NewByteSet(const uint8_t* bytes, uint32_t length);

}  // namespace ruvelto::image
