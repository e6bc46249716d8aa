// Addresses kept in 32-bit words. Value records, the program image and unit records hold
// addresses in 32-bit words; in a 64-bit build an address fits only when it lies below 4 GB,
// which the runtime's low memory guarantees for what it hands out. Portable: no windows.h.
#pragma once
#include <cstdint>

namespace ruvelto {

// The one way an address becomes a word. An address that does not fit in 32 bits is refused
// with the runtime's memory error (never cut to its low half); null is 0.
uint32_t AddressWord(const void* p);

// The address a word holds (zero-extended).
template <typename T = void>
T* WordAddress(uint32_t word) {
    return reinterpret_cast<T*>(static_cast<uintptr_t>(word));
}

// Whether an address fits in a word.
inline bool FitsWord(const void* p) { return reinterpret_cast<uintptr_t>(p) <= 0xFFFFFFFFu; }

// Window, cursor and other USER/GDI/kernel handles: Windows keeps their values within 32 bits in
// 64-bit processes too, so a handle is cut to its word and sign-extended back.
inline uint32_t HandleWord(const void* handle) {
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(handle));
}
template <typename H>
H WordHandle(uint32_t word) {
    return reinterpret_cast<H>(static_cast<intptr_t>(static_cast<int32_t>(word)));
}

// A code address as a word: in a 32-bit build the address itself; in a 64-bit build the address
// of a small jump stub in low memory that goes on to the function (one stub per function, made
// once). Null is 0.
uint32_t CodeWord(const void* function);
template <typename F>
uint32_t CodeWordOf(F* function) {
    return CodeWord(reinterpret_cast<const void*>(function));
}

// `count` consecutive code words `spacing` bytes apart, the i-th going on to base + spacing * i:
// a block of jump stubs keeps its spacing in low memory. In a 32-bit build, base itself.
uint32_t CodeStubs(const void* base, uint32_t count, uint32_t spacing);

// Where a code address leads: the function a stub of CodeWord or CodeStubs goes on to, or the
// address itself when it is no stub.
const void* CodeTarget(const void* code);

}  // namespace ruvelto
