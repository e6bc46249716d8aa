// The library as the runtime drives it: notify messages and the bound commands called with value
// records, the image variable passed as the address of its slot.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "image/library_entry.h"
#include "image/library_memory.h"
#include "runtime/heap.h"
#include "runtime/services.h"
#include "runtime/address_word.h"

namespace ruvelto::image {
namespace {

uint32_t Word(const void* p) { return AddressWord(p); }

ValueRecord Call(int command, std::initializer_list<ValueRecord> args) {
    ValueRecord result;
    std::vector<ValueRecord> a(args);
    kImageBoundCommands[command](&result, int32_t(a.size()), a.data());
    return result;
}

// Program command numbers.
enum { kDecodeFromFile, kGetJpegQuality, kEncodeToBin, kSetJpegScale, kSetJpegQuality, kGetWidth,
       kGetHeight, kDestroy, kDecodeFromBin, kEncodeToFile, kFree, kSetEscape, kResample };

ValueRecord Text(const std::string& text) { return {Word(text.c_str()), 0, kTypeText}; }
ValueRecord Int(int32_t value) { return {static_cast<uint32_t>(value), 0, kTypeInt}; }

std::string CorpusPath(const char* relative) {
    std::string path = std::string("Z:" RUVELTO_CORPUS "/") + relative;
    for (char& c : path) c = c == '/' ? '\\' : c;
    return path;
}

TEST(ImageLibrary, NotifyAnswersAndCommandsWorkThroughValueRecords) {
    uint32_t slot = 0;  // the variable: the object's address in a word
    const ValueRecord object{Word(&slot), 0, kTypeImage};
    EXPECT_EQ(Call(kGetWidth, {object}).lo, 0u);  // before start-up: nothing happens

    EXPECT_EQ(ImageLibraryNotify(1, reinterpret_cast<intptr_t>(&runtime::RuntimeService), 0), 0);
    EXPECT_EQ(ImageLibraryNotify(6, 0, 0), 0);
    EXPECT_EQ(ImageLibraryNotify(8, 0, 0), -1);

    const std::string path = "Z:" RUVELTO_CORPUS "/bmp/bmpsuite/g/pal8.bmp";
    std::string windowsPath = path;
    for (char& c : windowsPath) c = c == '/' ? '\\' : c;
    EXPECT_EQ(Call(kDecodeFromFile, {object, Text("a.b"), {1, 0, kTypeInt}}).lo, 0u);
    EXPECT_EQ(slot, 0u);
    EXPECT_EQ(Call(kDecodeFromFile, {object, {Word(windowsPath.c_str()), 0, kTypeText}, {1, 0, kTypeInt}}).lo, 1u);
    EXPECT_NE(slot, 0u);
    EXPECT_EQ(Call(kGetWidth, {object}).lo, 127u);
    EXPECT_EQ(Call(kGetHeight, {object}).lo, 64u);
    Call(kSetJpegQuality, {object, {150, 0, kTypeByte}});
    EXPECT_EQ(Call(kGetJpegQuality, {object}).lo, 150u);

    uint32_t bytes = 0;  // a byte-set variable
    EXPECT_EQ(Call(kEncodeToBin, {object, {Word(&bytes), 0, kTypeBytes}, {1, 0, kTypeInt}}).lo, 1u);
    ASSERT_NE(bytes, 0u);
    uint32_t second = 0;
    const ValueRecord other{Word(&second), 0, kTypeImage};
    EXPECT_EQ(Call(kDecodeFromBin, {other, {bytes, 0, kTypeBytes}, {1, 0, kTypeInt}}).lo, 1u);
    EXPECT_EQ(Call(kGetWidth, {other}).lo, 127u);
    heap::Free(WordAddress(bytes));  // a runtime heap block like any other byte set

    EXPECT_EQ(Call(kDestroy, {object}).lo, 1u);
    EXPECT_EQ(Call(kGetWidth, {object}).lo, 127u);
    Call(kFree, {object});
    Call(kFree, {other});
    EXPECT_EQ(slot, 0u);
    EXPECT_EQ(second, 0u);
    EXPECT_EQ(Call(kDestroy, {object}).lo, 0u);
}

// The run's resize path: a JPEG's size read alone (escape -1), then a decode shrunk in the DCT
// and resampled to the exact size.
TEST(ImageLibrary, SizeOnlyDecodeScaledDecodeAndResample) {
    ImageLibraryNotify(1, reinterpret_cast<intptr_t>(&runtime::RuntimeService), 0);
    uint32_t slot = 0;  // the variable: the object's address in a word
    const ValueRecord object{Word(&slot), 0, kTypeImage};
    const std::string jpeg = CorpusPath("jpeg/libjpeg-turbo/testorig.jpg");
    EXPECT_EQ(Call(kResample, {object, Int(5), Int(5)}).lo, 0u);  // no object yet

    ASSERT_EQ(Call(kDecodeFromFile, {object, Text(CorpusPath("bmp/bmpsuite/g/pal8.bmp")), Int(1)}).lo, 1u);
    Call(kSetEscape, {object, Int(-1)});
    ASSERT_EQ(Call(kDecodeFromFile, {object, Text(jpeg), Int(3)}).lo, 1u);
    const uint32_t width = Call(kGetWidth, {object}).lo, height = Call(kGetHeight, {object}).lo;
    EXPECT_GT(width, 100u);
    // Only the size came: there is no picture to write or resize.
    EXPECT_EQ(Call(kResample, {object, Int(5), Int(5)}).lo, 0u);

    Call(kSetEscape, {object, Int(0)});
    Call(kSetJpegScale, {object, {4, 0, kTypeByte}});
    ASSERT_EQ(Call(kDecodeFromFile, {object, Text(jpeg), Int(3)}).lo, 1u);
    EXPECT_EQ(Call(kGetWidth, {object}).lo, (width + 3) / 4);
    EXPECT_EQ(Call(kGetHeight, {object}).lo, (height + 3) / 4);
    EXPECT_EQ(Call(kResample, {object, Int(0), Int(7)}).lo, 0u);
    EXPECT_EQ(Call(kResample, {object, Int(-3), Int(7)}).lo, 0u);
    ASSERT_EQ(Call(kResample, {object, Int(21), Int(13)}).lo, 1u);
    EXPECT_EQ(Call(kGetWidth, {object}).lo, 21u);
    EXPECT_EQ(Call(kGetHeight, {object}).lo, 13u);
    Call(kFree, {object});
}

}  // namespace
}  // namespace ruvelto::image
