#include "runtime/address_word.h"

#include "runtime/heap.h"

namespace ruvelto {

uint32_t AddressWord(const void* p) {
    // An address beyond 4 GB comes from memory the runtime did not hand out for words; cutting
    // it would make the word point at something else, so it is refused like exhausted memory.
    if (!FitsWord(p)) heap::RaiseMemoryFailure(0);
    return static_cast<uint32_t>(reinterpret_cast<uintptr_t>(p));
}

}  // namespace ruvelto
