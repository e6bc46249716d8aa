// The value rules of EditBox's numeric input modes and spin button, as plain functions: which
// typed characters a mode accepts, how the text is normalised when the focus leaves, how an
// automatic spin steps the number, and how selection writes resolve. Portable.
#pragma once
#include <cstdint>
#include <string>

namespace ruvelto::components {

// Whether a WM_CHAR character passes the key filter of the input mode. Control characters
// (below 32) always pass.
bool AcceptsCharacter(uint32_t inputMode, uint32_t character);

// The text as it stands after the focus leaves the box; unchanged for modes 0-4.
std::string NormalisedText(uint32_t inputMode, const std::string& text);

// The leading integer of a text as atoi reads it (spaces, sign, digits), saturated to 64 bits
// instead of overflowing.
int64_t LeadingInteger(const std::string& text);

// The number an automatic spin shows after one press: up (+1) or down (-1) from `current`; a
// result outside [lower, upper] wraps to the lower bound going up and the upper bound going down.
int32_t SpinStep(int64_t current, int direction, int32_t lower, int32_t upper);

// A date-time text (year, month and day separated by '-', '/' or '.', or written with 年月日,
// optionally followed by a time as h:m[:s] or h时[m分[s秒]]) as days since 1899-12-30; false when
// the text is not a valid date-time.
bool ParseDateTimeText(const std::string& text, double* value);

struct Selection {
    int32_t start = 0;
    int32_t length = 0;
};
// Writing SelStart: -1 puts the caret at the end; other negatives become 0.
Selection SelectionForStart(int32_t start, int32_t length, int32_t textLength);
// Writing SelLength: -1 selects everything; other negatives become 0.
Selection SelectionForLength(int32_t start, int32_t length, int32_t textLength);

// Positions in a GBK text: the properties count bytes, the control counts characters (a byte of
// 0x80 or above leads a double-byte character). A byte position inside a double-byte character
// reaches past that character when roundUp is set and stops before it otherwise. Positions past
// the end give the end.
int32_t CharacterPosition(const std::string& text, int32_t bytePosition, bool roundUp);
int32_t BytePosition(const std::string& text, int32_t characterPosition);

// Text input that took a box's text past `maxBytes` bytes (typed or pasted just before the caret,
// a character position): the characters before the caret are given back, last first, until the
// text fits, as if the control had refused what did not fit. Returns the text that stays and
// moves the caret with it.
std::string TextWithinByteLimit(const std::string& text, int32_t maxBytes, int32_t* caret);

}  // namespace ruvelto::components
