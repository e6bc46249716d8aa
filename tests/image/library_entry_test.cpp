// The library as the runtime drives it: notify messages and the bound commands called with value
// records, the image variable passed as the address of its slot.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "image/library_entry.h"
#include "image/library_memory.h"
#include "runtime/heap.h"
#include "runtime/services.h"

namespace ruvelto::image {
namespace {

uint32_t Word(const void* p) { return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p)); }

ValueRecord Call(int command, std::initializer_list<ValueRecord> args) {
    ValueRecord result;
    std::vector<ValueRecord> a(args);
    kImageBoundCommands[command](&result, int32_t(a.size()), a.data());
    return result;
}

// Program command numbers.
enum { kDecodeFromFile, kGetJpegQuality, kEncodeToBin, kSetJpegScale, kSetJpegQuality, kGetWidth,
       kGetHeight, kDestroy, kDecodeFromBin, kEncodeToFile, kFree };

TEST(ImageLibrary, NotifyAnswersAndCommandsWorkThroughValueRecords) {
    void* slot = nullptr;
    const ValueRecord object{Word(&slot), 0, kTypeImage};
    EXPECT_EQ(Call(kGetWidth, {object}).lo, 0u);  // before start-up: nothing happens

    EXPECT_EQ(ImageLibraryNotify(1, reinterpret_cast<intptr_t>(&runtime::RuntimeService), 0), 0);
    EXPECT_EQ(ImageLibraryNotify(6, 0, 0), 0);
    EXPECT_EQ(ImageLibraryNotify(8, 0, 0), -1);

    const std::string path = "Z:" RUVELTO_CORPUS "/bmp/bmpsuite/g/pal8.bmp";
    std::string windowsPath = path;
    for (char& c : windowsPath) c = c == '/' ? '\\' : c;
    EXPECT_EQ(Call(kDecodeFromFile, {object, {Word("a.b"), 0, kTypeText}, {1, 0, kTypeInt}}).lo, 0u);
    EXPECT_EQ(slot, nullptr);
    EXPECT_EQ(Call(kDecodeFromFile, {object, {Word(windowsPath.c_str()), 0, kTypeText}, {1, 0, kTypeInt}}).lo, 1u);
    EXPECT_NE(slot, nullptr);
    EXPECT_EQ(Call(kGetWidth, {object}).lo, 127u);
    EXPECT_EQ(Call(kGetHeight, {object}).lo, 64u);
    Call(kSetJpegQuality, {object, {150, 0, kTypeByte}});
    EXPECT_EQ(Call(kGetJpegQuality, {object}).lo, 150u);

    ByteSetHeader* bytes = nullptr;
    EXPECT_EQ(Call(kEncodeToBin, {object, {Word(&bytes), 0, kTypeBytes}, {1, 0, kTypeInt}}).lo, 1u);
    ASSERT_NE(bytes, nullptr);
    void* second = nullptr;
    const ValueRecord other{Word(&second), 0, kTypeImage};
    EXPECT_EQ(Call(kDecodeFromBin, {other, {Word(bytes), 0, kTypeBytes}, {1, 0, kTypeInt}}).lo, 1u);
    EXPECT_EQ(Call(kGetWidth, {other}).lo, 127u);
    heap::Free(bytes);  // a runtime heap block like any other byte set

    EXPECT_EQ(Call(kDestroy, {object}).lo, 1u);
    EXPECT_EQ(Call(kGetWidth, {object}).lo, 127u);
    Call(kFree, {object});
    Call(kFree, {other});
    EXPECT_EQ(slot, nullptr);
    EXPECT_EQ(second, nullptr);
    EXPECT_EQ(Call(kDestroy, {object}).lo, 0u);
}

}  // namespace
}  // namespace ruvelto::image
