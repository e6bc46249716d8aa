// The runtime heap is the program's low memory (the process heap in a 32-bit build), so every
// party (runtime, libraries, application) that asks the runtime for memory gets blocks it can
// hand to any other party, and every block's address fits a word.
#include "runtime/heap_backend.h"
#include "runtime/low_memory.h"

namespace ruvelto::heap::backend {

void* Allocate(uint32_t size) { return low_memory::Allocate(size); }

void* Reallocate(void* block, uint32_t size) { return low_memory::Reallocate(block, size); }

void Release(void* block) { low_memory::Release(block); }

}  // namespace ruvelto::heap::backend
