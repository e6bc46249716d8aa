#include "commands/value_text.h"

#include <cinttypes>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "commands/calendar.h"

namespace ruvelto::commands {
namespace {

// GBK: 年 月 日 时 分 秒
#define RUVELTO_YEAR "\xC4\xEA"
#define RUVELTO_MONTH "\xD4\xC2"
#define RUVELTO_DAY "\xC8\xD5"
#define RUVELTO_HOUR "\xCA\xB1"
#define RUVELTO_MINUTE "\xB7\xD6"
#define RUVELTO_SECOND "\xC3\xEB"

float FloatOf(const ValueRecord& value) {
    float f;
    std::memcpy(&f, &value.lo, sizeof f);
    return f;
}

size_t Written(int n) { return n > 0 ? static_cast<size_t>(n) : 0; }

size_t WriteDate(const CalendarTime& t, char* out, size_t capacity) {
    return Written(std::snprintf(out, capacity, "%d" RUVELTO_YEAR "%d" RUVELTO_MONTH "%d" RUVELTO_DAY,
                                 t.year, t.month, t.day));
}

}  // namespace

double RoundFloatToSixDigits(float f) {
    const double magnitude = std::fabs(static_cast<double>(f));
    uint32_t bits;
    std::memcpy(&bits, &f, sizeof bits);
    const int exponent = static_cast<int>((bits >> 23) & 0xFF) - 127;
    // n estimates the decimal exponent; x brings the magnitude into [1, 10) around it.
    int n = static_cast<int>(exponent * 0.30102999566398120);  // log10(2), truncated toward 0
    double p = std::pow(10.0, n < 0 ? -n : n);
    double x = n > 0 ? magnitude / p : magnitude * p;
    if (x >= 10) {
        n += 1;
        p *= 10;
        x *= 1e4;
    } else if (x < 1) {
        n -= 1;
        p *= 10;
        x *= 1e6;
    } else {
        x *= 1e5;
    }
    double digits;
    const double fraction = std::modf(x, &digits);  // doubles throughout: infinities pass through
    if (fraction >= 0.5) digits += 1;
    const double rounded = n > 0 ? digits * p * 1e-5 : digits / (p * 1e5);
    return std::signbit(f) ? -rounded : rounded;  // -0 keeps its sign
}

double DoubleOfRecord(uint32_t lo, uint32_t hi) {
    const uint64_t bits = (uint64_t{hi} << 32) | lo;
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

size_t FormatNumber(const ValueRecord& value, char* out) {
    const size_t capacity = kNumberTextCapacity;
    switch (value.type) {
    case kTypeByte:
        return Written(std::snprintf(out, capacity, "%u", value.lo & 0xFFu));
    case kTypeShort:
        return Written(std::snprintf(out, capacity, "%d", static_cast<int>(static_cast<int16_t>(value.lo))));
    case kTypeInt:
        return Written(std::snprintf(out, capacity, "%d", static_cast<int>(static_cast<int32_t>(value.lo))));
    case kTypeLong: {
        const auto v = static_cast<int64_t>((uint64_t{value.hi} << 32) | value.lo);
        return Written(std::snprintf(out, capacity, "%" PRId64, v));
    }
    case kTypeFloat:
        return Written(std::snprintf(out, capacity, "%.6g", RoundFloatToSixDigits(FloatOf(value))));
    case kTypeDouble:
        return Written(std::snprintf(out, capacity, "%.13g", DoubleOfRecord(value.lo, value.hi)));
    default:
        out[0] = '\0';
        return 0;
    }
}

size_t FormatDateTime(double dateTime, char* out) {
    const CalendarTime t = SplitDateTime(dateTime);
    const size_t capacity = kDateTimeTextCapacity;
    size_t n = WriteDate(t, out, capacity);
    if (t.second != 0) {
        n += Written(std::snprintf(out + n, capacity - n, "%d" RUVELTO_HOUR "%d" RUVELTO_MINUTE "%d" RUVELTO_SECOND,
                                   t.hour, t.minute, t.second));
    } else if (t.minute != 0) {
        n += Written(std::snprintf(out + n, capacity - n, "%d" RUVELTO_HOUR "%d" RUVELTO_MINUTE, t.hour, t.minute));
    } else if (t.hour != 0) {
        n += Written(std::snprintf(out + n, capacity - n, "%d" RUVELTO_HOUR, t.hour));
    }
    return n;
}

size_t FormatDate(double dateTime, char* out) {
    return WriteDate(SplitDateTime(dateTime), out, kDateTimeTextCapacity);
}

size_t FormatTime(double dateTime, char* out) {
    const CalendarTime t = SplitDateTime(dateTime);
    return Written(std::snprintf(out, kDateTimeTextCapacity,
                                 "%d" RUVELTO_HOUR "%d" RUVELTO_MINUTE "%d" RUVELTO_SECOND, t.hour, t.minute, t.second));
}

}  // namespace ruvelto::commands
