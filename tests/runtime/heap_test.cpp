// The runtime heap's rules: constants are never freed or resized, the range end is exclusive,
// and the array helpers copy and free exactly what they own.
#include "runtime/heap.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "runtime/address_word.h"
#include "runtime/value_record.h"

namespace ruvelto::heap {
namespace {

// A stand-in for the image's constant segment: read-only for the heap while the test runs.
class HeapTest : public ::testing::Test {
protected:
    void SetUp() override {
        std::memcpy(segment, "\0abcdefghi\0", 11);
        AddReadOnlyRange(segment, segment + kSegmentSize);
    }
    void TearDown() override { ClearReadOnlyRanges(); }

    uint64_t Live() const { return GetCounters().allocated - GetCounters().freed; }

    alignas(4) uint8_t storage[72] = {};
    uint8_t* const segment = storage + 4;  // 64 bytes with room on both sides
    static constexpr size_t kSegmentSize = 64;
};

TEST_F(HeapTest, FreeIgnoresNullAndEveryConstantButNotTheByteAfter) {
    uint64_t freed = GetCounters().freed;
    Free(nullptr);
    Free(segment);
    Free(segment + 1);
    Free(segment + kSegmentSize - 1);
    EXPECT_EQ(GetCounters().freed, freed);

    // A heap block that starts right where a read-only range ends is freed like any other.
    void* block = Allocate(16);
    ClearReadOnlyRanges();
    AddReadOnlyRange(static_cast<uint8_t*>(block) - 8, block);
    EXPECT_EQ(ReadOnlyEnd(static_cast<uint8_t*>(block) - 1), block);
    EXPECT_EQ(ReadOnlyEnd(block), nullptr);
    Free(block);
    EXPECT_EQ(GetCounters().freed, freed + 1);
}

TEST_F(HeapTest, ReadOnlyEndReportsTheFirstRangeHoldingThePointer) {
    uint8_t other[8] = {};
    AddReadOnlyRange(other, other + 8);
    EXPECT_EQ(ReadOnlyEnd(segment + 3), segment + kSegmentSize);
    EXPECT_EQ(ReadOnlyEnd(other + 7), other + 8);
    EXPECT_EQ(ReadOnlyEnd(other + 8), nullptr);
    EXPECT_EQ(ReadOnlyEnd(segment - 1), nullptr);
}

TEST_F(HeapTest, ReallocatingAConstantCopiesItAndLeavesItAlone) {
    // "abcdefghi\0" at offset 1: shrinking keeps the first bytes.
    auto* shrunk = static_cast<char*>(Reallocate(segment + 1, 4));
    EXPECT_EQ(std::memcmp(shrunk, "abcd", 4), 0);
    EXPECT_EQ(std::memcmp(segment + 1, "abcdefghi", 10), 0);
    Free(shrunk);

    // Growing copies only what remains before the segment's end: 4 bytes here.
    std::memcpy(segment + 60, "wxyz", 4);
    auto* grown = static_cast<char*>(Reallocate(segment + 60, 100));
    EXPECT_EQ(std::memcmp(grown, "wxyz", 4), 0);
    Free(grown);
}

TEST_F(HeapTest, ReallocateKeepsHeapContentsAndTreatsNullAsAllocate) {
    auto* p = static_cast<char*>(Reallocate(nullptr, 6));
    std::memcpy(p, "hello", 6);
    p = static_cast<char*>(Reallocate(p, 4000));
    EXPECT_STREQ(p, "hello");
    p = static_cast<char*>(Reallocate(p, 3));
    EXPECT_EQ(std::memcmp(p, "hel", 3), 0);
    Free(p);
}

// The native build's sanitizers stop huge requests themselves; the process heap reports them.
#if UINTPTR_MAX == 0xFFFFFFFFu
TEST_F(HeapTest, AllocateUncheckedReportsExhaustionAsNull) {
    EXPECT_EQ(AllocateUnchecked(0xFFFFFFF0u), nullptr);
}

#endif

// Arrays: u32 dimension count, u32 sizes, then the elements.
std::vector<uint32_t> IntArray(std::initializer_list<uint32_t> sizes, uint32_t fill) {
    std::vector<uint32_t> words{static_cast<uint32_t>(sizes.size())};
    uint32_t count = 1;
    for (uint32_t s : sizes) words.push_back(s), count *= s;
    for (uint32_t i = 0; i < count; ++i) words.push_back(fill + i);
    return words;
}

TEST_F(HeapTest, MakeArrayWritableCopiesOnlyConstantArrays) {
    std::vector<uint32_t> array = IntArray({2, 3}, 100);
    std::memcpy(segment + 4, array.data(), array.size() * 4);
    void* variable = segment + 4;
    MakeArrayWritable(4, &variable);
    ASSERT_NE(variable, segment + 4);
    EXPECT_FALSE(IsReadOnly(variable));
    EXPECT_EQ(std::memcmp(variable, array.data(), array.size() * 4), 0);

    // Already on the heap: nothing happens.
    void* before = variable;
    MakeArrayWritable(4, &variable);
    EXPECT_EQ(variable, before);
    Free(variable);

    void* none = nullptr;
    MakeArrayWritable(4, &none);
    EXPECT_EQ(none, nullptr);
}

TEST_F(HeapTest, MakeArrayWritableNeverReadsPastTheSegment) {
    // A block at the segment's end that claims a million elements is cut at the end.
    uint32_t header[2] = {1, 1000000};
    std::memcpy(segment + 56, header, 8);
    void* variable = segment + 56;
    MakeArrayWritable(4, &variable);
    ASSERT_NE(variable, segment + 56);
    EXPECT_EQ(std::memcmp(variable, header, 8), 0);
    Free(variable);
}

TEST_F(HeapTest, FreeArrayFreesTextAndByteSetElementsOnly) {
    for (uint32_t elementType : {uint32_t{kTypeText}, uint32_t{kTypeText} | kArrayBit, uint32_t{kTypeBytes}}) {
        uint64_t live = Live();
        void* text = Allocate(5);
        if (!FitsWord(text) || !FitsWord(segment)) {
            Free(text);
            GTEST_SKIP() << "this build's heap lies beyond 32-bit words (the native test build)";
        }
        // One dimension of three elements, each an address in a word.
        auto* words = static_cast<uint32_t*>(Allocate(2 * 4 + 3 * 4));
        words[0] = 1;
        words[1] = 3;
        words[2] = AddressWord(text);
        words[3] = AddressWord(segment);  // a constant element is left alone
        words[4] = 0;
        FreeArray(elementType, words);
        EXPECT_EQ(Live(), live) << std::hex << elementType;
    }
}

TEST_F(HeapTest, FreeArrayOfIntegersFreesOnlyTheBlock) {
    // Integers are not pointers: only the block goes.
    uint64_t freed = GetCounters().freed;
    auto* ints = static_cast<uint32_t*>(Allocate(12));
    ints[0] = 1, ints[1] = 1, ints[2] = 0x12345678;
    FreeArray(kTypeInt, ints);
    EXPECT_EQ(GetCounters().freed, freed + 1);

    // A text array with a size of 0 has no elements to free.
    freed = GetCounters().freed;
    auto* empty = static_cast<uint32_t*>(Allocate(8));
    empty[0] = 1, empty[1] = 0;
    FreeArray(kTypeText, empty);
    EXPECT_EQ(GetCounters().freed, freed + 1);

    FreeArray(kTypeText, nullptr);
}

}  // namespace
}  // namespace ruvelto::heap
