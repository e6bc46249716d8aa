// The status text of a long run: quiet for 5 seconds, then at most twice a second, the time left
// from the average time a picture has taken.
#include "app/time_left.h"

#include <gtest/gtest.h>

namespace ruvelto::app {
namespace {

const std::string kSeconds = " \xC3\xEB";        // 秒
const std::string kMinutes = " \xB7\xD6\xD6\xD3";  // 分钟

std::string Status(int done, int total, const std::string& left) {
    return "\xD2\xD1\xB4\xA6\xC0\xED " + std::to_string(done) + "/" + std::to_string(total) + "\xA3\xAC\xCA\xA3\xD3\xE0\xD4\xBC " + left;
}

TEST(TimeLeft, SecondsBelowAMinuteElseMinutesRoundedUp) {
    const struct {
        int64_t ms;
        std::string text;
    } cases[] = {{0, "0" + kSeconds},      {1, "1" + kSeconds},       {59000, "59" + kSeconds},
                 {59001, "1" + kMinutes},  {60000, "1" + kMinutes},   {61000, "2" + kMinutes},
                 {3600000, "60" + kMinutes}, {-5, "0" + kSeconds}};
    for (const auto& c : cases) EXPECT_EQ(TimeLeftText(c.ms), c.text) << c.ms;
}

TEST(TimeLeft, QuietForFiveSecondsThenAtMostTwiceASecond) {
    RunProgressText progress(100, 1000);
    EXPECT_EQ(progress.Next(10, 1000 + 5000), "");  // not longer than 5 seconds yet
    EXPECT_FALSE(progress.Shown());
    // 10 pictures in 6 s: 90 left take 54 s.
    EXPECT_EQ(progress.Next(10, 1000 + 6000), Status(10, 100, "54" + kSeconds));
    EXPECT_TRUE(progress.Shown());
    EXPECT_EQ(progress.Next(11, 1000 + 6499), "");  // within half a second of the last text
    // 20 pictures in 6.5 s: 80 left take 26 s.
    EXPECT_EQ(progress.Next(20, 1000 + 6500), Status(20, 100, "26" + kSeconds));
    // Slow pictures: 21 in 60 s, 79 left take 225.7 s, four minutes.
    EXPECT_EQ(progress.Next(21, 1000 + 60000), Status(21, 100, "4" + kMinutes));
    EXPECT_EQ(progress.Next(100, 1000 + 70000), Status(100, 100, "0" + kSeconds));
}

}  // namespace
}  // namespace ruvelto::app
