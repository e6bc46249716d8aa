#include "app/runtime_facade.h"

#include <cstring>
#include <unordered_map>
#include <vector>

#include "image-data/program_image_data.h"
#include "runtime/entry_table.h"
#include "runtime/heap.h"
#include "runtime/low_memory.h"
#include "runtime/address_word.h"

namespace ruvelto::app {
namespace {

template <typename T>
T* Pointer(uint32_t lo) {
    return reinterpret_cast<T*>(static_cast<uintptr_t>(lo));
}

ValueRecord Call(ValueRecord (*slot)(CommandEntry, int32_t, ValueRecord*), CommandEntry entry,
                 std::initializer_list<ValueRecord> args) {
    if (!entry) return {};
    std::vector<ValueRecord> laidOut(args);
    return slot(entry, static_cast<int32_t>(laidOut.size()), laidOut.data());
}

}  // namespace

const runtime::RuntimeEntryTable& Runtime() { return image_data::kRuntimeEntries; }

const char* WithinWordReach(const char* text) {
    if (FitsWord(text)) return text;
    static std::unordered_map<const char*, const char*> copies;
    const char*& copy = copies[text];
    if (!copy || std::strcmp(copy, text) != 0) {
        const size_t length = std::strlen(text);
        auto* fresh = static_cast<char*>(low_memory::Allocate(length + 1));
        if (!fresh) heap::RaiseMemoryFailure(static_cast<uint32_t>(length + 1));
        std::memcpy(fresh, text, length + 1);
        copy = fresh;
    }
    return copy;
}

const char* EmptyText() { return image_data::constant::EmptyText(); }
const void* EmptyByteSet() { return image_data::constant::EmptyByteSet(); }

ValueRecord DoubleValue(double v) {
    ValueRecord record{0, 0, kTypeDouble};
    uint64_t bits;
    std::memcpy(&bits, &v, sizeof bits);
    record.lo = static_cast<uint32_t>(bits);
    record.hi = static_cast<uint32_t>(bits >> 32);
    return record;
}

Text& Text::operator=(Text&& other) noexcept {
    if (this != &other) {
        Free(text_);
        text_ = std::exchange(other.text_, nullptr);
    }
    return *this;
}

Text::~Text() { Free(text_); }

ByteSet::~ByteSet() { Free(bytes_); }

uint32_t ByteSet::size() const { return bytes_ ? static_cast<const ByteSetHeader*>(bytes_)->count : 0; }

char* CopyText(const char* text) {
    const size_t length = text ? std::strlen(text) : 0;
    auto* copy = static_cast<char*>(Allocate(static_cast<uint32_t>(length + 1)));
    if (length) std::memcpy(copy, text, length);
    copy[length] = 0;
    return copy;
}

ValueRecord CallCommand(CommandEntry entry, std::initializer_list<ValueRecord> args) {
    return Call(Runtime().callCommand, entry, args);
}

ValueRecord CallCoreCommand(CommandEntry entry, std::initializer_list<ValueRecord> args) {
    return Call(Runtime().callCoreCommand, entry, args);
}

int32_t ReadIntProperty(uint32_t window, uint32_t unit, int32_t index) {
    return static_cast<int32_t>(Runtime().readProperty(window, unit, index, -1));
}

void WriteIntProperty(uint32_t window, uint32_t unit, int32_t index, int32_t value) {
    Runtime().writeProperty(window, unit, index, -1, static_cast<uint32_t>(value), 0);
}

Text ReadTextProperty(uint32_t window, uint32_t unit, int32_t index) {
    return Text(Pointer<char>(static_cast<uint32_t>(Runtime().readProperty(window, unit, index, -1))));
}

void WriteTextProperty(uint32_t window, uint32_t unit, int32_t index, const char* text) {
    Runtime().writeProperty(window, unit, index, -1, AddressWord(text ? WithinWordReach(text) : EmptyText()), 0);
}

void WriteBytesProperty(uint32_t window, uint32_t unit, int32_t index, const void* byteSet) {
    Runtime().writeProperty(window, unit, index, -1, AddressWord(byteSet ? byteSet : EmptyByteSet()), 0);
}

void* Allocate(uint32_t size) { return Runtime().allocate(size); }

void Free(void* block) {
    if (block) Runtime().free(block);
}

void ExitProgram(int32_t code) {
    Runtime().exitProgram(code);
    __builtin_unreachable();
}

Text FindFile(const char* pattern, intptr_t* searchHandle) {
    // Attribute mask 0 with the any-file flag: files only, directories skipped.
    return Text(reinterpret_cast<char*>(
        Runtime().runtimeHelper(runtime::kHelperFindFile, pattern ? pattern : EmptyText(), 0u, 1, searchHandle)));
}

Text FindFolder(const char* pattern, intptr_t* searchHandle) {
    // Attribute mask 0x10 without the any-file flag: entries with the directory attribute.
    return Text(reinterpret_cast<char*>(
        Runtime().runtimeHelper(runtime::kHelperFindFile, pattern ? pattern : EmptyText(), 0x10u, 0, searchHandle)));
}

void EndFileSearch(intptr_t searchHandle) { Runtime().runtimeHelper(runtime::kHelperEndFileSearch, searchHandle); }

}  // namespace ruvelto::app
