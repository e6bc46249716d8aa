// Native test build: code is never reached through words there, so a code word is the address
// itself, refused when it does not fit.
#include "runtime/address_word.h"

namespace ruvelto {

uint32_t CodeWord(const void* function) { return AddressWord(function); }
const void* CodeTarget(const void* code) { return code; }
uint32_t CodeStubs(const void* base, uint32_t, uint32_t) { return AddressWord(base); }

}  // namespace ruvelto
