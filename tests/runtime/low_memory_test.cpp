// Low memory: what the runtime keeps in 32-bit words must come from it. Blocks keep their bytes
// through any mix of allocations, reallocations and releases, every address fits a word (below
// 2 GB, so that Windows' sign-extension of words leaves it alone), the region gives back what is
// released, and code reached through a word runs the function it names.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "runtime/address_word.h"
#include "runtime/heap.h"
#include "runtime/low_memory.h"

namespace ruvelto {
namespace {

struct Live {
    uint8_t* block;
    size_t size;
    uint8_t seed;
};

void Fill(const Live& l) {
    for (size_t i = 0; i < l.size; ++i) l.block[i] = static_cast<uint8_t>(l.seed + i * 7);
}

bool Intact(const Live& l, size_t upTo) {
    for (size_t i = 0; i < upTo; ++i)
        if (l.block[i] != static_cast<uint8_t>(l.seed + i * 7)) return false;
    return true;
}

bool InLowMemory(const void* p) {
    return reinterpret_cast<uintptr_t>(p) < 0x80000000u && reinterpret_cast<uintptr_t>(p) % 16 == 0;
}

TEST(LowMemory, BlocksKeepTheirBytesThroughAnyMixOfCalls) {
    const low_memory::Usage before = low_memory::CurrentUsage();
    std::mt19937 random(12345);
    std::vector<Live> live;
    auto size = [&] {
        const uint32_t kind = random() % 100;
        if (kind < 70) return static_cast<size_t>(random() % 300);
        if (kind < 97) return static_cast<size_t>(random() % 70000);
        return static_cast<size_t>(1 + random() % (6 << 20));  // beyond the size that is decommitted
    };
    for (int step = 0; step < 20000; ++step) {
        const uint32_t action = random() % 10;
        if (action < 5 || live.empty()) {
            Live l{nullptr, size(), static_cast<uint8_t>(random())};
            l.block = static_cast<uint8_t*>(low_memory::Allocate(l.size));
            ASSERT_NE(l.block, nullptr) << step;
            ASSERT_TRUE(InLowMemory(l.block)) << static_cast<void*>(l.block);
            ASSERT_EQ(low_memory::SizeOf(l.block), l.size);
            Fill(l);
            live.push_back(l);
        } else if (action < 8) {
            const size_t i = random() % live.size();
            ASSERT_TRUE(Intact(live[i], live[i].size)) << step;
            low_memory::Release(live[i].block);
            live[i] = live.back();
            live.pop_back();
        } else {
            Live& l = live[random() % live.size()];
            const size_t fresh = size();
            auto* moved = static_cast<uint8_t*>(low_memory::Reallocate(l.block, fresh));
            ASSERT_NE(moved, nullptr);
            ASSERT_TRUE(InLowMemory(moved));
            l.block = moved;
            ASSERT_TRUE(Intact(l, std::min(l.size, fresh))) << "reallocation lost bytes at step " << step;
            l.size = fresh;
            ASSERT_EQ(low_memory::SizeOf(l.block), l.size);
            Fill(l);
        }
    }
    for (const Live& l : live) {
        ASSERT_TRUE(Intact(l, l.size));
        low_memory::Release(l.block);
    }
    std::vector<Live>().swap(live);  // its own buffer is low memory too
    const low_memory::Usage after = low_memory::CurrentUsage();
    EXPECT_EQ(after.blocks, before.blocks);
    EXPECT_EQ(after.inUse, before.inUse);
}

// Large released blocks give their pages back; using the space again must find them committed.
TEST(LowMemory, LargeBlocksAreUsableAgainAfterRelease) {
    for (int round = 0; round < 3; ++round) {
        const size_t n = size_t{96} << 20;
        auto* block = static_cast<uint8_t*>(low_memory::Allocate(n));
        ASSERT_NE(block, nullptr);
        std::memset(block, round + 1, n);
        EXPECT_EQ(block[n - 1], round + 1);
        // Smaller blocks carved from the same space after release.
        low_memory::Release(block);
        std::vector<void*> small;
        for (int i = 0; i < 200; ++i) {
            small.push_back(low_memory::Allocate(300000));
            ASSERT_NE(small.back(), nullptr);
            std::memset(small.back(), 0x5A, 300000);
        }
        for (void* p : small) low_memory::Release(p);
    }
}

#if UINTPTR_MAX != 0xFFFFFFFFu
// Decoded photos take hundreds of megabytes: the region must hold about what a 32-bit process had.
TEST(LowMemory, TheRegionHoldsAtLeastAGigabyte) {
    void* block = low_memory::Allocate(16);
    low_memory::Release(block);
    EXPECT_GE(low_memory::CurrentUsage().reserved, uint64_t{1} << 30);
}
#endif

TEST(LowMemory, AnImpossibleSizeIsRefusedNotCrashed) {
    EXPECT_EQ(low_memory::Allocate(SIZE_MAX - 64), nullptr);
    void* block = low_memory::Allocate(64);
    ASSERT_NE(block, nullptr);
    std::memset(block, 9, 64);
    EXPECT_EQ(low_memory::Reallocate(block, SIZE_MAX - 64), nullptr);
    EXPECT_EQ(static_cast<uint8_t*>(block)[63], 9) << "a refused reallocation leaves the block as it was";
    low_memory::Release(block);
}

// Whatever C++ code allocates may end up in a word: component objects, pictures, texts.
TEST(LowMemory, CppAllocationsFitAWord) {
    auto small = std::make_unique<char[]>(24);
    std::vector<uint32_t> large(size_t{8} << 20);
    std::string text(1000, 'x');
    EXPECT_TRUE(FitsWord(small.get()));
    EXPECT_TRUE(FitsWord(large.data()));
    EXPECT_TRUE(FitsWord(text.data()));
    void* runtimeBlock = heap::Allocate(100);
    EXPECT_TRUE(FitsWord(runtimeBlock));
    heap::Free(runtimeBlock);
}

int Twice(int v) { return 2 * v; }
int Thrice(int v) { return 3 * v; }
double Sum(double a, double b, int c, const char* d) { return a + b + c + static_cast<double>(std::strlen(d)); }

TEST(CodeWord, RunsTheFunctionItNames) {
    const uint32_t twice = CodeWordOf(&Twice);
    ASSERT_NE(twice, 0u);
    EXPECT_EQ(CodeWordOf(&Twice), twice) << "one stub per function";
    EXPECT_NE(CodeWordOf(&Thrice), twice);
    EXPECT_EQ(reinterpret_cast<int (*)(int)>(WordAddress(twice))(21), 42);
    EXPECT_EQ(reinterpret_cast<int (*)(int)>(WordAddress(CodeWordOf(&Thrice)))(5), 15);
    // Arguments in every kind of register pass through the stub untouched.
    auto sum = reinterpret_cast<double (*)(double, double, int, const char*)>(WordAddress(CodeWordOf(&Sum)));
    EXPECT_EQ(sum(1.5, 2.25, 3, "four"), 10.75);
    EXPECT_EQ(CodeTarget(WordAddress(twice)), reinterpret_cast<const void*>(&Twice));
    EXPECT_EQ(CodeWord(nullptr), 0u);
}

TEST(AddressWord, KeepsEveryAddressThatFits) {
    void* block = heap::Allocate(8);
    EXPECT_EQ(WordAddress(AddressWord(block)), block);
    EXPECT_EQ(AddressWord(nullptr), 0u);
    heap::Free(block);
}

}  // namespace
}  // namespace ruvelto
