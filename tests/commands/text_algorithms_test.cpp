#include "commands/text_algorithms.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

namespace ruvelto::commands {
namespace {

// GBK pieces: 啊 is B0 A1; a character whose trail byte is 'A' (B0 41); the full-width space.
const std::string kAh = "\xB0\xA1";
const std::string kLeadWithA = "\xB0\x41";
const std::string kWideSpace = "\xA1\xA1";

struct FindCase {
    const char* name;
    std::string text;
    std::string sought;
    std::optional<int32_t> start;
    bool ignoreCase;
    int32_t forward;
    int32_t backward;
};

TEST(FindText, ForwardAndBackwardOverOneTable) {
    const std::vector<FindCase> cases = {
        {"plain", "abcabc", "bc", std::nullopt, false, 2, 5},
        {"absent", "abcabc", "x", std::nullopt, false, -1, -1},
        {"empty sought in text", "abc", "", std::nullopt, false, 1, 1},
        {"empty sought, start inside", "abc", "", 3, false, 1, 1},
        {"empty sought, start past end", "abc", "", 4, false, -1, 1},
        {"empty sought in empty text", "", "", std::nullopt, false, -1, -1},
        {"start 0", "abcabc", "abc", 0, false, 1, -1},
        {"start 1", "abcabc", "abc", 1, false, 1, -1},
        {"start negative", "abcabc", "c", -7, false, 3, -1},
        {"start on the last byte", "abcabc", "c", 6, false, 6, 3},
        {"start past the end", "abcabc", "c", 7, false, -1, 6},
        {"start far past the end", "abcabc", "c", 1000, false, -1, 6},
        {"backward limit cuts a match", "abcabc", "bc", 6, false, -1, 2},
        {"backward start 2 keeps one byte", "abc", "a", 2, false, -1, 1},
        {"sought longer than text", "ab", "abc", std::nullopt, false, -1, -1},
        {"case differs", "Hello", "LL", std::nullopt, false, -1, -1},
        {"ignore case", "Hello", "LL", std::nullopt, true, 3, 3},
        {"trail byte inside a character", "x" + kAh, "\xA1", std::nullopt, false, -1, -1},
        {"ASCII trail byte inside a character", kLeadWithA, "A", std::nullopt, true, -1, -1},
        {"after a double-byte character", kAh + "abc", "b", std::nullopt, false, 4, 4},
        {"double-byte sought", "a" + kAh + kAh, kAh, std::nullopt, false, 2, 4},
        {"lone lead byte last", "ab\xB0", "\xB0", std::nullopt, false, 3, 3},
    };
    for (const FindCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(FindText(c.text, c.sought, c.start, c.ignoreCase), c.forward);
        EXPECT_EQ(FindTextBackward(c.text, c.sought, c.start, c.ignoreCase), c.backward);
    }
}

TEST(FindText, StartingOnATrailByteWalksFromThere) {
    // A start position is taken as it is: from a trail byte the walk begins on that byte.
    EXPECT_EQ(FindText(kAh + "x", "\xA1" "x", 2, false), 2);
}

TEST(CutText, CountsPlainBytesAndClamps) {
    const std::string text = kAh + "bc";  // 4 bytes
    EXPECT_EQ(LeftText(text, 1), "\xB0");  // a lone lead byte
    EXPECT_EQ(LeftText(text, 3), kAh + "b");
    EXPECT_EQ(LeftText(text, 99), text);
    EXPECT_EQ(LeftText(text, 0), "");
    EXPECT_EQ(LeftText(text, -1), "");
    EXPECT_EQ(RightText(text, 3), "\xA1" "bc");
    EXPECT_EQ(RightText(text, 99), text);
    EXPECT_EQ(RightText(text, 0), "");
    EXPECT_EQ(RightText(text, INT32_MIN), "");
    EXPECT_EQ(MiddleText("abcdef", 2, 3), "bcd");
    EXPECT_EQ(MiddleText("abcdef", 5, 99), "ef");
    EXPECT_EQ(MiddleText("abcdef", 6, 1), "f");
    EXPECT_EQ(MiddleText("abcdef", 0, 3), "");
    EXPECT_EQ(MiddleText("abcdef", 7, 3), "");
    EXPECT_EQ(MiddleText("abcdef", 2, 0), "");
    EXPECT_EQ(MiddleText("abcdef", INT32_MIN, 3), "");
    EXPECT_EQ(MiddleText("", 1, 3), "");
}

TEST(TrimBoth, RemovesMixedSpaceRunsAndKeepsTabs) {
    const struct {
        std::string text;
        std::string trimmed;
    } cases[] = {
        {kWideSpace + " " + kWideSpace + "\ta b" + " " + kWideSpace + "  ", "\ta b"},
        {"  x\t", "x\t"},
        {kWideSpace + kAh + kWideSpace, kAh},
        {" " + kWideSpace + " ", ""},
        {"", ""},
        {"a\r\n", "a\r\n"},
        {"ab\xB0", "ab"},        // a lone lead byte at the end goes
        {"ab \xB0", "ab"},       // and the spaces it stood behind are trailing
        {kAh + "\xA1", kAh},     // the trail A1 of 啊 does not pair with the lone lead after it
        {"\xA1 x", "\xA1 x"},    // A1 20 is one character, not a space
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(TrimBoth(c.text), c.trimmed);
    }
}

TEST(LowerCase, LowersAsciiAndStepsOverDoubleByteCharacters) {
    const struct {
        std::string text;
        std::string lowered;
    } cases[] = {
        {"ABC xyZ@[", "abc xyz@["},
        {kLeadWithA + "A", kLeadWithA + "a"},
        {"A\xC1", "a\xC1"},
        {"\xC1", "\xC1"},
        {"", ""},
    };
    for (const auto& c : cases) {
        std::string s = c.text;
        LowerCaseInPlace(s.data(), s.size());
        EXPECT_EQ(s, c.lowered) << c.text;
    }
}

TEST(ReplaceSubtext, MainPathsLimitsAndCase) {
    struct Case {
        const char* name;
        std::string text, sought, replacement;
        ReplaceOptions options;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"every occurrence", "a-b-c", "-", "+", {}, "a+b+c"},
        {"replacement longer", "a-b", "-", "<=>", {}, "a<=>b"},
        {"omitted replacement deletes", "a-b-c", "-", "", {}, "abc"},
        {"count 0 leaves the text", "a-b-c", "-", "+", {std::nullopt, 0, false}, "a-b-c"},
        {"count 1", "a-b-c", "-", "+", {std::nullopt, 1, false}, "a+b-c"},
        {"count -1 is no limit", "a-b-c", "-", "+", {std::nullopt, -1, false}, "a+b+c"},
        {"other negative count is no limit", "a-b-c", "-", "+", {std::nullopt, -5, false}, "a+b+c"},
        {"case ignored by default", "abc ABC", "ABC", "x", {}, "x x"},
        {"case sensitive", "abc ABC", "ABC", "x", {std::nullopt, std::nullopt, true}, "abc x"},
        {"start 2", "aaa", "a", "b", {2, std::nullopt, false}, "abb"},
        {"start 0", "aaa", "a", "b", {0, std::nullopt, false}, "bbb"},
        {"start past the end", "aaa", "a", "b", {4, std::nullopt, false}, "aaa"},
        {"empty sought", "aaa", "", "b", {}, "aaa"},
        {"empty text", "", "a", "b", {}, ""},
        {"sought longer than text", "ab", "abc", "x", {}, "ab"},
        {"no match on a trail byte", kLeadWithA + "a", "A", "x", {}, kLeadWithA + "x"},
        {"double-byte sought", kAh + "x" + kAh, kAh, "y", {}, "yxy"},
        {"lone lead byte stepped onto is dropped", "ab\xB0", "z", "y", {}, "ab"},
        {"lone lead byte in the unsearched tail stays", "ab\xB0", "zz", "y", {}, "ab\xB0"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ReplaceSubtext(c.text, c.sought, c.replacement, c.options), c.expected);
    }
}

std::vector<std::string> Split(std::string_view text, std::optional<std::string_view> separator,
                               std::optional<int32_t> maxParts) {
    std::vector<std::string> parts;
    SplitTextParts(text, separator, maxParts, [&parts](std::string_view p) { parts.emplace_back(p); });
    return parts;
}

TEST(SplitText, SeparatorsLimitsAndEmptyParts) {
    using Parts = std::vector<std::string>;
    const auto none = std::nullopt;
    EXPECT_EQ(Split("a,b,", none, none), (Parts{"a", "b"}));
    EXPECT_EQ(Split(",a", none, none), (Parts{"", "a"}));
    EXPECT_EQ(Split("a,,b", none, none), (Parts{"a", "", "b"}));
    EXPECT_EQ(Split("a,b,c", none, 2), (Parts{"a", "b"}));
    EXPECT_EQ(Split("a,b", none, 1), (Parts{"a"}));
    EXPECT_EQ(Split("a,b", none, 5), (Parts{"a", "b"}));
    EXPECT_EQ(Split("a,b", none, 0), Parts{});
    EXPECT_EQ(Split("a,b", none, -3), Parts{});
    EXPECT_EQ(Split("", none, none), Parts{});
    EXPECT_EQ(Split("", "", none), Parts{});
    EXPECT_EQ(Split("a,b", "", none), (Parts{"a,b"}));
    EXPECT_EQ(Split("a::b:c", "::", none), (Parts{"a", "b:c"}));
    EXPECT_EQ(Split("abc", "x", none), (Parts{"abc"}));
    // "\xB0," is one character: its trail byte is not a separator.
    EXPECT_EQ(Split("\xB0,x,y", none, none), (Parts{"\xB0,x", "y"}));
}

TEST(HalfWidth, MapsFullWidthFormsAndDropsSpacesOnRequest) {
    const struct {
        std::string text;
        bool dropSpaces;
        std::string expected;
    } cases[] = {
        {"\xA3\xB1\xA3\xB2\xA3\xB3", false, "123"},
        {"\xA3\xC1\xA3\xE1\xA3\xA1\xA3\xFE", false, "Aa!~"},
        {"\xA1\xAB\xA1\xEE\xA1\xEF", false, "~**"},
        {kWideSpace + "a b", false, " a b"},
        {kWideSpace + "a b", true, "ab"},
        {kAh + "\xA1\xA2", false, kAh + "\xA1\xA2"},  // other characters stay
        {"\xA3\xFF", false, "\xA3\xFF"},
        {"\x81 ", true, "\x81 "},  // a trail byte of 0x20 is no space
        {"ab\xB0", false, "ab"},   // a lead byte standing last ends the text
        {"", false, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        std::string out(c.text.size() + 1, '?');
        const size_t n = ToHalfWidth(c.text, out.data(), c.dropSpaces);
        EXPECT_EQ(out[n], '\0');
        EXPECT_EQ(out.substr(0, n), c.expected);
    }
}

}  // namespace
}  // namespace ruvelto::commands
