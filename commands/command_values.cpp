#include "commands/command_values.h"

#include <cstring>

#include "runtime/heap.h"
#include "runtime/address_word.h"

namespace ruvelto::commands {
namespace {

const ValueRecord kOmitted{};

const uint8_t* PointerOf(uint32_t word) { return reinterpret_cast<const uint8_t*>(static_cast<uintptr_t>(word)); }

}  // namespace

const ValueRecord& Arguments::operator[](int32_t i) const {
    return (i >= 0 && i < count_) ? args_[i] : kOmitted;
}

ValueView ViewOf(const ValueRecord& record) {
    ValueView view{record.type, record.lo, record.hi, nullptr};
    // Only texts, byte sets and arrays carry a pointer worth following.
    if (record.type == kTypeText || record.type == kTypeBytes || IsArrayType(record.type)) {
        view.data = PointerOf(record.lo);
    }
    return view;
}

ValueView Arguments::View(int32_t i) const { return ViewOf((*this)[i]); }

int32_t Arguments::Int(int32_t i) const { return ToInteger(View(i)); }

std::optional<int32_t> Arguments::OptionalInt(int32_t i) const {
    if (!Given(i)) return std::nullopt;
    return Int(i);
}

bool Arguments::Flag(int32_t i) const { return Given(i) && (*this)[i].lo != 0; }

std::string_view Arguments::Text(int32_t i) const { return TextOf(View(i)); }

std::optional<std::string_view> Arguments::OptionalText(int32_t i) const {
    if (!Given(i)) return std::nullopt;
    return Text(i);
}

std::span<const uint8_t> Arguments::ByteSet(int32_t i) const { return ByteSetBytes(View(i)); }

uint32_t BlockSize(uint64_t header, uint64_t n) {
    const uint64_t size = header + n;
    return size > 0xFFFFFFFEu ? 0xFFFFFFFFu : static_cast<uint32_t>(size);
}

void SetInt(ValueRecord* result, int32_t value) {
    result->lo = static_cast<uint32_t>(value);
    result->type = kTypeInt;
}

void SetByte(ValueRecord* result, uint8_t value) {
    result->lo = value;
    result->type = kTypeByte;
}

char* SetNewText(ValueRecord* result, uint64_t length) {
    result->type = kTypeText;
    result->lo = 0;
    if (length == 0) return nullptr;
    auto* text = static_cast<char*>(heap::Allocate(BlockSize(1, length)));
    text[length] = '\0';
    result->lo = AddressWord(text);
    return text;
}

void SetText(ValueRecord* result, std::string_view text) {
    char* copy = SetNewText(result, text.size());
    if (copy) std::memcpy(copy, text.data(), text.size());
}

void SetByteSet(ValueRecord* result, std::span<const uint8_t> bytes) {
    result->type = kTypeBytes;
    result->lo = 0;
    if (bytes.empty()) return;
    auto* block = static_cast<uint8_t*>(heap::Allocate(BlockSize(sizeof(ByteSetHeader), bytes.size())));
    const ByteSetHeader header{1, static_cast<uint32_t>(bytes.size())};
    std::memcpy(block, &header, sizeof header);
    std::memcpy(block + sizeof header, bytes.data(), bytes.size());
    result->lo = AddressWord(block);
}

}  // namespace ruvelto::commands
