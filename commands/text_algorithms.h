// The GBK text operations behind the text commands. Texts are byte strings in code page 936: a
// byte of 0x80 or above leads a double-byte character and the byte after it is its trail byte.
// Searching, trimming, case changing and replacing step over whole characters, so a match never
// starts on a trail byte; cutting (LeftText, RightText, MiddleText) counts plain bytes.
// Positions seen by callers count from 1. Portable: no windows.h, no runtime heap; results are
// views into the argument or are produced piece by piece, so the command layer can size its one
// heap allocation exactly.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace ruvelto::commands {

constexpr bool IsLeadByte(char c) { return static_cast<unsigned char>(c) >= 0x80; }

// Step from offset i to the next character start of text; returns text.size() when a lead
// byte stands last (it has no trail byte).
inline size_t NextCharacter(std::string_view text, size_t i) {
    if (!IsLeadByte(text[i])) return i + 1;
    return i + 1 < text.size() ? i + 2 : text.size();
}

// --- Searching -----------------------------------------------------------------------------

// 1-based position of the first match at or after `start` (omitted: the whole text), or -1.
// An empty sought text gives 1 when the searched range is not empty.
int32_t FindText(std::string_view text, std::string_view sought, std::optional<int32_t> start,
                 bool ignoreCase);
// 1-based position of the last match lying wholly within the first start - 1 bytes (omitted:
// the whole text), or -1.
int32_t FindTextBackward(std::string_view text, std::string_view sought,
                         std::optional<int32_t> start, bool ignoreCase);

// --- Cutting (plain bytes, may split a character) ------------------------------------------

std::string_view LeftText(std::string_view text, int32_t count);
std::string_view RightText(std::string_view text, int32_t count);
std::string_view MiddleText(std::string_view text, int32_t start, int32_t count);

// --- Trimming and case -----------------------------------------------------------------------

// Drops leading and trailing runs of spaces (0x20) and full-width spaces (A1 A1), and a lone
// lead byte at the very end. Tabs and line breaks stay.
std::string_view TrimBoth(std::string_view text);
// Lowers ASCII capitals in place, stepping over double-byte characters whole.
void LowerCaseInPlace(char* text, size_t length);

// --- Replacing -----------------------------------------------------------------------------

struct ReplaceOptions {
    std::optional<int32_t> start;  // 1-based; omitted = 1
    std::optional<int32_t> count;  // omitted = no limit; a negative count sets no limit either
    bool caseSensitive = false;
};

// Produces the replaced text as consecutive pieces: emit(const char* bytes, size_t n).
// Called twice by the command layer (once to measure, once to write), so it must not keep state.
template <class Emit>
void ReplaceSubtextPieces(std::string_view text, std::string_view sought,
                          std::string_view replacement, const ReplaceOptions& options, Emit&& emit);

std::string ReplaceSubtext(std::string_view text, std::string_view sought,
                           std::string_view replacement, const ReplaceOptions& options);

// --- Splitting -----------------------------------------------------------------------------

// Calls part(std::string_view) for each element: separator omitted = ",", maximum parts
// omitted = no limit (a negative maximum counts as 0). Empty text or a maximum of 0 gives no
// parts; an empty separator gives the whole text as one part.
template <class Part>
void SplitTextParts(std::string_view text, std::optional<std::string_view> separator,
                    std::optional<int32_t> maxParts, Part&& part);

// --- Full-width forms ------------------------------------------------------------------------

// Writes text with full-width ASCII forms (A3 A1-A3 FE), the full-width space and three
// symbols replaced by ASCII, zero-terminated; out needs text.size() + 1 bytes. With dropSpaces
// every resulting space is left out. A lead byte standing last ends the text. Returns the length.
size_t ToHalfWidth(std::string_view text, char* out, bool dropSpaces);

// The half-width byte sequence one character at a time: Next() returns the next output byte,
// or -1 at the end. Lets a caller read the converted text without a buffer.
class HalfWidthReader {
public:
    explicit HalfWidthReader(std::string_view text) : text_(text) {}
    int Next();
    // The next byte is the trail byte of a character copied unchanged.
    bool AtTrailByte() const { return pending_ >= 0; }

private:
    std::string_view text_;
    size_t at_ = 0;
    int pending_ = -1;  // the trail byte of a character copied unchanged
};

// --- Shared by the templates -----------------------------------------------------------------

// n bytes at a and b equal, optionally with ASCII letters of either case taken as equal
// (every byte compared this way, trail bytes included).
bool BytesMatch(const char* a, const char* b, size_t n, bool ignoreCase);

template <class Emit>
void ReplaceSubtextPieces(std::string_view text, std::string_view sought,
                          std::string_view replacement, const ReplaceOptions& options, Emit&& emit) {
    const size_t length = text.size();
    const size_t n = sought.size();
    int64_t begin = options.start ? int64_t{*options.start} - 1 : 0;
    if (begin < 0) begin = 0;
    int32_t remaining = options.count ? *options.count : -1;
    if (length == 0 || n == 0 || static_cast<uint64_t>(begin) >= length || remaining == 0) {
        emit(text.data(), length);
        return;
    }
    size_t i = static_cast<size_t>(begin);
    emit(text.data(), i);
    while (length - i >= n) {
        if (BytesMatch(text.data() + i, sought.data(), n, !options.caseSensitive)) {
            emit(replacement.data(), replacement.size());
            i += n;
            // Only a positive count runs out; -1 and other negatives never reach 0.
            if (remaining > 0 && --remaining == 0) break;
            continue;
        }
        if (!IsLeadByte(text[i])) {
            emit(text.data() + i, 1);
            i += 1;
        } else if (i + 1 < length) {
            emit(text.data() + i, 2);
            i += 2;
        } else {
            i = length;  // a lead byte without its trail byte is dropped
            break;
        }
    }
    emit(text.data() + i, length - i);
}

template <class Part>
void SplitTextParts(std::string_view text, std::optional<std::string_view> separator,
                    std::optional<int32_t> maxParts, Part&& part) {
    const std::string_view d = separator ? *separator : std::string_view(",");
    int32_t remaining = maxParts ? (*maxParts < 0 ? 0 : *maxParts) : -1;
    if (text.empty() || remaining == 0) return;
    if (d.empty()) {
        part(text);
        return;
    }
    size_t segment = 0;
    size_t i = 0;
    while (i < text.size()) {
        if (text.size() - i >= d.size() && text.compare(i, d.size(), d) == 0) {
            part(text.substr(segment, i - segment));
            i += d.size();
            segment = i;
            if (remaining > 0 && --remaining == 0) return;
            continue;
        }
        i = NextCharacter(text, i);
    }
    if (segment < text.size()) part(text.substr(segment));
}

}  // namespace ruvelto::commands
