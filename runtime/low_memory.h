// Low memory: blocks whose addresses fit in 32-bit words. A 32-bit process has nothing else, so
// there these are plain process-heap blocks. A 64-bit process reserves one large region below
// 4 GB at first use and serves every block from it; the program's C++ allocations (component
// objects, pictures, containers) come from it too, so whatever the runtime keeps in a word lies
// below 4 GB.
#pragma once
#include <cstddef>
#include <cstdint>

namespace ruvelto::low_memory {

// 16-byte aligned; null when the region is exhausted or the size is impossible.
void* Allocate(size_t size);
// null -> Allocate; on failure null and the block untouched; contents kept up to the smaller size.
void* Reallocate(void* block, size_t size);
// null is ignored.
void Release(void* block);

// The size asked for when the block was (re)allocated.
size_t SizeOf(const void* block);

// Whether the address lies in low memory: in the region of a 64-bit build; a process-heap block
// in a 32-bit one.
bool Contains(const void* p);

// 64-bit builds: `size` bytes of address space below 2 GB (VirtualAlloc's type and protection),
// or null. The region is reserved with it, and so is the code-stub area.
void* ReserveBelowTwoGigabytes(size_t size, unsigned long type, unsigned long protection);

// What the region holds now, for tests and benchmarks.
struct Usage {
    uint64_t reserved = 0;   // bytes of address space below 4 GB set aside
    uint64_t inUse = 0;      // bytes in live blocks, headers included
    uint64_t blocks = 0;     // live blocks
};
Usage CurrentUsage();

}  // namespace ruvelto::low_memory
