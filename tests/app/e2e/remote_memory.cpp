#include "tests/app/e2e/remote_memory.h"

#include <vector>

namespace ruvelto::testing {

RemoteBlock::RemoteBlock(HANDLE process, size_t size) : process_(process) {
    address_ = VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
}

RemoteBlock::~RemoteBlock() {
    if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
}

bool RemoteBlock::Write(size_t offset, const void* data, size_t size) {
    SIZE_T written = 0;
    return WriteProcessMemory(process_, at(offset), data, size, &written) && written == size;
}

bool RemoteBlock::Read(size_t offset, void* data, size_t size) const {
    SIZE_T read = 0;
    return ReadProcessMemory(process_, at(offset), data, size, &read) && read == size;
}

std::string RemoteBlock::ReadText(size_t offset, size_t maxSize) const {
    std::vector<char> buffer(maxSize + 1, 0);
    if (!Read(offset, buffer.data(), maxSize)) return "";
    return buffer.data();
}

}  // namespace ruvelto::testing
