// Argument records for calling command entries in tests, and the entries as the program image's
// command tables hold them, so a test also proves the command sits at its number.
#pragma once
#include <cstdint>
#include <cstring>
#include <deque>
#include <string>
#include <vector>

#include "image-data/library_command_tables.h"
#include "runtime/heap.h"
#include "runtime/value_record.h"
#include "runtime/address_word.h"

namespace ruvelto::testing {

inline uint32_t Word(const void* p) { return AddressWord(p); }
template <class T = uint8_t>
T* Pointer(uint32_t word) { return reinterpret_cast<T*>(static_cast<uintptr_t>(word)); }

// Texts and byte sets passed as arguments live here until the test ends.
class ArgumentStore {
public:
    ValueRecord Text(const std::string& s) { return {Word(texts_.emplace_back(s).c_str()), 0, kTypeText}; }
    ValueRecord Bytes(const std::vector<uint8_t>& bytes) {
        std::vector<uint8_t>& block = blocks_.emplace_back(8 + bytes.size());
        const uint32_t header[2] = {1, static_cast<uint32_t>(bytes.size())};
        std::memcpy(block.data(), header, 8);
        if (!bytes.empty()) std::memcpy(block.data() + 8, bytes.data(), bytes.size());
        return {Word(block.data()), 0, kTypeBytes};
    }

private:
    std::deque<std::string> texts_;
    std::deque<std::vector<uint8_t>> blocks_;
};

inline ValueRecord Int(int32_t v) { return {static_cast<uint32_t>(v), 0, kTypeInt}; }
inline ValueRecord Bool(bool v) { return {v ? 1u : 0u, 0, kTypeBool}; }
inline ValueRecord Real(double d, uint32_t type = kTypeDouble) {
    uint64_t bits;
    std::memcpy(&bits, &d, 8);
    return {static_cast<uint32_t>(bits), static_cast<uint32_t>(bits >> 32), type};
}
inline ValueRecord Float(float f) {
    ValueRecord r{0, 0, kTypeFloat};
    std::memcpy(&r.lo, &f, 4);
    return r;
}
inline double DoubleOf(const ValueRecord& r) {
    const uint64_t bits = (uint64_t{r.hi} << 32) | r.lo;
    double d;
    std::memcpy(&d, &bits, 8);
    return d;
}

inline ValueRecord Call(CommandEntry entry, std::vector<ValueRecord> args) {
    ValueRecord result{};
    entry(&result, static_cast<int32_t>(args.size()), args.data());
    return result;
}
inline ValueRecord CallCore(int number, std::vector<ValueRecord> args) {
    return Call(image_data::kCoreLibraryCommands[number], std::move(args));
}

// A text result taken over from the command: its bytes, the block freed.
inline std::string TakeText(const ValueRecord& r) {
    if (r.lo == 0) return "";
    std::string s = Pointer<char>(r.lo);
    heap::Free(Pointer<void>(r.lo));
    return s;
}
// A byte set result taken over from the command.
inline std::vector<uint8_t> TakeBytes(const ValueRecord& r) {
    if (r.lo == 0) return {};
    const uint8_t* block = Pointer(r.lo);
    uint32_t n;
    std::memcpy(&n, block + 4, 4);
    std::vector<uint8_t> bytes(block + 8, block + 8 + n);
    heap::Free(Pointer<void>(r.lo));
    return bytes;
}

// Core library command numbers.
enum CoreCommand : int {
    kRegistryItemExists = 10,
    kProcessEvents = 12,
    kGetFileSize = 13,
    kGetFileTime = 14,
    kMessageBox = 16,
    kGetRunDirectory = 26,
    kWriteFile = 27,
    kDelay = 28,
    kRun = 29,
    kGetExecutableName = 35,
    kReadIntRegistryItem = 36,
    kWriteRegistryItem = 37,
    kReadFile = 40,
};

}  // namespace ruvelto::testing
