// A block of memory inside another process, for the common-control messages that carry pointers
// (list view rows, tree items): the pointer must be valid in the process that owns the control.
#pragma once
#include <windows.h>

#include <cstddef>
#include <string>

namespace ruvelto::testing {

class RemoteBlock {
public:
    RemoteBlock(HANDLE process, size_t size);
    ~RemoteBlock();
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;

    bool ok() const { return address_ != nullptr; }
    // The block's address in the other process, and of a byte offset into it.
    void* at(size_t offset = 0) const { return static_cast<char*>(address_) + offset; }
    bool Write(size_t offset, const void* data, size_t size);
    bool Read(size_t offset, void* data, size_t size) const;
    std::string ReadText(size_t offset, size_t maxSize) const;

private:
    HANDLE process_;
    void* address_ = nullptr;
};

}  // namespace ruvelto::testing
