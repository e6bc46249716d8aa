// Low memory on Win32. In a 32-bit process every address fits a word, so blocks are the process
// heap's. In a 64-bit process one region below 2 GB is reserved at first use and carved by a
// two-level segregated-fit allocator (constant-time allocate and release, neighbours merged on
// release); pages are committed as blocks are carved and large released ranges are decommitted,
// so the region costs address space, not memory. Below 2 GB rather than 4: a word that reaches
// Windows as a pointer-sized argument is widened with its sign, as handles are, and an address
// below 2 GB comes out the same either way.
#include "runtime/low_memory.h"

#include <windows.h>

#include <cstring>
#include <initializer_list>

namespace ruvelto::low_memory {

#if UINTPTR_MAX == 0xFFFFFFFFu

void* Allocate(size_t size) { return HeapAlloc(GetProcessHeap(), 0, size ? size : 1); }
void* Reallocate(void* block, size_t size) {
    if (!block) return Allocate(size);
    return HeapReAlloc(GetProcessHeap(), 0, block, size ? size : 1);
}
void Release(void* block) {
    if (block) HeapFree(GetProcessHeap(), 0, block);
}
bool Contains(const void* p) { return p && HeapValidate(GetProcessHeap(), 0, p); }
size_t SizeOf(const void* block) { return HeapSize(GetProcessHeap(), 0, block); }
Usage CurrentUsage() { return {}; }

#else

namespace {

constexpr size_t kPage = 4096;
constexpr size_t kAlign = 16;
constexpr size_t kHeader = 16;           // previous-block pointer and size word
constexpr size_t kMinimumBlock = 32;     // header and the two free-list links
constexpr size_t kDecommitAbove = 256 * 1024;

constexpr unsigned kSecondLevelBits = 4;
constexpr unsigned kSecondLevels = 1u << kSecondLevelBits;
constexpr unsigned kFirstLevelShift = kSecondLevelBits + 4;  // sizes below 256 share level 0
constexpr size_t kSmallBlock = size_t{1} << kFirstLevelShift;
constexpr unsigned kFirstLevels = 34 - kFirstLevelShift + 1;

constexpr size_t kFree = 1;
constexpr size_t kPreviousFree = 2;
constexpr size_t kMaybeDecommitted = 4;  // free block whose inside may have pages decommitted
constexpr size_t kFlags = kFree | kPreviousFree | kMaybeDecommitted;
// The size word: flags in the low 4 bits, the block size (a multiple of 16) up to bit 39, and in
// the bits above, how many bytes of a used block lie past what was asked for.
constexpr size_t kSizeMask = ((size_t{1} << 40) - 1) & ~size_t{15};
constexpr unsigned kSlackShift = 40;

struct Block {
    Block* previous;  // the block before in memory; valid only while that one is free
    size_t sizeAndFlags;
    Block* nextFree;  // free blocks only, in the payload
    Block* previousFree;

    size_t Size() const { return sizeAndFlags & kSizeMask; }
    size_t Requested() const { return Size() - kHeader - (sizeAndFlags >> kSlackShift); }
    void SetRequested(size_t n) {
        sizeAndFlags = (sizeAndFlags & ((size_t{1} << kSlackShift) - 1)) | ((Size() - kHeader - n) << kSlackShift);
    }
    bool Has(size_t flag) const { return (sizeAndFlags & flag) != 0; }
    void Set(size_t flag) { sizeAndFlags |= flag; }
    void Clear(size_t flag) { sizeAndFlags &= ~flag; }
    void SetSize(size_t size) { sizeAndFlags = size | (sizeAndFlags & ~kSizeMask); }
    Block* Next() { return reinterpret_cast<Block*>(reinterpret_cast<uint8_t*>(this) + Size()); }
    void* Payload() { return reinterpret_cast<uint8_t*>(this) + kHeader; }
    static Block* Of(void* payload) { return reinterpret_cast<Block*>(static_cast<uint8_t*>(payload) - kHeader); }
};

unsigned HighestBit(size_t v) { return 63u - static_cast<unsigned>(__builtin_clzll(v)); }
unsigned LowestBit(uint32_t v) { return static_cast<unsigned>(__builtin_ctz(v)); }

void Map(size_t size, unsigned& first, unsigned& second) {
    if (size < kSmallBlock) {
        first = 0;
        second = static_cast<unsigned>(size / (kSmallBlock / kSecondLevels));
        return;
    }
    unsigned top = HighestBit(size);
    second = static_cast<unsigned>(size >> (top - kSecondLevelBits)) ^ kSecondLevels;
    first = top - kFirstLevelShift + 1;
}

uintptr_t PageDown(uintptr_t a) { return a & ~(kPage - 1); }
uintptr_t PageUp(uintptr_t a) { return (a + kPage - 1) & ~(kPage - 1); }

class Arena {
public:
    void* Allocate(size_t size) {
        if (!Ready()) return nullptr;
        size_t need = BlockSizeFor(size);
        if (!need) return nullptr;
        Block* block = FindFree(need);
        if (!block) return nullptr;
        Remove(block);
        if (!Take(block, need)) {
            Insert(block);
            return nullptr;
        }
        block->SetRequested(size);
        return block->Payload();
    }

