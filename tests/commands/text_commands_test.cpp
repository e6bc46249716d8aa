// The command entries through their real calling form, on the real runtime heap (the process
// heap): argument records of every listed type, omitted arguments, and ownership of every result.
#define WIN32_LEAN_AND_MEAN  // keeps FindText a command name, not the common dialog
#include <windows.h>

#include "commands/text_commands.h"

#include <gtest/gtest.h>

#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "runtime/heap.h"
#include "runtime/low_memory.h"
#include "runtime/address_word.h"

namespace ruvelto::core_commands {
namespace {

uint32_t Word(const void* p) { return AddressWord(p); }
template <class T = uint8_t>
T* Pointer(uint32_t word) { return reinterpret_cast<T*>(static_cast<uintptr_t>(word)); }

// Argument values; texts and byte sets live in a store that outlives the calls.
std::deque<std::string> texts;
std::deque<std::vector<uint8_t>> blocks;

ValueRecord Text(const std::string& s) { return {Word(texts.emplace_back(s).c_str()), 0, kTypeText}; }
ValueRecord Bytes(const std::vector<uint8_t>& bytes) {
    std::vector<uint8_t>& block = blocks.emplace_back(8 + bytes.size());
    const uint32_t header[2] = {1, static_cast<uint32_t>(bytes.size())};
    std::memcpy(block.data(), header, 8);
    if (!bytes.empty()) std::memcpy(block.data() + 8, bytes.data(), bytes.size());
    return {Word(block.data()), 0, kTypeBytes};
}
ValueRecord Int(int32_t v) { return {static_cast<uint32_t>(v), 0, kTypeInt}; }
ValueRecord Bool(bool v) { return {v ? 1u : 0u, 0, kTypeBool}; }
ValueRecord Real(double d, uint32_t type = kTypeDouble) {
    uint64_t bits;
    std::memcpy(&bits, &d, 8);
    return {static_cast<uint32_t>(bits), static_cast<uint32_t>(bits >> 32), type};
}
ValueRecord Float(float f) {
    ValueRecord r{0, 0, kTypeFloat};
    std::memcpy(&r.lo, &f, 4);
    return r;
}
ValueRecord Date(double d) { return Real(d, kTypeDateTime); }
const ValueRecord kOmitted{};

ValueRecord Call(CommandEntry entry, std::vector<ValueRecord> args) {
    ValueRecord result{};
    entry(&result, static_cast<int32_t>(args.size()), args.data());
    return result;
}

uint64_t Allocations() { return heap::GetCounters().allocated; }
uint64_t LiveBlocks() { return heap::GetCounters().allocated - heap::GetCounters().freed; }

// A block handed to the caller: a live process-heap block of exactly the size needed, not a
// constant and not one of the arguments.
void ExpectOwnedBlock(uint32_t word, size_t size, const std::vector<ValueRecord>& args) {
    ASSERT_NE(word, 0u);
    void* block = Pointer<void>(word);
    EXPECT_TRUE(low_memory::Contains(block));
    EXPECT_EQ(low_memory::SizeOf(block), size);
    EXPECT_FALSE(heap::IsReadOnly(block));
    for (const ValueRecord& a : args) EXPECT_NE(a.lo, word);
}

struct TextCase {
    const char* name;
    CommandEntry entry;
    std::vector<ValueRecord> args;
    std::string expected;  // the text, or the bytes of a byte set
    bool byteSet = false;
};

// GBK pieces
const std::string kAh = "\xB0\xA1";                                              // 啊
const std::string kWideSpace = "\xA1\xA1";                                       // full-width space
const std::string kYear = "\xC4\xEA", kMonth = "\xD4\xC2", kDay = "\xC8\xD5";    // 年 月 日
const std::string kHour = "\xCA\xB1", kMinute = "\xB7\xD6", kSecond = "\xC3\xEB";  // 时 分 秒

std::vector<TextCase> TextCases() {
    const double seconds30 = 45000 + (13 * 3600 + 30) / 86400.0;
    const std::string date = "2023" + kYear + "3" + kMonth + "15" + kDay;
    return {
        {"ToText int", ToText, {Int(-42)}, "-42"},
        {"ToText float 0.1", ToText, {Float(0.1f)}, "0.1"},
        {"ToText double one third", ToText, {Real(1.0 / 3)}, "0.3333333333333"},
        {"ToText date at midnight", ToText, {Date(45000)}, date},
        {"ToText date with seconds", ToText, {Date(seconds30)}, date + "13" + kHour + "0" + kMinute + "30" + kSecond},
        {"ToText true", ToText, {Bool(true)}, "\xD5\xE6"},
        {"ToText text copy", ToText, {Text("abc")}, "abc"},
        {"ToText byte set", ToText, {Bytes({'h', 'i', 0, 'x'})}, "hi"},
        {"ToText empty text", ToText, {Text("")}, ""},
        {"ToText omitted", ToText, {}, ""},
        {"ToText window", ToText, {{0x52000001, 0x06000001, kTypeWindow}}, ""},
        {"ToHexText -1", ToHexText, {Int(-1)}, "FFFFFFFF"},
        {"ToHexText 255", ToHexText, {Int(255)}, "FF"},
        {"ToHexText 0", ToHexText, {Int(0)}, "0"},
        {"TimeToText omitted part", TimeToText, {Date(seconds30)}, date + "13" + kHour + "0" + kMinute + "30" + kSecond},
        {"TimeToText kind 2", TimeToText, {Date(seconds30), Int(2)}, date},
        {"TimeToText kind 3 at midnight", TimeToText, {Date(45000), Int(3)}, "0" + kHour + "0" + kMinute + "0" + kSecond},
        {"TimeToText kind 7 acts as 3", TimeToText, {Date(45000.5), Int(7)}, "12" + kHour + "0" + kMinute + "0" + kSecond},
        {"TimeToText kind -1 acts as 1", TimeToText, {Date(45000.5), Int(-1)}, date + "12" + kHour},
        {"TimeToText kind 0 acts as 1", TimeToText, {Date(45000), Int(0)}, date},
        {"TimeToText of a non-date", TimeToText, {Int(5)}, ""},
        {"LeftText cuts a lead byte", LeftText, {Text(kAh + "x"), Int(1)}, "\xB0"},
        {"LeftText past the end", LeftText, {Text("abc"), Int(10)}, "abc"},
        {"LeftText 0", LeftText, {Text("abc"), Int(0)}, ""},
        {"RightText", RightText, {Text("abcdef"), Int(2)}, "ef"},
        {"RightText negative", RightText, {Text("abcdef"), Int(-2)}, ""},
        {"MiddleText", MiddleText, {Text("abcdef"), Int(2), Int(3)}, "bcd"},
        {"MiddleText start 0", MiddleText, {Text("abcdef"), Int(0), Int(3)}, ""},
        {"MiddleText start past the end", MiddleText, {Text("abcdef"), Int(7), Int(3)}, ""},
        {"SpaceText", SpaceText, {Int(3)}, "   "},
        {"SpaceText 0", SpaceText, {Int(0)}, ""},
        {"SpaceText negative", SpaceText, {Int(-4)}, ""},
        {"TrimBoth mixed spaces keep a tab", TrimBoth, {Text(kWideSpace + " \ta b " + kWideSpace + " ")}, "\ta b"},
        {"TrimBoth unchanged text is still a copy", TrimBoth, {Text("ab")}, "ab"},
        {"TrimBoth all spaces", TrimBoth, {Text(" " + kWideSpace)}, ""},
        {"ToLowerCase", ToLowerCase, {Text("AbC\xB0\x41Z")}, "abc\xB0\x41z"},
        {"ToLowerCase empty", ToLowerCase, {Text("")}, ""},
        {"ReplaceSubtext", ReplaceSubtext, {Text("a-b-c"), Text("-"), Text("+")}, "a+b+c"},
        {"ReplaceSubtext count 0", ReplaceSubtext, {Text("a-b-c"), Text("-"), Text("+"), kOmitted, Int(0)}, "a-b-c"},
        {"ReplaceSubtext count 1 from 3", ReplaceSubtext,
         {Text("a-b-c-d"), Text("-"), Text("+"), Int(3), Int(1)}, "a-b+c-d"},
        {"ReplaceSubtext omitted replacement deletes", ReplaceSubtext, {Text("a-b-c"), Text("-")}, "abc"},
        {"ReplaceSubtext omitted replacement by type 0", ReplaceSubtext, {Text("a-b-c"), Text("-"), kOmitted}, "abc"},
        {"ReplaceSubtext ignores case unless told", ReplaceSubtext,
         {Text("abc ABC"), Text("ABC"), Text("x"), kOmitted, kOmitted, Bool(false)}, "x x"},
        {"ReplaceSubtext case sensitive", ReplaceSubtext,
         {Text("abc ABC"), Text("ABC"), Text("x"), kOmitted, kOmitted, Bool(true)}, "abc x"},
        {"ReplaceSubtext everything away", ReplaceSubtext, {Text("--"), Text("-"), Text("")}, ""},
        {"ToByteSet int", ToByteSet, {Int(0x04030201)}, std::string("\x01\x02\x03\x04", 4), true},
        {"ToByteSet text", ToByteSet, {Text("ab")}, "ab", true},
        {"ToByteSet byte set keeps zeros", ToByteSet, {Bytes({1, 0, 2})}, std::string("\x01\x00\x02", 3), true},
        {"ToByteSet date", ToByteSet, {Date(1.0)}, std::string("\0\0\0\0\0\0\xF0\x3F", 8), true},
        {"ToByteSet empty text", ToByteSet, {Text("")}, "", true},
        {"ToByteSet library type", ToByteSet, {{1, 2, kTypeListView}}, "", true},
        {"LeftBytes", LeftBytes, {Bytes({1, 2, 3}), Int(2)}, "\x01\x02", true},
        {"LeftBytes negative", LeftBytes, {Bytes({1, 2, 3}), Int(-2)}, "", true},
        {"MiddleBytes", MiddleBytes, {Bytes({1, 2, 3, 4}), Int(2), Int(2)}, "\x02\x03", true},
        {"MiddleBytes past the end", MiddleBytes, {Bytes({1, 2, 3, 4}), Int(5), Int(2)}, "", true},
        {"MiddleBytes of the empty byte set", MiddleBytes, {Bytes({}), Int(1), Int(2)}, "", true},
    };
}

TEST(TextCommands, EveryTextAndByteSetResultIsANewHeapBlockOrEmpty) {
    for (const TextCase& c : TextCases()) {
        SCOPED_TRACE(c.name);
        const uint64_t before = Allocations();
        const uint64_t live = LiveBlocks();
        const ValueRecord result = Call(c.entry, c.args);
        EXPECT_EQ(result.hi, 0u);
        if (c.expected.empty()) {
            EXPECT_EQ(result.lo, 0u);
            EXPECT_EQ(Allocations(), before) << "an empty result allocates nothing";
            continue;
        }
        EXPECT_EQ(Allocations(), before + 1);
        if (c.byteSet) {
            ExpectOwnedBlock(result.lo, 8 + c.expected.size(), c.args);
            const auto* header = Pointer<uint32_t>(result.lo);
            EXPECT_EQ(header[0], 1u);
            EXPECT_EQ(header[1], c.expected.size());
            EXPECT_EQ(std::string(Pointer<char>(result.lo) + 8, header[1]), c.expected);
        } else {
            ExpectOwnedBlock(result.lo, c.expected.size() + 1, c.args);
            EXPECT_EQ(std::string(Pointer<char>(result.lo)), c.expected);
        }
        heap::Free(Pointer<void>(result.lo));
        EXPECT_EQ(LiveBlocks(), live);
    }
}

TEST(TextCommands, ConstantArgumentsGiveHeapCopies) {
    // Texts from the image's constant segment, including its shared empty text.
    static const char kSegment[] = "\0  padded  \0ABC";
    // In runtime memory, where every address fits a word.
    auto* segment = static_cast<char*>(low_memory::Allocate(sizeof kSegment));
    std::memcpy(segment, kSegment, sizeof kSegment);
    heap::AddReadOnlyRange(segment, segment + sizeof kSegment);
    const ValueRecord empty{Word(segment), 0, kTypeText}, padded{Word(segment + 1), 0, kTypeText},
        upper{Word(segment + 12), 0, kTypeText};

    ValueRecord r = Call(TrimBoth, {padded});
    ExpectOwnedBlock(r.lo, 7, {padded});
    EXPECT_STREQ(Pointer<char>(r.lo), "padded");
    heap::Free(Pointer<void>(r.lo));
    r = Call(ToLowerCase, {upper});
    ExpectOwnedBlock(r.lo, 4, {upper});
    EXPECT_STREQ(Pointer<char>(r.lo), "abc");
    heap::Free(Pointer<void>(r.lo));
    EXPECT_EQ(Call(ToText, {empty}).lo, 0u);
    EXPECT_EQ(Call(TextLength, {empty}).lo, 0u);
    EXPECT_EQ(Call(FindText, {upper, empty}).lo, 1u);
    heap::ClearReadOnlyRanges();
    low_memory::Release(segment);
}

// The elements of a text array result, each checked to be its own heap block (or 0 when empty).
std::vector<std::string> SplitElements(const ValueRecord& result) {
    EXPECT_EQ(result.type, kTypeText | kArrayBit);
    const auto* block = Pointer<uint32_t>(result.lo);
    EXPECT_TRUE(low_memory::Contains(block));
    EXPECT_EQ(block[0], 1u);
    EXPECT_EQ(low_memory::SizeOf(block), 8 + 4 * block[1]);
    std::vector<std::string> elements;
    for (uint32_t i = 0; i < block[1]; ++i) {
        const uint32_t element = block[2 + i];
        if (element == 0) {
            elements.emplace_back();
            continue;
        }
        const std::string text = Pointer<char>(element);
        EXPECT_EQ(low_memory::SizeOf(Pointer<void>(element)), text.size() + 1);
        elements.push_back(text);
    }
    heap::FreeArray(kTypeText, Pointer<void>(result.lo));
    return elements;
}

TEST(TextCommands, SplitTextReturnsAnArrayOfOwnedTexts) {
    using Parts = std::vector<std::string>;
    const uint64_t live = LiveBlocks();
    EXPECT_EQ(SplitElements(Call(SplitText, {Text("a,b,")})), (Parts{"a", "b"}));
    EXPECT_EQ(SplitElements(Call(SplitText, {Text(",a")})), (Parts{"", "a"}));
    EXPECT_EQ(SplitElements(Call(SplitText, {Text("a,b,c"), kOmitted, Int(2)})), (Parts{"a", "b"}));
    EXPECT_EQ(SplitElements(Call(SplitText, {Text("a|b"), Text("|")})), (Parts{"a", "b"}));
    EXPECT_EQ(SplitElements(Call(SplitText, {Text("")})), Parts{});
    EXPECT_EQ(SplitElements(Call(SplitText, {Text("a,b"), Text("")})), (Parts{"a,b"}));
    EXPECT_EQ(SplitElements(Call(SplitText, {Text("a,b"), kOmitted, Int(0)})), Parts{});
    EXPECT_EQ(LiveBlocks(), live) << "freeing the arrays freed every element";
}

struct IntCase {
    const char* name;
    CommandEntry entry;
    std::vector<ValueRecord> args;
    int32_t expected;
};

TEST(TextCommands, IntegerResults) {
    const std::vector<IntCase> cases = {
        {"ToInteger full-width digits", ToInteger, {Text("\xA3\xB1\xA3\xB2\xA3\xB3")}, 123},
        {"ToInteger 12abc", ToInteger, {Text("12abc")}, 12},
        {"ToInteger 3.9", ToInteger, {Real(3.9)}, 3},
        {"ToInteger -3.9", ToInteger, {Real(-3.9)}, -3},
        {"ToInteger float", ToInteger, {Float(-7.5f)}, -7},
        {"ToInteger logical", ToInteger, {Bool(true)}, 1},
        {"ToInteger date", ToInteger, {Date(45000)}, 0},
        {"ToInteger omitted", ToInteger, {}, 0},
        {"ToByte", ToByte, {Int(0x1FF)}, 0xFF},
        {"ToByte text", ToByte, {Text("258")}, 2},
        {"TextLength counts bytes", TextLength, {Text(kAh + "ab")}, 4},
        {"TextLength empty", TextLength, {Text("")}, 0},
        {"FindText", FindText, {Text("abcabc"), Text("c")}, 3},
        {"FindText empty sought", FindText, {Text("abc"), Text(""), Int(3)}, 1},
        {"FindText empty sought in empty text", FindText, {Text(""), Text("")}, -1},
        {"FindText start 0", FindText, {Text("abc"), Text("a"), Int(0)}, 1},
        {"FindText start 1", FindText, {Text("abc"), Text("a"), Int(1)}, 1},
        {"FindText start past the end", FindText, {Text("abc"), Text("c"), Int(4)}, -1},
        {"FindText trail byte", FindText, {Text(kAh), Text("\xA1")}, -1},
        {"FindText ignore case 1", FindText, {Text("xAy"), Text("a"), kOmitted, Bool(true)}, 2},
        {"FindText ignore case needs exactly 1", FindText, {Text("xAy"), Text("a"), kOmitted, {2, 0, kTypeBool}}, -1},
        {"FindTextBackward whole", FindTextBackward, {Text("abcabc"), Text("bc")}, 5},
        {"FindTextBackward limit", FindTextBackward, {Text("abcabc"), Text("bc"), Int(6)}, 2},
        {"FindTextBackward limit exactly fits", FindTextBackward, {Text("abcabc"), Text("bc"), Int(4)}, 2},
        {"FindTextBackward limit too tight", FindTextBackward, {Text("abcabc"), Text("bc"), Int(3)}, -1},
        {"FindTextBackward start 1", FindTextBackward, {Text("abc"), Text("a"), Int(1)}, -1},
        {"ByteSetLength", ByteSetLength, {Bytes({1, 2, 3})}, 3},
        {"ByteSetLength absent", ByteSetLength, {{0, 0, kTypeBytes}}, 0},
        {"FindBytes", FindBytes, {Bytes({1, 2, 1, 2}), Bytes({1, 2}), Int(2)}, 3},
        {"FindBytes empty sought", FindBytes, {Bytes({1, 2}), Bytes({})}, -1},
        {"BitAnd", BitAnd, {Int(0xFF), Int(0x0F0), Int(0x30)}, 0x30},
        {"BitAnd single", BitAnd, {Int(0x1234)}, 0x1234},
        {"BitAnd skips omitted", BitAnd, {Int(6), kOmitted, Int(3)}, 2},
        {"BitOr", BitOr, {Int(1), Int(2), Int(8)}, 11},
        {"BitXor", BitXor, {Int(0xF), Int(0x3), Int(0x1)}, 0xD},
        {"BitNot", BitNot, {Int(0)}, -1},
        {"ShiftRight -8 by 1", ShiftRight, {Int(-8), Int(1)}, -4},
        {"ShiftRight -8 by 33", ShiftRight, {Int(-8), Int(33)}, -4},
        {"ShiftRight 256 by 4", ShiftRight, {Int(256), Int(4)}, 16},
        {"ShiftRight by -1 is by 31", ShiftRight, {Int(INT32_MIN), Int(-1)}, -1},
    };
    for (const IntCase& c : cases) {
        SCOPED_TRACE(c.name);
        const uint64_t before = Allocations();
        const ValueRecord result = Call(c.entry, c.args);
        EXPECT_EQ(static_cast<int32_t>(result.lo), c.expected);
        EXPECT_EQ(Allocations(), before);
    }
}

TEST(TextCommands, RandomNumbers) {
    Call(SetRandomSeed, {Int(1)});
    EXPECT_EQ(Call(GetRandom, {kOmitted, Int(32767)}).lo, 41u);
    for (int k = 0; k < 200; ++k) {
        const auto r = static_cast<int32_t>(Call(GetRandom, {Int(10), Int(5)}).lo);
        ASSERT_GE(r, 5);
        ASSERT_LE(r, 10);
    }
    for (int k = 0; k < 200; ++k) {
        const auto r = static_cast<int32_t>(Call(GetRandom, {}).lo);
        ASSERT_GE(r, 0);
        ASSERT_LE(r, 32767);
    }
    // Two clock seeds within one tick differ.
    Call(SetRandomSeed, {});
    const uint32_t a1 = Call(GetRandom, {}).lo, a2 = Call(GetRandom, {}).lo;
    Call(SetRandomSeed, {kOmitted});
    const uint32_t b1 = Call(GetRandom, {}).lo, b2 = Call(GetRandom, {}).lo;
    EXPECT_TRUE(a1 != b1 || a2 != b2);
}

}  // namespace
}  // namespace ruvelto::core_commands
