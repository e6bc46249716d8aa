// ReadFile and WriteFile: a whole file in, byte sets out in order. Every handle is closed on every
// path; a failure gives the empty byte set or false, never an error.
#include <windows.h>

#include "commands/system_commands.h"

#include <cstring>
#include <string>

#include "commands/command_values.h"
#include "runtime/heap.h"
#include "runtime/address_word.h"

namespace ruvelto::core_commands {
namespace {

// The largest file a byte set can hold in a 32-bit process, header included; anything longer
// cannot be read whole and gives the empty byte set rather than ending the program for memory.
constexpr uint64_t kLargestReadable = 0x7FFFFFFFu - sizeof(ByteSetHeader);

class FileHandle {
public:
    explicit FileHandle(HANDLE h) : h_(h) {}
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    ~FileHandle() { Close(); }
    bool Open() const { return h_ != INVALID_HANDLE_VALUE; }
    HANDLE Get() const { return h_; }
    bool Close() {
        if (!Open()) return false;
        const bool closed = CloseHandle(h_) != FALSE;
        h_ = INVALID_HANDLE_VALUE;
        return closed;
    }

private:
    HANDLE h_;
};


}  // namespace

void ReadFile(ValueRecord* result, int32_t count, ValueRecord* args) {
    result->type = kTypeBytes;
    result->lo = 0;
    const std::string name(commands::Arguments(count, args).Text(0));
    if (name.empty()) return;
    // Others may go on reading the file meanwhile, but not change it under us.
    FileHandle file(CreateFileA(name.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                FILE_ATTRIBUTE_NORMAL, nullptr));
    LARGE_INTEGER length{};
    if (!file.Open() || !GetFileSizeEx(file.Get(), &length)) return;
    if (length.QuadPart <= 0 || static_cast<uint64_t>(length.QuadPart) > kLargestReadable) return;
    const auto size = static_cast<uint32_t>(length.QuadPart);
    auto* block = static_cast<uint8_t*>(heap::AllocateUnchecked(sizeof(ByteSetHeader) + size));
    if (!block) return;
    DWORD read = 0;
    if (!::ReadFile(file.Get(), block + sizeof(ByteSetHeader), size, &read, nullptr) || read == 0) {
        heap::Free(block);
        return;
    }
    if (read < size) block = static_cast<uint8_t*>(heap::Reallocate(block, sizeof(ByteSetHeader) + read));
    const ByteSetHeader header{1, read};
    std::memcpy(block, &header, sizeof header);
    result->lo = AddressWord(block);
}

void WriteFile(ValueRecord* result, int32_t count, ValueRecord* args) {
    result->type = kTypeBool;
    result->lo = 0;
    const commands::Arguments a(count, args);
    const std::string name(a.Text(0));
    if (name.empty()) return;
    FileHandle file(CreateFileA(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.Open()) return;
    for (int32_t i = 1; i < a.Count(); ++i) {
        const std::span<const uint8_t> bytes = a.ByteSet(i);
        if (bytes.empty()) continue;
        DWORD written = 0;
        // What was written before a failure stays in the file.
        if (!::WriteFile(file.Get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
            written != bytes.size())
            return;
    }
    result->lo = file.Close() ? 1 : 0;
}

}  // namespace ruvelto::core_commands