    void Release(void* payload) {
        Block* block = Block::Of(payload);
        usage_.inUse -= block->Size();
        --usage_.blocks;
        const bool large = block->Size() >= kDecommitAbove;
        block->Set(kFree);
        if (block->Has(kPreviousFree)) {
            Block* before = block->previous;
            Remove(before);
            before->SetSize(before->Size() + block->Size());
            block = before;
        }
        Block* after = block->Next();
        if (after->Has(kFree)) {
            Remove(after);
            block->SetSize(block->Size() + after->Size());
            if (after->Has(kMaybeDecommitted)) block->Set(kMaybeDecommitted);
        }
        if (large) Decommit(block);
        Insert(block);
    }

    void* Reallocate(void* payload, size_t size) {
        Block* block = Block::Of(payload);
        size_t need = BlockSizeFor(size);
        if (!need) return nullptr;
        const size_t have = block->Size();
        if (need <= have) {
            if (have - need >= kDecommitAbove) ShrinkInPlace(block, need);
            block->SetRequested(size);
            return payload;
        }
        Block* after = block->Next();
        if (after->Has(kFree) && have + after->Size() >= need) {
            // Grow into the free neighbour: the part taken must be committed before it is used.
            const size_t combined = have + after->Size();
            const bool decommitted = after->Has(kMaybeDecommitted);
            const size_t tail = combined - need;
            uint8_t* start = reinterpret_cast<uint8_t*>(block);
            if (decommitted && !Commit(start + have, start + need + (tail >= kMinimumBlock ? kMinimumBlock : tail)))
                return Move(payload, size);
            Remove(after);
            usage_.inUse -= have;
            block->SetSize(combined);
            block->Next()->Clear(kPreviousFree);
            usage_.inUse += combined;
            if (tail >= kMinimumBlock) SplitTail(block, need, decommitted);
            block->SetRequested(size);
            return payload;
        }
        return Move(payload, size);
    }

    bool Contains(const void* p) const {
        auto a = reinterpret_cast<uintptr_t>(p);
        return base_ && a >= reinterpret_cast<uintptr_t>(base_) && a < reinterpret_cast<uintptr_t>(base_) + size_;
    }

    Usage CurrentUsage() const { return usage_; }

    static size_t SizeOf(void* payload) { return Block::Of(payload)->Requested(); }

private:
    bool Ready() {
        if (base_) return true;
        if (failed_) return false;
        // As much as the space below 2 GB offers, down to a size that still serves a program.
        for (size_t size : {size_t{3} << 29, size_t{5} << 28, size_t{1} << 30, size_t{3} << 28, size_t{1} << 29,
                            size_t{1} << 28}) {
            base_ = static_cast<uint8_t*>(ReserveBelowTwoGigabytes(size, MEM_RESERVE, PAGE_READWRITE));
            if (base_) {
                size_ = size;
                break;
            }
        }
        if (!base_ || !Commit(base_, base_ + kMinimumBlock) || !Commit(base_ + size_ - kHeader, base_ + size_)) {
            failed_ = true;
            base_ = nullptr;
            return false;
        }
        usage_.reserved = size_;
        // One free block spans the region; a used block of size 0 ends it, so no block looks past.
        auto* first = reinterpret_cast<Block*>(base_);
        first->previous = nullptr;
        first->sizeAndFlags = (size_ - kHeader) | kFree | kMaybeDecommitted;
        auto* end = reinterpret_cast<Block*>(base_ + size_ - kHeader);
        end->sizeAndFlags = kPreviousFree;
        end->previous = first;
        Insert(first);
        return true;
    }

