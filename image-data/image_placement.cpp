#include "image-data/image_placement.h"

#include <cstring>

#include "runtime/address_word.h"
#include "runtime/heap.h"
#include "runtime/low_memory.h"
#include "runtime/value_record.h"

namespace ruvelto::image_data {
namespace {

void StoreWord(uint8_t* at, uint32_t word) { std::memcpy(at, &word, 4); }

}  // namespace

uint8_t* PlaceImage(const uint8_t* bytes, uint32_t size, const InternalFixup* internal, uint32_t internalCount,
                    const PlacedSymbol* symbols, uint32_t symbolCount) {
    auto* block = static_cast<uint8_t*>(low_memory::Allocate(size ? size : 1));
    if (!block) heap::RaiseMemoryFailure(size);
    std::memcpy(block, bytes, size);
    const uint32_t base = AddressWord(block);
    for (uint32_t i = 0; i < internalCount; ++i) StoreWord(block + internal[i].at, base + internal[i].target);
    for (uint32_t i = 0; i < symbolCount; ++i) {
        const PlacedSymbol& s = symbols[i];
        switch (s.kind) {
            case SymbolKind::kCode:
                StoreWord(block + s.at, CodeWord(s.address));
                break;
            case SymbolKind::kCommandTable: {
                auto* table = static_cast<const CommandEntry*>(s.address);
                for (uint32_t k = 0; k < s.count; ++k)
                    StoreWord(block + s.at + 4 * k, CodeWordOf(table[k]));
                break;
            }
            case SymbolKind::kCodeBase:
                StoreWord(block + s.at, s.count ? CodeStubs(s.address, s.count, 16) : CodeWord(s.address));
                break;
        }
    }
    return block;
}

}  // namespace ruvelto::image_data
