// Native test build: the C heap stands in for the process heap.
#include <cstdlib>

#include "runtime/heap_backend.h"

namespace ruvelto::heap::backend {

// A zero-byte request still yields a distinct block, as the process heap does.
void* Allocate(uint32_t size) { return std::malloc(size ? size : 1); }

void* Reallocate(void* block, uint32_t size) { return std::realloc(block, size ? size : 1); }

void Release(void* block) { std::free(block); }

}  // namespace ruvelto::heap::backend
