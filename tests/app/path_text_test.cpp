// Windows paths as GBK text: separators and lengths counted by character.
#include "app/path_text.h"

#include <gtest/gtest.h>

namespace ruvelto::app {
namespace {

// 運 is 0xDF 0x5C in GBK: its trail byte is the backslash's.
const std::string kYun = "\xDF\x5C";
// 图片, two characters of four bytes.
const std::string kPicture = "\xCD\xBC\xC6\xAC";

TEST(PathText, ATrailByteThatLooksLikeABackslashIsNotOne) {
    const struct {
        std::string path;
        bool endsWithBackslash;
        std::string withBackslash, withoutBackslashes;
    } cases[] = {
        {"C:\\out", false, "C:\\out\\", "C:\\out"},
        {"C:\\out\\\\", true, "C:\\out\\\\", "C:\\out"},
        {"C:\\" + kYun, false, "C:\\" + kYun + "\\", "C:\\" + kYun},
        {"C:\\" + kYun + "\\", true, "C:\\" + kYun + "\\", "C:\\" + kYun},
        {"", false, "\\", ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        EXPECT_EQ(EndsWithBackslash(c.path), c.endsWithBackslash);
        EXPECT_EQ(WithBackslash(c.path), c.withBackslash);
        EXPECT_EQ(WithoutTrailingBackslashes(c.path), c.withoutBackslashes);
    }
}

TEST(PathText, LengthsCountCharactersNotBytes) {
    EXPECT_EQ(PathCharacterCount("C:\\a b.c.jpg"), 12u);
    EXPECT_EQ(PathCharacterCount("C:\\" + kPicture + "\\" + kYun), 7u);
    // A lead byte at the very end is a character of its own.
    EXPECT_EQ(PathCharacterCount("ab\xCD"), 3u);
    // 200 Chinese characters make 400 bytes and still fit the platform's limit.
    std::string chinese = "C:\\";
    for (int i = 0; i < 100; ++i) chinese += kPicture;
    EXPECT_LE(PathCharacterCount(chinese), kLongestPath);
    EXPECT_GT(chinese.size(), kLongestPath);
}

TEST(PathText, FoldersOnTheWayStartBelowTheRoot) {
    using Folders = std::vector<std::string>;
    EXPECT_EQ(FoldersOnTheWay("C:\\a\\b c\\"), (Folders{"C:\\a", "C:\\a\\b c"}));
    EXPECT_EQ(FoldersOnTheWay("C:\\" + kYun + "\\x"), (Folders{"C:\\" + kYun, "C:\\" + kYun + "\\x"}));
    EXPECT_EQ(FoldersOnTheWay("C:\\"), Folders{});
    EXPECT_EQ(FoldersOnTheWay("C:"), Folders{});
    EXPECT_EQ(FoldersOnTheWay("\\\\server\\share\\a\\b"), (Folders{"\\\\server\\share\\a", "\\\\server\\share\\a\\b"}));
    EXPECT_EQ(FoldersOnTheWay("\\\\server\\share"), Folders{});
}

}  // namespace
}  // namespace ruvelto::app
