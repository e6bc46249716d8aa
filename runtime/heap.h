// The runtime heap: one heap serves every value that crosses between application, runtime and
// libraries. Pointers into a registered read-only range (the program image's constants) are never
// freed, so a constant may stand wherever a heap text or byte set may.
#pragma once
#include <cstdint>

namespace ruvelto::heap {

// Never returns null: exhaustion raises the runtime error "分配 %d 字节内存失败!".
void* Allocate(uint32_t size);
// May return null.
void* AllocateUnchecked(uint32_t size);
// null -> Allocate; a pointer in a read-only range -> new block with min(size, range end - p) bytes
// copied, the old one untouched; otherwise resized in place or moved.
void* Reallocate(void* p, uint32_t size);
// null and read-only pointers are ignored.
void Free(void* p);

// The memory failure path: "分配 %d 字节内存失败!" with the byte count, as a runtime error.
[[noreturn]] void RaiseMemoryFailure(uint32_t size);

// Read-only ranges, end exclusive. Start-up registers the constant segment and exit clears the
// list, each while the program has one thread; between them any thread may allocate and free.
void AddReadOnlyRange(const void* begin, const void* end);
void ClearReadOnlyRanges();
// End of the first range holding p, or null.
const void* ReadOnlyEnd(const void* p);
inline bool IsReadOnly(const void* p) { return ReadOnlyEnd(p) != nullptr; }

// If the array in *variable lies in a read-only range, copy it to the heap and store the copy.
void MakeArrayWritable(uint32_t elementSize, void** variable);
// Frees text and byte-set elements (by element type), then the block.
void FreeArray(uint32_t elementType, void* array);

// Blocks handed out and blocks returned since start; tests use the difference to find leaks.
struct Counters {
    uint64_t allocated = 0;
    uint64_t freed = 0;
};
Counters GetCounters();

}  // namespace ruvelto::heap
