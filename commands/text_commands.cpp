// Entries of the text commands: argument reading and one exactly sized heap result each.
#include "commands/text_commands.h"

#include <cstring>

#include "commands/command_values.h"
#include "commands/text_algorithms.h"
#include "runtime/heap.h"
#include "runtime/address_word.h"

namespace ruvelto::core_commands {

using commands::Arguments;

void TextLength(ValueRecord* result, int32_t count, ValueRecord* args) {
    commands::SetInt(result, static_cast<int32_t>(Arguments(count, args).Text(0).size()));
}

// Ignore case only for a fourth argument of exactly 1.
static bool IgnoreCase(const Arguments& a) { return a.Given(3) && a[3].lo == 1; }

void FindText(ValueRecord* result, int32_t count, ValueRecord* args) {
    const Arguments a(count, args);
    commands::SetInt(result, commands::FindText(a.Text(0), a.Text(1), a.OptionalInt(2), IgnoreCase(a)));
}

void FindTextBackward(ValueRecord* result, int32_t count, ValueRecord* args) {
    const Arguments a(count, args);
    commands::SetInt(result, commands::FindTextBackward(a.Text(0), a.Text(1), a.OptionalInt(2), IgnoreCase(a)));
}

void LeftText(ValueRecord* result, int32_t count, ValueRecord* args) {
    const Arguments a(count, args);
    commands::SetText(result, commands::LeftText(a.Text(0), a.Int(1)));
}

void RightText(ValueRecord* result, int32_t count, ValueRecord* args) {
    const Arguments a(count, args);
    commands::SetText(result, commands::RightText(a.Text(0), a.Int(1)));
}

void MiddleText(ValueRecord* result, int32_t count, ValueRecord* args) {
    const Arguments a(count, args);
    commands::SetText(result, commands::MiddleText(a.Text(0), a.Int(1), a.Int(2)));
}

void SpaceText(ValueRecord* result, int32_t count, ValueRecord* args) {
    const int32_t n = Arguments(count, args).Int(0);
    // Straight into the heap: a huge count meets the heap's memory failure path, not ours.
    char* text = commands::SetNewText(result, n < 1 ? 0 : static_cast<uint64_t>(n));
    if (text) std::memset(text, ' ', static_cast<size_t>(n));
}

void TrimBoth(ValueRecord* result, int32_t count, ValueRecord* args) {
    commands::SetText(result, commands::TrimBoth(Arguments(count, args).Text(0)));
}

void ToLowerCase(ValueRecord* result, int32_t count, ValueRecord* args) {
    const std::string_view text = Arguments(count, args).Text(0);
    char* lowered = commands::SetNewText(result, text.size());
    if (!lowered) return;
    std::memcpy(lowered, text.data(), text.size());
    commands::LowerCaseInPlace(lowered, text.size());
}

void ReplaceSubtext(ValueRecord* result, int32_t count, ValueRecord* args) {
    const Arguments a(count, args);
    const std::string_view text = a.Text(0), sought = a.Text(1), replacement = a.Text(2);
    const commands::ReplaceOptions options{a.OptionalInt(3), a.OptionalInt(4), a.Flag(5)};
    // Measure first, then write once into a block of exactly the right size.
    uint64_t length = 0;
    commands::ReplaceSubtextPieces(text, sought, replacement, options,
                                   [&length](const char*, size_t n) { length += n; });
    char* out = commands::SetNewText(result, length);
    if (!out) return;
    commands::ReplaceSubtextPieces(text, sought, replacement, options, [&out](const char* bytes, size_t n) {
        std::memcpy(out, bytes, n);
        out += n;
    });
}

void SplitText(ValueRecord* result, int32_t count, ValueRecord* args) {
    const Arguments a(count, args);
    const std::string_view text = a.Text(0);
    const std::optional<std::string_view> separator = a.OptionalText(1);
    const std::optional<int32_t> maxParts = a.OptionalInt(2);
    uint32_t parts = 0;
    commands::SplitTextParts(text, separator, maxParts, [&parts](std::string_view) { ++parts; });
    // A one-dimensional array block: dimension count 1, element count, then one text per element.
    auto* block = static_cast<uint32_t*>(heap::Allocate(commands::BlockSize(8, uint64_t{parts} * 4)));
    block[0] = 1;
    block[1] = parts;
    uint32_t* element = block + 2;
    commands::SplitTextParts(text, separator, maxParts, [&element](std::string_view part) {
        ValueRecord text{};
        commands::SetText(&text, part);
        *element++ = text.lo;
    });
    result->lo = AddressWord(block);
    result->type = kTypeText | kArrayBit;
}

}  // namespace ruvelto::core_commands