    static size_t BlockSizeFor(size_t size) {
        if (size > (size_t{1} << 33)) return 0;
        size_t need = (size + kHeader + kAlign - 1) & ~(kAlign - 1);
        return need < kMinimumBlock ? kMinimumBlock : need;
    }

    static bool Commit(uint8_t* begin, uint8_t* end) {
        uintptr_t from = PageDown(reinterpret_cast<uintptr_t>(begin));
        uintptr_t to = PageUp(reinterpret_cast<uintptr_t>(end));
        return VirtualAlloc(reinterpret_cast<void*>(from), to - from, MEM_COMMIT, PAGE_READWRITE) != nullptr;
    }

    // Returns the whole pages inside a free block (past its links, before the next header).
    static void Decommit(Block* block) {
        auto start = reinterpret_cast<uintptr_t>(block);
        uintptr_t from = PageUp(start + kMinimumBlock);
        uintptr_t to = PageDown(start + block->Size());
        if (to > from) {
            VirtualFree(reinterpret_cast<void*>(from), to - from, MEM_DECOMMIT);
            block->Set(kMaybeDecommitted);
        }
    }

    Block* FindFree(size_t need) {
        size_t rounded = need;
        if (need >= kSmallBlock) rounded += (size_t{1} << (HighestBit(need) - kSecondLevelBits)) - 1;
        unsigned first, second;
        Map(rounded, first, second);
        if (first >= kFirstLevels) return nullptr;
        uint32_t secondMap = secondMap_[first] & (~0u << second);
        if (!secondMap) {
            uint32_t firstMap = first + 1 < 32 ? firstMap_ & (~0u << (first + 1)) : 0;
            if (!firstMap) return nullptr;
            first = LowestBit(firstMap);
            secondMap = secondMap_[first];
        }
        return heads_[first][LowestBit(secondMap)];
    }

    // Makes a removed free block of at least `need` bytes a used block of `need` bytes (plus a
    // tail too small to stand alone), putting the rest back as a free block.
    bool Take(Block* block, size_t need) {
        const size_t have = block->Size();
        const size_t tail = have - need;
        const bool decommitted = block->Has(kMaybeDecommitted);
        uint8_t* start = reinterpret_cast<uint8_t*>(block);
        if (decommitted && !Commit(start, start + (tail >= kMinimumBlock ? need + kMinimumBlock : have))) return false;
        block->Clear(kFree | kMaybeDecommitted);
        block->Next()->Clear(kPreviousFree);
        usage_.inUse += have;
        ++usage_.blocks;
        if (tail >= kMinimumBlock) SplitTail(block, need, decommitted);
        return true;
    }

    // Cuts a used block down to `keep` bytes; the rest becomes a free block (merged onwards).
    void SplitTail(Block* block, size_t keep, bool maybeDecommitted) {
        const size_t tail = block->Size() - keep;
        block->SetSize(keep);
        usage_.inUse -= tail;
        Block* rest = block->Next();
        rest->sizeAndFlags = tail | kFree | (maybeDecommitted ? kMaybeDecommitted : 0);
        Block* after = rest->Next();
        if (after->Has(kFree)) {
            Remove(after);
            rest->SetSize(rest->Size() + after->Size());
            if (after->Has(kMaybeDecommitted)) rest->Set(kMaybeDecommitted);
        }
        Insert(rest);
    }

