// Where runtime heap blocks really come from: the process heap in the Win32 build, the C heap in
// the native test build. Kept apart so the heap's rules stay portable.
#pragma once
#include <cstdint>

namespace ruvelto::heap::backend {

void* Allocate(uint32_t size);                 // null on failure
void* Reallocate(void* block, uint32_t size);  // null on failure, block untouched
void Release(void* block);

}  // namespace ruvelto::heap::backend
