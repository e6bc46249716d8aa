// The eleven bound commands on plain types: slots, argument checks and byte sets.
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

#include "image/class_commands.h"
#include "image/library_memory.h"
#include "runtime/heap.h"
#include "runtime/service_codes.h"
#include "tests/image/test_files.h"

namespace ruvelto::image {
namespace {

// The runtime's allocation services as the library sees them in the native build.
// The runtime's allocation services over its real heap; the whole service callback is part of
// the Windows build, where image_library_test drives the library through it.
intptr_t HeapServices(int32_t code, intptr_t size, intptr_t unchecked) {
    if (code == kServiceAllocate)
        return reinterpret_cast<intptr_t>(unchecked ? heap::AllocateUnchecked(uint32_t(size)) : heap::Allocate(uint32_t(size)));
    if (code == kServiceFree) heap::Free(reinterpret_cast<void*>(size));
    return 0;
}

class ClassCommands : public ::testing::Test {
protected:
    void SetUp() override { SetRuntimeServices(HeapServices); }
    void TearDown() override {
        FreeCommand(&slot);
        SetRuntimeServices(nullptr);
    }
    ByteSetHeader* ByteSet(const std::vector<uint8_t>& bytes) {
        owned.assign(sizeof(ByteSetHeader) + bytes.size(), 0);
        auto* set = reinterpret_cast<ByteSetHeader*>(owned.data());
        set->dimensions = 1;
        set->count = uint32_t(bytes.size());
        std::memcpy(set + 1, bytes.data(), bytes.size());
        return set;
    }
    Image* slot = nullptr;
    std::vector<uint8_t> owned;
};

TEST_F(ClassCommands, EmptySlotCommandsDoNothing) {
    EXPECT_EQ(GetWidthCommand(&slot), 0);
    EXPECT_EQ(GetHeightCommand(&slot), 0);
    EXPECT_EQ(GetJpegQualityCommand(&slot), 0);
    SetJpegQualityCommand(&slot, 50);
    EXPECT_FALSE(DestroyCommand(&slot));
    EXPECT_FALSE(EncodeToFileCommand(&slot, "C:\\x.bmp", IMAGE_FORMAT_BMP));
    ByteSetHeader* variable = nullptr;
    EXPECT_FALSE(EncodeToBinCommand(&slot, &variable, IMAGE_FORMAT_BMP));
    FreeCommand(&slot);
    FreeCommand(&slot);
    EXPECT_EQ(slot, nullptr);
}

TEST_F(ClassCommands, ShortPathAndSmallByteSetDoNotCreateTheObject) {
    EXPECT_FALSE(DecodeFromFileCommand(&slot, "a.b", IMAGE_FORMAT_BMP));
    EXPECT_EQ(slot, nullptr);
    EXPECT_EQ(GetWidthCommand(&slot), 0);
    EXPECT_FALSE(DecodeFromBinCommand(&slot, ByteSet(std::vector<uint8_t>(32, 0)), IMAGE_FORMAT_BMP));
    EXPECT_EQ(slot, nullptr);
    // 33 bytes are attempted: the object now exists even though the decode fails.
    EXPECT_FALSE(DecodeFromBinCommand(&slot, ByteSet(std::vector<uint8_t>(33, 0)), IMAGE_FORMAT_BMP));
    ASSERT_NE(slot, nullptr);
    EXPECT_EQ(GetJpegQualityCommand(&slot), 90);
}

TEST_F(ClassCommands, DecodeEncodeAndDestroyThroughTheSlot) {
    const std::string path = test::ApiPath(test::CorpusPath("bmp/bmpsuite/g/pal8.bmp"));
    ASSERT_TRUE(DecodeFromFileCommand(&slot, path.c_str(), IMAGE_FORMAT_BMP));
    EXPECT_EQ(GetWidthCommand(&slot), 127);
    EXPECT_EQ(GetHeightCommand(&slot), 64);
    SetJpegQualityCommand(&slot, 150);
    EXPECT_EQ(GetJpegQualityCommand(&slot), 150);
    SetJpegScaleCommand(&slot, 4);
    EXPECT_EQ(slot->Info.JpegScale, 4);

    ByteSetHeader* variable = NewByteSet(reinterpret_cast<const uint8_t*>("old"), 3);
    ASSERT_TRUE(EncodeToBinCommand(&slot, &variable, IMAGE_FORMAT_BMP));
    ASSERT_NE(variable, nullptr);
    EXPECT_EQ(variable->dimensions, 1u);
    EXPECT_EQ(variable->count, slot->GetSize() + 14);

    // The byte set decodes back (format 1, as the drawing panel's pictures come in).
    Image* second = nullptr;
    EXPECT_TRUE(DecodeFromBinCommand(&second, variable, IMAGE_FORMAT_BMP));
    EXPECT_EQ(GetWidthCommand(&second), 127);
    FreeCommand(&second);

    // Format 0 fails and leaves the variable empty even though it held a byte set.
    EXPECT_FALSE(EncodeToBinCommand(&slot, &variable, IMAGE_FORMAT_UNKNOWN));
    EXPECT_EQ(variable, nullptr);

    EXPECT_TRUE(DestroyCommand(&slot));
    EXPECT_EQ(GetWidthCommand(&slot), 127);
    const std::string out = test::ScratchDir() + "/after-destroy.bmp";
    EXPECT_FALSE(EncodeToFileCommand(&slot, test::ApiPath(out).c_str(), IMAGE_FORMAT_BMP));
    EXPECT_TRUE(test::ReadFileBytes(out).empty());
}

TEST_F(ClassCommands, AllocationBeforeTheRuntimeCallsInYieldsNothing) {
    SetRuntimeServices(nullptr);
    EXPECT_EQ(RuntimeAllocate(16), nullptr);
    EXPECT_EQ(NewByteSet(reinterpret_cast<const uint8_t*>("abc"), 3), nullptr);
}

}  // namespace
}  // namespace ruvelto::image
