#include "commands/text_algorithms.h"

#include <algorithm>
#include <cstring>

namespace ruvelto::commands {
namespace {

constexpr char kFullWidthLead = '\xA1';  // A1 A1 is the full-width space

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 0x20) : c; }

bool IsFullWidthSpaceAt(std::string_view text, size_t i) {
    return text[i] == kFullWidthLead && i + 1 < text.size() && text[i + 1] == kFullWidthLead;
}

// The shared search: walks [begin, end) one character at a time while the sought text still
// fits, so a match never starts on a trail byte. Forward stops at the first match.
int32_t Search(std::string_view text, std::string_view sought, size_t begin, size_t end,
               bool ignoreCase, bool backward) {
    if (begin >= end) return -1;
    if (sought.empty()) return 1;
    int32_t found = -1;
    size_t i = begin;
    while (i < end && end - i >= sought.size()) {
        if (BytesMatch(text.data() + i, sought.data(), sought.size(), ignoreCase)) {
            found = static_cast<int32_t>(i + 1);
            if (!backward) return found;
        }
        i = NextCharacter(text, i);
    }
    return found;
}

// Start offset from a 1-based start position: start - 1, never below 0.
size_t StartOffset(int32_t start) { return start > 1 ? static_cast<size_t>(start) - 1 : 0; }

}  // namespace

bool BytesMatch(const char* a, const char* b, size_t n, bool ignoreCase) {
    if (!ignoreCase) return std::memcmp(a, b, n) == 0;
    for (size_t k = 0; k < n; ++k) {
        if (AsciiLower(a[k]) != AsciiLower(b[k])) return false;
    }
    return true;
}

int32_t FindText(std::string_view text, std::string_view sought, std::optional<int32_t> start,
                 bool ignoreCase) {
    const size_t begin = start ? StartOffset(*start) : 0;
    return Search(text, sought, begin, text.size(), ignoreCase, false);
}

int32_t FindTextBackward(std::string_view text, std::string_view sought,
                         std::optional<int32_t> start, bool ignoreCase) {
    const size_t limit = start ? StartOffset(*start) : text.size();
    return Search(text, sought, 0, std::min(limit, text.size()), ignoreCase, true);
}

std::string_view LeftText(std::string_view text, int32_t count) {
    if (count <= 0) return {};
    return text.substr(0, std::min<size_t>(static_cast<size_t>(count), text.size()));
}

std::string_view RightText(std::string_view text, int32_t count) {
    if (count <= 0) return {};
    const size_t n = std::min<size_t>(static_cast<size_t>(count), text.size());
    return text.substr(text.size() - n);
}

std::string_view MiddleText(std::string_view text, int32_t start, int32_t count) {
    const int64_t s = int64_t{start} - 1;
    if (s < 0 || static_cast<uint64_t>(s) >= text.size() || count <= 0) return {};
    return text.substr(static_cast<size_t>(s), static_cast<size_t>(count));
}

std::string_view TrimBoth(std::string_view text) {
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == ' ') {
            i += 1;
        } else if (IsFullWidthSpaceAt(text, i)) {
            i += 2;
        } else {
            break;
        }
    }
    const size_t first = i;
    size_t end = text.size();
    size_t runStart = std::string_view::npos;  // where the current run of spaces began
    while (i < text.size()) {
        if (text[i] == ' ' || IsFullWidthSpaceAt(text, i)) {
            if (runStart == std::string_view::npos) runStart = i;
            i += text[i] == ' ' ? 1 : 2;
        } else if (IsLeadByte(text[i]) && i + 1 == text.size()) {
            // A lead byte standing last is half a character: it goes, and spaces before it
            // are then trailing spaces too.
            end = i;
            break;
        } else {
            runStart = std::string_view::npos;
            i = NextCharacter(text, i);
        }
    }
    if (runStart != std::string_view::npos) end = runStart;
    return text.substr(first, end - first);
}

void LowerCaseInPlace(char* text, size_t length) {
    size_t i = 0;
    while (i < length) {
        if (IsLeadByte(text[i])) {
            if (i + 1 >= length) return;
            i += 2;
        } else {
            text[i] = AsciiLower(text[i]);
            i += 1;
        }
    }
}

std::string ReplaceSubtext(std::string_view text, std::string_view sought,
                           std::string_view replacement, const ReplaceOptions& options) {
    std::string out;
    ReplaceSubtextPieces(text, sought, replacement, options,
                         [&out](const char* bytes, size_t n) { out.append(bytes, n); });
    return out;
}

int HalfWidthReader::Next() {
    if (pending_ >= 0) {
        const int c = pending_;
        pending_ = -1;
        return c;
    }
    if (at_ >= text_.size()) return -1;
    const auto lead = static_cast<unsigned char>(text_[at_]);
    if (lead < 0x80) {
        at_ += 1;
        return lead;
    }
    if (at_ + 1 >= text_.size()) {  // a lead byte standing last ends the text
        at_ = text_.size();
        return -1;
    }
    const auto trail = static_cast<unsigned char>(text_[at_ + 1]);
    at_ += 2;
    if (lead == 0xA1) {
        if (trail == 0xA1) return ' ';
        if (trail == 0xAB) return '~';
        if (trail == 0xEE || trail == 0xEF) return '*';
    } else if (lead == 0xA3 && trail >= 0xA1 && trail <= 0xFE) {
        return trail - 0x80;
    }
    pending_ = trail;
    return lead;
}

size_t ToHalfWidth(std::string_view text, char* out, bool dropSpaces) {
    HalfWidthReader reader(text);
    size_t n = 0;
    for (;;) {
        const bool trail = reader.AtTrailByte();  // a trail byte of 0x20 is not a space
        const int c = reader.Next();
        if (c < 0) break;
        if (dropSpaces && c == ' ' && !trail) continue;
        out[n++] = static_cast<char>(c);
    }
    out[n] = '\0';
    return n;
}

}  // namespace ruvelto::commands
