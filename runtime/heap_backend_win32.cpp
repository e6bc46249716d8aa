// The runtime heap is the process heap, so every party (runtime, libraries, application) that
// asks the runtime for memory gets blocks it can hand to any other party.
#include "runtime/heap_backend.h"

#include <windows.h>

namespace ruvelto::heap::backend {

void* Allocate(uint32_t size) { return HeapAlloc(GetProcessHeap(), 0, size); }

void* Reallocate(void* block, uint32_t size) { return HeapReAlloc(GetProcessHeap(), 0, block, size); }

void Release(void* block) { HeapFree(GetProcessHeap(), 0, block); }

}  // namespace ruvelto::heap::backend
