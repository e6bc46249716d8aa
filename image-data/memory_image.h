// Lays a program image description out in one block of memory, in the image's own order, with
// every pointer field holding a real address. Tests use it to give the runtime any image they
// need. 32-bit builds only: pointer fields are 32-bit words.
#pragma once
#include <cstdint>
#include <memory>

#include "image-data/program_image_description.h"
#include "runtime/program_image.h"

namespace ruvelto::image_data {

class MemoryImage {
public:
    explicit MemoryImage(const ProgramImageDescription& description);
    MemoryImage(const MemoryImage&) = delete;
    MemoryImage& operator=(const MemoryImage&) = delete;

    const runtime::ProgramImageHeader& Header() const {
        return *reinterpret_cast<const runtime::ProgramImageHeader*>(block_.get());
    }
    const runtime::RuntimeEntryTable& Entries() const {
        return *reinterpret_cast<const runtime::RuntimeEntryTable*>(block_.get() + entriesOffset_);
    }
    const uint8_t* Begin() const { return block_.get(); }
    uint32_t Size() const { return size_; }

private:
    std::unique_ptr<uint8_t[]> block_;
    uint32_t size_ = 0;
    uint32_t entriesOffset_ = 0;
};

}  // namespace ruvelto::image_data
