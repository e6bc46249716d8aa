// The runtime heap's rules over a plain block allocator: the read-only range list that makes
// image constants safe to free, the memory failure path, and the array helpers.
#include "runtime/heap.h"

#include <atomic>
#include <cstdio>
#include <cstring>
#include <vector>

#include "runtime/address_word.h"
#include "runtime/heap_backend.h"
#include "runtime/runtime_error.h"
#include "runtime/value_record.h"

namespace ruvelto::heap {
namespace {

struct Range {
    const uint8_t* begin;
    const uint8_t* end;
};

std::vector<Range>& Ranges() {
    static std::vector<Range> ranges;
    return ranges;
}

// Counted from every thread that allocates (the conversion run's workers too).
std::atomic<uint64_t> allocatedCount{0};
std::atomic<uint64_t> freedCount{0};

}  // namespace

void RaiseMemoryFailure(uint32_t size) {
    char message[100];
    std::snprintf(message, sizeof message, "\xB7\xD6\xC5\xE4 %d \xD7\xD6\xBD\xDA\xC4\xDA\xB4\xE6\xCA\xA7\xB0\xDC!",
                  static_cast<int>(size));  // "分配 %d 字节内存失败!"
    RaiseRuntimeError(message, 0);
}

void* AllocateUnchecked(uint32_t size) {
    void* block = backend::Allocate(size);
    if (block) allocatedCount.fetch_add(1, std::memory_order_relaxed);
    return block;
}

void* Allocate(uint32_t size) {
    void* block = AllocateUnchecked(size);
    if (!block) RaiseMemoryFailure(size);
    return block;
}

void* Reallocate(void* p, uint32_t size) {
    if (!p) return Allocate(size);
    if (const void* end = ReadOnlyEnd(p)) {
        // A constant is never resized: the caller gets a heap copy of what lies before the
        // segment's end, and the constant stays as it is.
        void* block = Allocate(size);
        uint32_t available = static_cast<uint32_t>(static_cast<const uint8_t*>(end) - static_cast<uint8_t*>(p));
        std::memcpy(block, p, size < available ? size : available);
        return block;
    }
    void* block = backend::Reallocate(p, size);
    if (!block) RaiseMemoryFailure(size);
    return block;
}

void Free(void* p) {
    if (!p || IsReadOnly(p)) return;
    backend::Release(p);
    freedCount.fetch_add(1, std::memory_order_relaxed);
}

void AddReadOnlyRange(const void* begin, const void* end) {
    Ranges().push_back({static_cast<const uint8_t*>(begin), static_cast<const uint8_t*>(end)});
}

void ClearReadOnlyRanges() { Ranges().clear(); }

const void* ReadOnlyEnd(const void* p) {
    auto* q = static_cast<const uint8_t*>(p);
    for (const Range& r : Ranges())
        if (r.begin <= q && q < r.end) return r.end;
    return nullptr;
}

void MakeArrayWritable(uint32_t elementSize, void** variable) {
    if (!variable || !*variable) return;
    const void* end = ReadOnlyEnd(*variable);
    if (!end) return;
    auto* source = static_cast<const uint8_t*>(*variable);
    uint32_t available = static_cast<uint32_t>(static_cast<const uint8_t*>(end) - source);
    // Sizes are read only as far as the constant reaches: a block that claims more than the
    // segment holds is malformed and is copied only up to the segment's end.
    uint32_t dimensions = 0;
    if (available >= 4) std::memcpy(&dimensions, source, 4);
    uint64_t count = dimensions ? 1 : 0;
    for (uint64_t i = 0; i < dimensions; ++i) {
        uint32_t n = 0;
        if (4 + 4 * i + 4 <= available) std::memcpy(&n, source + 4 + 4 * i, 4);
        count *= n;
        if (count == 0) break;
        if (count > available) count = available;
    }
    uint64_t size = 4 + 4ull * dimensions + count * elementSize;
    if (size > available) size = available;
    auto* copy = static_cast<uint8_t*>(Allocate(static_cast<uint32_t>(size)));
    std::memcpy(copy, source, static_cast<size_t>(size));
    *variable = copy;
}

void FreeArray(uint32_t elementType, void* array) {
    if (!array) return;
    uint32_t kind = elementType & ~kArrayBit;
    if ((kind == kTypeText || kind == kTypeBytes) && !IsReadOnly(array)) {
        auto* words = static_cast<uint32_t*>(array);
        uint32_t dimensions = words[0];
        uint64_t count = dimensions ? 1 : 0;
        for (uint32_t i = 0; i < dimensions && count; ++i) count *= words[1 + i];
        // Elements are addresses in 32-bit words; each one is owned by the array.
        const uint32_t* elements = words + 1 + dimensions;
        for (uint64_t i = 0; i < count; ++i) Free(WordAddress(elements[i]));
    }
    Free(array);
}

Counters GetCounters() {
    Counters counters;
    counters.allocated = allocatedCount.load(std::memory_order_relaxed);
    counters.freed = freedCount.load(std::memory_order_relaxed);
    return counters;
}

}  // namespace ruvelto::heap
