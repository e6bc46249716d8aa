// Code addresses as words. A 64-bit program's code lies above 4 GB, so a word names a 16-byte
// stub below 2 GB that jumps on to the function: `movabs r11, target; jmp r11`. r11 carries
// no argument in either 64-bit calling convention, so a stub fits every function, whatever its
// arguments. Each function gets one stub, made on first use and kept for the process's life.
#include <windows.h>

#include <cstring>
#include <unordered_map>

#include "runtime/address_word.h"
#include "runtime/heap.h"
#include "runtime/low_memory.h"

namespace ruvelto {

#if UINTPTR_MAX == 0xFFFFFFFFu

uint32_t CodeWord(const void* function) { return AddressWord(function); }
uint32_t CodeStubs(const void* base, uint32_t, uint32_t) { return AddressWord(base); }
const void* CodeTarget(const void* code) { return code; }

#else

namespace {

constexpr size_t kStubSize = 16;
constexpr size_t kStubArea = 1 << 20;  // 65,536 stubs
uint8_t* ReserveStubArea() {
    return static_cast<uint8_t*>(
        low_memory::ReserveBelowTwoGigabytes(kStubArea, MEM_RESERVE | MEM_COMMIT, PAGE_EXECUTE_READWRITE));
}

struct StubTable {
    SRWLOCK lock = SRWLOCK_INIT;
    uint8_t* area = nullptr;
    size_t used = 0;
    std::unordered_map<const void*, uint32_t> words;
};

StubTable& Stubs() {
    static StubTable table;
    return table;
}

void WriteStub(uint8_t* stub, uintptr_t target) {
    uint8_t code[kStubSize] = {0x49, 0xBB};  // movabs r11, imm64
    const uint64_t address = target;
    std::memcpy(code + 2, &address, 8);
    code[10] = 0x41, code[11] = 0xFF, code[12] = 0xE3;  // jmp r11
    code[13] = code[14] = code[15] = 0xCC;
    std::memcpy(stub, code, kStubSize);
}

// `count` fresh stubs side by side; the caller holds the lock. Raises the memory error when the
// stub area is full.
uint8_t* NewStubs(StubTable& t, size_t count) {
    if (!t.area) t.area = ReserveStubArea();
    if (!t.area || count > (kStubArea - t.used) / kStubSize) {
        ReleaseSRWLockExclusive(&t.lock);
        heap::RaiseMemoryFailure(static_cast<uint32_t>(count * kStubSize));
    }
    uint8_t* stubs = t.area + t.used;
    t.used += count * kStubSize;
    return stubs;
}

}  // namespace

uint32_t CodeWord(const void* function) {
    if (!function) return 0;
    if (FitsWord(function)) return AddressWord(function);
    StubTable& t = Stubs();
    AcquireSRWLockExclusive(&t.lock);
    auto found = t.words.find(function);
    if (found != t.words.end()) {
        uint32_t word = found->second;
        ReleaseSRWLockExclusive(&t.lock);
        return word;
    }
    uint8_t* stub = NewStubs(t, 1);
    WriteStub(stub, reinterpret_cast<uintptr_t>(function));
    FlushInstructionCache(GetCurrentProcess(), stub, kStubSize);
    const uint32_t word = AddressWord(stub);
    t.words.emplace(function, word);
    ReleaseSRWLockExclusive(&t.lock);
    return word;
}

const void* CodeTarget(const void* code) {
    StubTable& t = Stubs();
    AcquireSRWLockShared(&t.lock);
    const auto* p = static_cast<const uint8_t*>(code);
    const bool stub = t.area && p >= t.area && p + kStubSize <= t.area + t.used && p[0] == 0x49 && p[1] == 0xBB;
    ReleaseSRWLockShared(&t.lock);
    if (!stub) return code;
    uint64_t target;
    std::memcpy(&target, p + 2, 8);
    return reinterpret_cast<const void*>(static_cast<uintptr_t>(target));
}

uint32_t CodeStubs(const void* base, uint32_t count, uint32_t spacing) {
    if (!base) return 0;
    if (FitsWord(static_cast<const uint8_t*>(base) + uint64_t{count} * spacing)) return AddressWord(base);
    StubTable& t = Stubs();
    AcquireSRWLockExclusive(&t.lock);
    // Stubs are 16 bytes; a wider spacing leaves the bytes between them as int3.
    const size_t slots = (size_t{spacing} + kStubSize - 1) / kStubSize;
    uint8_t* stubs = NewStubs(t, count * slots);
    std::memset(stubs, 0xCC, count * slots * kStubSize);
    for (uint32_t i = 0; i < count; ++i)
        WriteStub(stubs + size_t{i} * spacing, reinterpret_cast<uintptr_t>(base) + size_t{i} * spacing);
    FlushInstructionCache(GetCurrentProcess(), stubs, count * slots * kStubSize);
    ReleaseSRWLockExclusive(&t.lock);
    return AddressWord(stubs);
}

#endif

}  // namespace ruvelto
