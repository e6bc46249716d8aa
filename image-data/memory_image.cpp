#include "image-data/memory_image.h"

#include <cstring>
#include <vector>

#include "image-data/image_layout.h"
#include "image-data/image_placement.h"
#include "runtime/low_memory.h"

namespace ruvelto::image_data {

MemoryImage::MemoryImage(const ProgramImageDescription& description) {
    ImageLayout layout = LayOutImage(description);
    std::vector<PlacedSymbol> symbols;
    for (const SymbolFixup& s : layout.symbols)
        symbols.push_back({s.at, s.kind, s.count, s.symbol->address});
    size_ = static_cast<uint32_t>(layout.bytes.size());
    block_ = PlaceImage(layout.bytes.data(), size_, layout.internal.data(), static_cast<uint32_t>(layout.internal.size()),
                        symbols.data(), static_cast<uint32_t>(symbols.size()));
    // The entry table is the build's own code pointers, in the table's order.
    static_assert(sizeof(runtime::RuntimeEntryTable) == kRuntimeEntryCount * sizeof(void*));
    const void* entries[kRuntimeEntryCount];
    for (int i = 0; i < kRuntimeEntryCount; ++i) entries[i] = description.runtimeEntries[i].address;
    std::memcpy(&entries_, entries, sizeof entries_);
}

MemoryImage::~MemoryImage() { low_memory::Release(block_); }

}  // namespace ruvelto::image_data
