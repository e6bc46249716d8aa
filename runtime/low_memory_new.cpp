// In a 64-bit build every C++ allocation of the program comes from low memory: component
// objects, pictures and whatever else may end up in a 32-bit word then always fits one. A 32-bit
// build keeps the C++ library's own allocator.
#include <cstdint>
#include <cstring>
#include <new>

#include "runtime/low_memory.h"

#if UINTPTR_MAX != 0xFFFFFFFFu

namespace {

void* AllocateOrThrow(size_t size) {
    for (;;) {
        if (void* p = ruvelto::low_memory::Allocate(size ? size : 1)) return p;
        std::new_handler handler = std::get_new_handler();
        if (!handler) throw std::bad_alloc();
        handler();
    }
}

// Alignments beyond 16 bytes: the block is over-allocated and the start of the real block is
// kept in the word before the aligned address.
void* AllocateAligned(size_t size, std::align_val_t alignment, bool nothrow) {
    const size_t a = static_cast<size_t>(alignment);
    if (a <= 16) return nothrow ? ruvelto::low_memory::Allocate(size ? size : 1) : AllocateOrThrow(size);
    void* raw = nothrow ? ruvelto::low_memory::Allocate(size + a + sizeof(void*)) : AllocateOrThrow(size + a + sizeof(void*));
    if (!raw) return nullptr;
    uintptr_t aligned = (reinterpret_cast<uintptr_t>(raw) + sizeof(void*) + a - 1) & ~(uintptr_t{a} - 1);
    std::memcpy(reinterpret_cast<void*>(aligned - sizeof(void*)), &raw, sizeof raw);
    return reinterpret_cast<void*>(aligned);
}

void ReleaseAligned(void* p, std::align_val_t alignment) {
    if (!p) return;
    if (static_cast<size_t>(alignment) <= 16) return ruvelto::low_memory::Release(p);
    void* raw;
    std::memcpy(&raw, static_cast<uint8_t*>(p) - sizeof(void*), sizeof raw);
    ruvelto::low_memory::Release(raw);
}

}  // namespace

void* operator new(size_t size) { return AllocateOrThrow(size); }
void* operator new[](size_t size) { return AllocateOrThrow(size); }
void* operator new(size_t size, const std::nothrow_t&) noexcept { return ruvelto::low_memory::Allocate(size ? size : 1); }
void* operator new[](size_t size, const std::nothrow_t&) noexcept { return ruvelto::low_memory::Allocate(size ? size : 1); }
void* operator new(size_t size, std::align_val_t a) { return AllocateAligned(size, a, false); }
void* operator new[](size_t size, std::align_val_t a) { return AllocateAligned(size, a, false); }
void* operator new(size_t size, std::align_val_t a, const std::nothrow_t&) noexcept { return AllocateAligned(size, a, true); }
void* operator new[](size_t size, std::align_val_t a, const std::nothrow_t&) noexcept { return AllocateAligned(size, a, true); }

void operator delete(void* p) noexcept { ruvelto::low_memory::Release(p); }
void operator delete[](void* p) noexcept { ruvelto::low_memory::Release(p); }
void operator delete(void* p, size_t) noexcept { ruvelto::low_memory::Release(p); }
void operator delete[](void* p, size_t) noexcept { ruvelto::low_memory::Release(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { ruvelto::low_memory::Release(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { ruvelto::low_memory::Release(p); }
void operator delete(void* p, std::align_val_t a) noexcept { ReleaseAligned(p, a); }
void operator delete[](void* p, std::align_val_t a) noexcept { ReleaseAligned(p, a); }
void operator delete(void* p, size_t, std::align_val_t a) noexcept { ReleaseAligned(p, a); }
void operator delete[](void* p, size_t, std::align_val_t a) noexcept { ReleaseAligned(p, a); }
void operator delete(void* p, std::align_val_t a, const std::nothrow_t&) noexcept { ReleaseAligned(p, a); }
void operator delete[](void* p, std::align_val_t a, const std::nothrow_t&) noexcept { ReleaseAligned(p, a); }

#endif
