// Arbitrary bytes through every text algorithm: results must stay inside their inputs and agree
// with each other (a match found forward is also found backward, the measured replacement length
// is the written one).
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "commands/byte_set_algorithms.h"
#include "commands/text_algorithms.h"
#include "commands/value_conversion.h"

using namespace ruvelto;
using namespace ruvelto::commands;

namespace {

void Check(bool condition) {
    if (!condition) std::abort();
}

// Texts never hold zero bytes: the input's zero bytes separate text, sought text and replacement.
std::string_view NextPiece(std::string_view& rest) {
    const size_t zero = rest.find('\0');
    const std::string_view piece = rest.substr(0, zero);
    rest = zero == std::string_view::npos ? std::string_view() : rest.substr(zero + 1);
    return piece;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    const int32_t start = static_cast<int8_t>(data[0]);
    const int32_t count = static_cast<int8_t>(data[1]);
    std::string_view rest(reinterpret_cast<const char*>(data + 2), size - 2);
    const std::string text(NextPiece(rest));
    const std::string sought(NextPiece(rest));
    const std::string replacement(NextPiece(rest));

    const int32_t forward = FindText(text, sought, start, (count & 1) != 0);
    Check(forward == -1 || (forward >= 1 && static_cast<size_t>(forward) <= text.size()));
    const int32_t backward = FindTextBackward(text, sought, std::nullopt, (count & 1) != 0);
    if (!sought.empty() && FindText(text, sought, std::nullopt, false) > 0) {
        Check(FindTextBackward(text, sought, std::nullopt, false) > 0);
    }
    Check(backward == -1 || static_cast<size_t>(backward) <= text.size());

    const std::string_view trimmed = TrimBoth(text);
    Check(trimmed.data() >= text.data() && trimmed.data() + trimmed.size() <= text.data() + text.size());
    Check(MiddleText(text, start, count).size() <= text.size());

    std::string lowered = text;
    LowerCaseInPlace(lowered.data(), lowered.size());
    Check(lowered.size() == text.size());

    const ReplaceOptions options{start, count, (count & 2) != 0};
    size_t measured = 0;
    ReplaceSubtextPieces(text, sought, replacement, options, [&measured](const char*, size_t n) { measured += n; });
    Check(ReplaceSubtext(text, sought, replacement, options).size() == measured);

    size_t partBytes = 0;
    SplitTextParts(text, sought, count, [&](std::string_view part) {
        Check(part.data() >= text.data() && part.data() + part.size() <= text.data() + text.size());
        partBytes += part.size();
    });
    Check(partBytes <= text.size());

    std::string half(text.size() + 1, '\0');
    Check(ToHalfWidth(text, half.data(), (count & 4) != 0) <= text.size());
    const ValueView value{kTypeText, 0, 0, reinterpret_cast<const uint8_t*>(text.c_str())};
    (void)ToInteger(value);

    const Bytes bytes(reinterpret_cast<const uint8_t*>(text.data()), text.size());
    const Bytes needle(reinterpret_cast<const uint8_t*>(sought.data()), sought.size());
    const int32_t at = FindBytes(bytes, needle, start);
    Check(at == -1 || text.compare(static_cast<size_t>(at) - 1, sought.size(), sought) == 0);
    Check(MiddleBytes(bytes, start, count).size() <= bytes.size());
    return 0;
}
