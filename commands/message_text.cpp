#include "commands/message_text.h"

#include "commands/text_algorithms.h"
#include "commands/value_text.h"

namespace ruvelto::commands {
namespace {

const char kTrue[] = "\xD5\xE6";   // 真
const char kFalse[] = "\xBC\xD9";  // 假

// The longest prefix within the limit that ends on a character boundary: half a character would
// show as a stray glyph.
std::string_view CutToCapacity(std::string_view text) {
    const size_t limit = kMessageTextCapacity - 1;
    if (text.size() <= limit) return text;
    size_t end = 0;
    for (size_t next; end < text.size() && (next = NextCharacter(text, end)) <= limit;) end = next;
    return text.substr(0, end);
}

}  // namespace

std::string MessageText(const ValueView& content) {
    char scratch[kDateTimeTextCapacity] = {};
    std::string_view text;
    if (NumericSize(content.type) != 0) {
        text = std::string_view(scratch, FormatNumber(ValueRecord{content.lo, content.hi, content.type}, scratch));
    } else if (content.type == kTypeBool) {
        text = content.lo != 0 ? kTrue : kFalse;
    } else if (content.type == kTypeDateTime) {
        text = std::string_view(scratch, FormatDateTime(DoubleOfRecord(content.lo, content.hi), scratch));
    } else if (content.type == kTypeText) {
        text = TextOf(content);
    }
    return std::string(CutToCapacity(text));
}

}  // namespace ruvelto::commands
