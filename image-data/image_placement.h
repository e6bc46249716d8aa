// Puts a laid-out program image into low memory and fills its address words: internal ones
// with the block's own addresses, external ones with code words (stubs in a 64-bit build), a
// command table with a table of code words, the code base with a block of handler stubs. The
// generated image of a 64-bit program calls it, so it names nothing of the image builder.
#pragma once
#include <cstdint>

namespace ruvelto::image_data {

// A word that points into the image: the block's address plus target.
struct InternalFixup {
    uint32_t at;      // offset of the word
    uint32_t target;  // offset it points at
};

enum class SymbolKind : uint32_t {
    kCode = 0,          // a function: a code word
    kCommandTable = 1,  // `count` command entries: `count` code words from `at` on
    kCodeBase = 2,      // the code base of `count` 16-byte handler stubs: a word naming the same stubs
};

// A word that names something outside the image, by its address in this process.
struct PlacedSymbol {
    uint32_t at;
    SymbolKind kind;
    uint32_t count;
    const void* address;
};

// Returns the block, from low memory (the caller may release it with low_memory::Release), or
// raises the runtime's memory error.
uint8_t* PlaceImage(const uint8_t* bytes, uint32_t size, const InternalFixup* internal, uint32_t internalCount,
                    const PlacedSymbol* symbols, uint32_t symbolCount);

}  // namespace ruvelto::image_data