    void ShrinkInPlace(Block* block, size_t keep) {
        SplitTail(block, keep, false);
        Block* rest = block->Next();
        Remove(rest);
        Decommit(rest);
        Insert(rest);
    }

    void* Move(void* payload, size_t size) {
        void* fresh = Allocate(size);
        if (!fresh) return nullptr;
        const size_t old = Block::Of(payload)->Requested();
        std::memcpy(fresh, payload, old < size ? old : size);
        Release(payload);
        return fresh;
    }

    void Insert(Block* block) {
        unsigned first, second;
        Map(block->Size(), first, second);
        Block* head = heads_[first][second];
        block->nextFree = head;
        block->previousFree = nullptr;
        if (head) head->previousFree = block;
        heads_[first][second] = block;
        firstMap_ |= 1u << first;
        secondMap_[first] |= 1u << second;
        block->Set(kFree);
        Block* after = block->Next();
        after->Set(kPreviousFree);
        after->previous = block;
    }

    void Remove(Block* block) {
        unsigned first, second;
        Map(block->Size(), first, second);
        if (block->previousFree) block->previousFree->nextFree = block->nextFree;
        else heads_[first][second] = block->nextFree;
        if (block->nextFree) block->nextFree->previousFree = block->previousFree;
        if (!heads_[first][second]) {
            secondMap_[first] &= ~(1u << second);
            if (!secondMap_[first]) firstMap_ &= ~(1u << first);
        }
    }

    uint8_t* base_ = nullptr;
    size_t size_ = 0;
    bool failed_ = false;
    uint32_t firstMap_ = 0;
    uint32_t secondMap_[kFirstLevels] = {};
    Block* heads_[kFirstLevels][kSecondLevels] = {};
    Usage usage_;
};

// Constant-initialised, so allocations made while the program's own statics are being built work.
constinit Arena arena;
SRWLOCK lock = SRWLOCK_INIT;

struct Locked {
    Locked() { AcquireSRWLockExclusive(&lock); }
    ~Locked() { ReleaseSRWLockExclusive(&lock); }
};

}  // namespace

void* ReserveBelowTwoGigabytes(size_t size, unsigned long type, unsigned long protection) {
    // A zero-bits mask where the system offers it, else trying addresses in turn.
    using NtAllocateVirtualMemoryFunction = LONG(WINAPI*)(HANDLE, void**, ULONG_PTR, SIZE_T*, ULONG, ULONG);
    static auto allocate = reinterpret_cast<NtAllocateVirtualMemoryFunction>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "NtAllocateVirtualMemory")));
    constexpr uintptr_t kLimit = 0x80000000u;
    if (allocate) {
        void* base = nullptr;
        SIZE_T length = size;
        if (allocate(GetCurrentProcess(), &base, 0x7FFFFFFF, &length, type, protection) == 0) {
            if (reinterpret_cast<uintptr_t>(base) + length <= kLimit) return base;
            VirtualFree(base, 0, MEM_RELEASE);
        }
    }
    const uintptr_t step = size >= 0x10000000 ? 0x10000000 : 0x01000000;
    for (uintptr_t hint = step; hint + size <= kLimit; hint += step) {
        void* base = VirtualAlloc(reinterpret_cast<void*>(hint), size, type, protection);
        if (!base) continue;
        if (reinterpret_cast<uintptr_t>(base) + size <= kLimit) return base;
        VirtualFree(base, 0, MEM_RELEASE);
    }
    return nullptr;
}

void* Allocate(size_t size) {
    Locked hold;
    return arena.Allocate(size);
}

void* Reallocate(void* block, size_t size) {
    if (!block) return Allocate(size);
    Locked hold;
    return arena.Reallocate(block, size);
}

void Release(void* block) {
    if (!block) return;
    Locked hold;
    arena.Release(block);
}

bool Contains(const void* p) {
    Locked hold;
    return arena.Contains(p);
}

size_t SizeOf(const void* block) {
    Locked hold;
    return Arena::SizeOf(const_cast<void*>(block));
}

Usage CurrentUsage() {
    Locked hold;
    return arena.CurrentUsage();
}

#endif

}  // namespace ruvelto::low_memory
