// The text of the runtime error box for every combination of code and message, and the fixed
// messages that application code selects by number.
#include <gtest/gtest.h>

#include "runtime/runtime_error.h"

namespace ruvelto {
namespace {

const std::string kHead = "\xD4\xCB\xD0\xD0\xCA\xB1\xB3\xF6\xB4\xED!\r\n\r\n";  // 运行时出错!
const std::string kCode = "\xB4\xED\xCE\xF3\xB4\xFA\xC2\xEB\xA3\xBA";            // 错误代码：
const std::string kMessage = "\xB4\xED\xCE\xF3\xD0\xC5\xCF\xA2\xA3\xBA";         // 错误信息：

TEST(RuntimeErrorText, CodeAndMessageEachAppearOnlyWhenGiven) {
    struct Case {
        const char* message;
        int32_t code;
        std::string text;
    };
    const Case cases[] = {
        {"", 0, kHead},
        {nullptr, 0, kHead},
        {"", 6, kHead + kCode + "6\r\n\r\n"},
        {"m", 0, kHead + kMessage + "m\r\n"},
        {"m", -1, kHead + kCode + "-1\r\n\r\n" + kMessage + "m\r\n"},
    };
    for (const Case& c : cases) EXPECT_EQ(RuntimeErrorText(c.message, c.code), c.text) << c.code;
}

TEST(RuntimeErrorText, CodesOneToElevenHaveTheirMessages) {
    EXPECT_STREQ(RuntimeErrorMessage(1),
                 "\xCA\xFD\xD7\xE9\xB3\xC9\xD4\xB1\xD2\xFD\xD3\xC3\xCF\xC2\xB1\xEA\xB3\xAC\xB3\xF6\xB6\xA8\xD2\xE5\xB7\xB6\xCE\xA7");
    EXPECT_STREQ(RuntimeErrorMessage(11),
                 "\xCB\xF9\xCC\xE1\xB9\xA9\xB2\xCE\xCA\xFD\xB5\xC4\xCA\xFD\xBE\xDD\xC0\xE0\xD0\xCD\xB2\xBB\xB7\xFB\xBA\xCF\xD2\xAA\xC7\xF3");
    for (int32_t code = 1; code <= 11; ++code) EXPECT_NE(RuntimeErrorMessage(code)[0], '\0') << code;
    for (int32_t code : {0, 12, -1, 0x7FFFFFFF}) EXPECT_STREQ(RuntimeErrorMessage(code), "") << code;
}

}  // namespace
}  // namespace ruvelto
