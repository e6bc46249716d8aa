// The portable parts of the system commands: where a registry path splits, what a message box
// says for each type of value, and date-times made from calendar fields.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "commands/calendar.h"
#include "commands/message_text.h"
#include "commands/registry_path.h"

namespace ruvelto::commands {
namespace {

TEST(RegistryPath, SplitsAtTheLastBackslashThatIsNotATrailByte) {
    const std::string cage = "\xBB\x5C";     // 籠, trail byte 0x5C
    const std::string shallow = "\x9C\x5C";  // 淺
    struct Case {
        std::string path, key, value;
    };
    const Case cases[] = {
        {"SOFTWARE\\Quillar\\Path", "SOFTWARE\\Quillar", "Path"},
        {"Value", "", "Value"},
        {"", "", ""},
        {"Key\\", "Key", ""},            // the key's default value
        {"\\Value", "", "Value"},
        {"A\\" + cage + "\\" + shallow, "A\\" + cage, shallow},
        {"A\\" + shallow, "A", shallow},
        {cage + shallow, "", cage + shallow},  // no lone backslash at all
        {"A\\B\\\xBB", "A\\B", "\xBB"},          // a lead byte standing last
    };
    for (const Case& c : cases) {
        const RegistryPath split = SplitRegistryPath(c.path);
        EXPECT_EQ(split.key, c.key) << c.path;
        EXPECT_EQ(split.value, c.value) << c.path;
    }
}

ValueView Scalar(uint32_t type, uint32_t lo, uint32_t hi = 0) { return {type, lo, hi, nullptr}; }
ValueView Double(double d, uint32_t type = kTypeDouble) {
    uint64_t bits;
    std::memcpy(&bits, &d, 8);
    return Scalar(type, static_cast<uint32_t>(bits), static_cast<uint32_t>(bits >> 32));
}
ValueView TextView(const std::string& s) {
    return {kTypeText, 0, 0, reinterpret_cast<const uint8_t*>(s.c_str())};
}

TEST(MessageText, EachTypeOfValueAsTheBoxShowsIt) {
    const uint8_t bytes[] = {1, 0, 0, 0, 2, 0, 0, 0, '4', '2'};
    const std::string picture = "\xCD\xBC\xC6\xAC";  // 图片
    struct Case {
        const char* name;
        ValueView value;
        std::string text;
    };
    const Case cases[] = {
        {"int", Scalar(kTypeInt, 42), "42"},
        {"negative short", Scalar(kTypeShort, 0xFFFE), "-2"},
        {"byte", Scalar(kTypeByte, 200), "200"},
        {"double", Double(-3.5), "-3.5"},
        {"true", Scalar(kTypeBool, 1), "\xD5\xE6"},
        {"false", Scalar(kTypeBool, 0), "\xBC\xD9"},
        {"date-time", Double(45418.5, kTypeDateTime), "2024\xC4\xEA" "5\xD4\xC2" "6\xC8\xD5" "12\xCA\xB1"},
        {"text", TextView(picture), picture},
        {"empty text", Scalar(kTypeText, 0), ""},
        {"byte set", {kTypeBytes, 0, 0, bytes}, ""},
        {"window", Scalar(kTypeWindow, 0x52000001, 0x06000001), ""},
        {"omitted", Scalar(kTypeNone, 0), ""},
    };
    for (const Case& c : cases) EXPECT_EQ(MessageText(c.value), c.text) << c.name;
}

TEST(MessageText, KeepsAtMost99BytesWithoutSplittingACharacter) {
    const std::string ascii(150, 'a'), exact(99, 'b');
    EXPECT_EQ(MessageText(TextView(ascii)), std::string(99, 'a'));
    EXPECT_EQ(MessageText(TextView(exact)), exact);
    std::string gbk;
    for (int i = 0; i < 60; ++i) gbk += "\xB0\xA1";  // 啊
    const std::string shifted = "a" + gbk;
    EXPECT_EQ(MessageText(TextView(gbk)), gbk.substr(0, 98));
    EXPECT_EQ(MessageText(TextView(shifted)), shifted.substr(0, 99));
}

TEST(JoinDateTime, IsTheInverseOfSplitDateTime) {
    for (double value : {0.0, 1.5, 44259.2132754629, 2958465.0, -1.25, -657434.0, 36585.999988425926}) {
        const CalendarTime fields = SplitDateTime(value);
        EXPECT_NEAR(JoinDateTime(fields), value, 0.5 / 86400) << value;
    }
    EXPECT_EQ(JoinDateTime(CalendarTime{2021, 3, 4, 0, 0, 0}), 44259.0);
}

}  // namespace
}  // namespace ruvelto::commands
