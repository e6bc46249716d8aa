// Lays a program image description out in low memory, in the image's own order, with every
// address field holding a real address (code through stubs in a 64-bit build). Tests use it to
// give the runtime any image they need; symbols are taken by address.
#pragma once
#include <cstdint>

#include "image-data/program_image_description.h"
#include "runtime/program_image.h"

namespace ruvelto::image_data {

class MemoryImage {
public:
    explicit MemoryImage(const ProgramImageDescription& description);
    ~MemoryImage();
    MemoryImage(const MemoryImage&) = delete;
    MemoryImage& operator=(const MemoryImage&) = delete;

    const runtime::ProgramImageHeader& Header() const {
        return *reinterpret_cast<const runtime::ProgramImageHeader*>(block_);
    }
    // The entry table application code calls through, made of the description's entries.
    const runtime::RuntimeEntryTable& Entries() const { return entries_; }
    const uint8_t* Begin() const { return block_; }
    uint32_t Size() const { return size_; }

private:
    uint8_t* block_ = nullptr;
    uint32_t size_ = 0;
    runtime::RuntimeEntryTable entries_{};
};

}  // namespace ruvelto::image_data
