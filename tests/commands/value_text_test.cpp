#include "commands/value_text.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "commands/calendar.h"

namespace ruvelto::commands {
namespace {

ValueRecord FloatRecord(float f) {
    ValueRecord r{0, 0, kTypeFloat};
    std::memcpy(&r.lo, &f, 4);
    return r;
}

ValueRecord DoubleRecord(double d, uint32_t type = kTypeDouble) {
    uint64_t bits;
    std::memcpy(&bits, &d, 8);
    return {static_cast<uint32_t>(bits), static_cast<uint32_t>(bits >> 32), type};
}

std::string Number(const ValueRecord& r) {
    char out[kNumberTextCapacity];
    const size_t n = FormatNumber(r, out);
    EXPECT_EQ(std::strlen(out), n);
    return {out, n};
}

TEST(FormatNumber, EachNumericType) {
    const struct {
        ValueRecord value;
        const char* text;
    } cases[] = {
        {{255, 0, kTypeByte}, "255"},
        {{0xFFFF, 0, kTypeShort}, "-1"},
        {{0x7FFF, 0, kTypeShort}, "32767"},
        {{static_cast<uint32_t>(-5), 0, kTypeInt}, "-5"},
        {{0x80000000u, 0, kTypeInt}, "-2147483648"},
        {{0xFFFFFFFFu, 0xFFFFFFFFu, kTypeLong}, "-1"},
        {{0, 0x80000000u, kTypeLong}, "-9223372036854775808"},
        {{0, 1, kTypeLong}, "4294967296"},
        {FloatRecord(0.1f), "0.1"},
        {FloatRecord(0.3f), "0.3"},
        {FloatRecord(1.0f / 3), "0.333333"},
        {FloatRecord(-2.5f), "-2.5"},
        {FloatRecord(0.5f), "0.5"},
        {FloatRecord(0.0f), "0"},
        {FloatRecord(-0.0f), "-0"},  // the sign of zero stays
        {FloatRecord(12345.678f), "12345.7"},
        {FloatRecord(123456789.0f), "1.23457e+08"},
        {FloatRecord(9.999996f), "10"},
        {FloatRecord(1e-10f), "1e-10"},
        {FloatRecord(3.4e38f), "3.4e+38"},
        {FloatRecord(16777216.0f), "1.67772e+07"},
        {FloatRecord(std::numeric_limits<float>::infinity()), "inf"},
        {DoubleRecord(1.0 / 3), "0.3333333333333"},
        {DoubleRecord(0.1), "0.1"},
        {DoubleRecord(-0.0), "-0"},
        {DoubleRecord(-1e20), "-1e+20"},
        {DoubleRecord(1234567890123456.0), "1.234567890123e+15"},
        {{1, 0, kTypeBool}, ""},
        {DoubleRecord(1.0, kTypeDateTime), ""},
    };
    for (const auto& c : cases) EXPECT_EQ(Number(c.value), c.text) << "type " << std::hex << c.value.type;
}

TEST(FormatNumber, FloatRoundingKeepsSixSignificantDigits) {
    // Half-way digits round up on the magnitude, symmetric in sign.
    EXPECT_DOUBLE_EQ(RoundFloatToSixDigits(1.0000049f), 1.0);
    EXPECT_DOUBLE_EQ(RoundFloatToSixDigits(1.0000051f), 1.00001);
    EXPECT_DOUBLE_EQ(RoundFloatToSixDigits(-1.0000051f), -1.00001);
    EXPECT_DOUBLE_EQ(RoundFloatToSixDigits(123.4566f), 123.457);
    EXPECT_DOUBLE_EQ(RoundFloatToSixDigits(123.4565f), 123.456);  // stored as 123.456497...
    EXPECT_TRUE(std::isnan(RoundFloatToSixDigits(std::numeric_limits<float>::quiet_NaN())));
}

// GBK 年 月 日 时 分 秒
#define Y "\xC4\xEA"
#define M "\xD4\xC2"
#define D "\xC8\xD5"
#define H "\xCA\xB1"
#define MI "\xB7\xD6"
#define S "\xC3\xEB"

constexpr double kSecond = 1.0 / 86400;

TEST(FormatDateTime, ShowsTheTimeOnlyDownToItsLastNonZeroPart) {
    const struct {
        double value;
        const char* full;
        const char* date;
        const char* time;
    } cases[] = {
        {45000, "2023" Y "3" M "15" D, "2023" Y "3" M "15" D, "0" H "0" MI "0" S},
        {45000.5, "2023" Y "3" M "15" D "12" H, "2023" Y "3" M "15" D, "12" H "0" MI "0" S},
        {45000 + (13 * 3600 + 5 * 60) * kSecond, "2023" Y "3" M "15" D "13" H "5" MI, "2023" Y "3" M "15" D,
         "13" H "5" MI "0" S},
        {45000 + (13 * 3600 + 30) * kSecond, "2023" Y "3" M "15" D "13" H "0" MI "30" S, "2023" Y "3" M "15" D,
         "13" H "0" MI "30" S},
        {0, "1899" Y "12" M "30" D, "1899" Y "12" M "30" D, "0" H "0" MI "0" S},
        {-1.25, "1899" Y "12" M "29" D "6" H, "1899" Y "12" M "29" D, "6" H "0" MI "0" S},
        {36526 - 0.1 * kSecond, "2000" Y "1" M "1" D, "2000" Y "1" M "1" D, "0" H "0" MI "0" S},
        {-1e9, "100" Y "1" M "1" D, "100" Y "1" M "1" D, "0" H "0" MI "0" S},
        {2958465.75, "9999" Y "12" M "31" D, "9999" Y "12" M "31" D, "0" H "0" MI "0" S},
        {std::numeric_limits<double>::infinity(), "9999" Y "12" M "31" D, "9999" Y "12" M "31" D, "0" H "0" MI "0" S},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        char out[kDateTimeTextCapacity];
        EXPECT_EQ(std::string(out, FormatDateTime(c.value, out)), c.full);
        EXPECT_EQ(std::string(out, FormatDate(c.value, out)), c.date);
        EXPECT_EQ(std::string(out, FormatTime(c.value, out)), c.time);
    }
}

TEST(Calendar, SplitsLeapDaysAndTheClampEnds) {
    const CalendarTime leap = SplitDateTime(36585);  // 2000-02-29
    EXPECT_EQ(leap.year, 2000);
    EXPECT_EQ(leap.month, 2);
    EXPECT_EQ(leap.day, 29);
    const CalendarTime last = SplitDateTime(kLatestDateTime - kSecond);
    EXPECT_EQ(last.day, 30);
    EXPECT_EQ(last.hour, 23);
    EXPECT_EQ(last.minute, 59);
    EXPECT_EQ(last.second, 59);
    const CalendarTime nan = SplitDateTime(std::numeric_limits<double>::quiet_NaN());
    EXPECT_EQ(nan.year, 1899);
}

}  // namespace
}  // namespace ruvelto::commands
