#include "components/edit_box_input.h"

#include <cstdio>
#include <cstdlib>
#include <vector>

#include "commands/value_text.h"

namespace ruvelto::components {
namespace {

bool IsDigit(uint32_t c) { return c >= '0' && c <= '9'; }

int64_t Clamp64(int64_t v, int64_t low, int64_t high) { return v < low ? low : v > high ? high : v; }

std::string Decimal(int64_t v) {
    char buffer[32];
    std::snprintf(buffer, sizeof buffer, "%lld", static_cast<long long>(v));
    return buffer;
}

std::string Real(double v, const char* format) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, format, v);
    return buffer;
}

// Days from 0000-03-01 style civil counting, for the proleptic Gregorian calendar.
int64_t DaysFromCivil(int64_t y, int64_t m, int64_t d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

int DaysInMonth(int y, int m) {
    static const int days[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return m == 2 && leap ? 29 : days[m - 1];
}

// A small cursor over the date text.
struct Scanner {
    const std::string& s;
    size_t at = 0;

    void SkipSpaces() {
        while (at < s.size() && (s[at] == ' ' || s[at] == '\t')) ++at;
    }
    bool Number(int* out) {
        size_t begin = at;
        long long v = 0;
        while (at < s.size() && IsDigit(static_cast<unsigned char>(s[at])) && at - begin < 6) v = v * 10 + (s[at++] - '0');
        if (at == begin || (at < s.size() && IsDigit(static_cast<unsigned char>(s[at])))) return false;
        *out = static_cast<int>(v);
        return true;
    }
    // One separator byte from `ascii`, or the GBK character `gbk` (two bytes).
    bool Separator(const char* ascii, const char* gbk) {
        if (at < s.size() && ascii) {
            for (const char* a = ascii; *a; ++a) {
                if (s[at] == *a) {
                    ++at;
                    return true;
                }
            }
        }
        if (gbk && s.compare(at, 2, gbk) == 0) {
            at += 2;
            return true;
        }
        return false;
    }
    bool AtEnd() {
        SkipSpaces();
        return at == s.size();
    }
};

}  // namespace

bool AcceptsCharacter(uint32_t inputMode, uint32_t character) {
    if (character < 32) return true;
    switch (inputMode) {
        case 3: case 6: case 7: case 8: return IsDigit(character) || character == '-';
        case 4: case 9: case 10: return IsDigit(character) || character == '-' || character == '.';
        case 5: return IsDigit(character);
        default: return true;
    }
}

int64_t LeadingInteger(const std::string& text) {
    size_t at = 0;
    while (at < text.size() && (text[at] == ' ' || (text[at] >= '\t' && text[at] <= '\r'))) ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '-' || text[at] == '+')) negative = text[at++] == '-';
    // Accumulate negatively so that the most negative value fits.
    int64_t value = 0;
    constexpr int64_t kLowest = INT64_MIN;
    for (; at < text.size() && IsDigit(static_cast<unsigned char>(text[at])); ++at) {
        int digit = text[at] - '0';
        if (value < (kLowest + digit) / 10) {
            value = kLowest;
            while (at < text.size() && IsDigit(static_cast<unsigned char>(text[at]))) ++at;
            break;
        }
        value = value * 10 - digit;
    }
    if (negative) return value;
    return value == kLowest ? INT64_MAX : -value;
}

std::string NormalisedText(uint32_t inputMode, const std::string& text) {
    std::string result;
    switch (inputMode) {
        case 5: result = Decimal(Clamp64(LeadingInteger(text), 0, 255)); break;
        case 6: result = Decimal(Clamp64(LeadingInteger(text), -32768, 32767)); break;
        case 7: result = Decimal(Clamp64(LeadingInteger(text), INT32_MIN, INT32_MAX)); break;
        case 8: result = Decimal(LeadingInteger(text)); break;
        case 9: result = Real(std::atof(text.c_str()), "%.6g"); break;
        case 10: result = Real(std::atof(text.c_str()), "%.13g"); break;
        case 11: {
            double value = 0;
            if (!ParseDateTimeText(text, &value) || value == 0) return {};
            char buffer[commands::kDateTimeTextCapacity];
            size_t length = commands::FormatDateTime(value, buffer);
            return std::string(buffer, length);
        }
        default: return text;
    }
    return result == "0" ? std::string() : result;
}

int32_t SpinStep(int64_t current, int direction, int32_t lower, int32_t upper) {
    int64_t next = current + (direction > 0 ? 1 : -1);
    if (next < lower || next > upper) return direction > 0 ? lower : upper;
    return static_cast<int32_t>(next);
}

bool ParseDateTimeText(const std::string& text, double* value) {
    Scanner in{text};
    int year = 0, month = 0, day = 0, hour = 0, minute = 0, second = 0;
    in.SkipSpaces();
    if (!in.Number(&year)) return false;
    bool chinese = in.Separator(nullptr, "\xC4\xEA");  // 年
    if (!chinese && !in.Separator("-/.", nullptr)) return false;
    if (!in.Number(&month)) return false;
    if (chinese ? !in.Separator(nullptr, "\xD4\xC2") : !in.Separator("-/.", nullptr)) return false;  // 月
    if (!in.Number(&day)) return false;
    if (chinese) in.Separator(nullptr, "\xC8\xD5");  // 日
    in.SkipSpaces();
    if (!in.AtEnd()) {
        if (!in.Number(&hour)) return false;
        if (in.Separator(":", nullptr)) {
            if (!in.Number(&minute)) return false;
            if (in.Separator(":", nullptr) && !in.Number(&second)) return false;
        } else if (in.Separator(nullptr, "\xCA\xB1")) {  // 时
            if (in.Number(&minute)) {
                if (!in.Separator(nullptr, "\xB7\xD6")) return false;  // 分
                if (in.Number(&second) && !in.Separator(nullptr, "\xC3\xEB")) return false;  // 秒
            }
        } else {
            return false;
        }
        if (!in.AtEnd()) return false;
    }
    if (year < 100 || year > 9999 || month < 1 || month > 12 || day < 1 || day > DaysInMonth(year, month)) return false;
    if (hour > 23 || minute > 59 || second > 59) return false;
    double days = static_cast<double>(DaysFromCivil(year, month, day) - DaysFromCivil(1899, 12, 30));
    double fraction = (hour * 3600 + minute * 60 + second) / 86400.0;
    // Before 1899-12-30 the fraction still counts forward from midnight.
    *value = days >= 0 ? days + fraction : days - fraction;
    return true;
}

Selection SelectionForStart(int32_t start, int32_t length, int32_t textLength) {
    if (start == -1) return {textLength, 0};
    return {start < 0 ? 0 : start, length < 0 ? 0 : length};
}

Selection SelectionForLength(int32_t start, int32_t length, int32_t textLength) {
    if (length == -1) return {0, textLength};
    return {start < 0 ? 0 : start, length < 0 ? 0 : length};
}

namespace {
size_t CharacterBytes(const std::string& text, size_t i) {
    return static_cast<unsigned char>(text[i]) >= 0x80 && i + 1 < text.size() ? 2 : 1;
}
}  // namespace

int32_t CharacterPosition(const std::string& text, int32_t bytePosition, bool roundUp) {
    int32_t characters = 0;
    size_t i = 0;
    const size_t target = bytePosition < 0 ? 0 : static_cast<size_t>(bytePosition);
    while (i < text.size() && i < target) {
        const size_t next = i + CharacterBytes(text, i);
        if (next > target && !roundUp) break;
        i = next;
        ++characters;
    }
    return characters;
}

int32_t BytePosition(const std::string& text, int32_t characterPosition) {
    size_t i = 0;
    for (int32_t c = 0; c < characterPosition && i < text.size(); ++c) i += CharacterBytes(text, i);
    return static_cast<int32_t>(i);
}

std::string TextWithinByteLimit(const std::string& text, int32_t maxBytes, int32_t* caret) {
    const size_t limit = maxBytes <= 0 ? 0 : static_cast<size_t>(maxBytes);
    if (limit == 0 || text.size() <= limit) return text;
    const size_t end = static_cast<size_t>(BytePosition(text, *caret));
    std::vector<size_t> starts;  // of the characters before the caret
    for (size_t i = 0; i < end; i += CharacterBytes(text, i)) starts.push_back(i);
    size_t begin = end;
    while (text.size() - (end - begin) > limit && !starts.empty()) {
        begin = starts.back();
        starts.pop_back();
    }
    std::string kept = text.substr(0, begin) + text.substr(end);
    // Not enough before the caret: the end of the text goes too.
    while (kept.size() > limit) {
        size_t last = 0;
        for (size_t i = 0; i < kept.size(); i += CharacterBytes(kept, i)) last = i;
        kept.resize(last);
    }
    *caret = CharacterPosition(kept, static_cast<int32_t>(begin), false);
    return kept;
}

}  // namespace ruvelto::components
