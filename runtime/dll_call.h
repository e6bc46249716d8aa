// Calling a DLL command the way application code does: the arguments pushed as for a direct
// call, the call made through entry slot 1, and the stack position compared before and after.
// A function that removed more or fewer argument words than were pushed (a declaration that
// does not match the function) raises runtime error 6.
#pragma once
#include <cstdint>

// Pushes argumentCount words (arguments[0] ends up nearest the return address), calls slot 1
// with the number, checks the stack and returns EDX:EAX.
extern "C" uint64_t ruvelto_call_dll_checked(uint32_t number, uint32_t argumentCount, const uint32_t* arguments);

namespace ruvelto::runtime {

// One word per argument: DLL commands of this program take 32-bit arguments only.
template <typename... A>
uint64_t CallDll(uint32_t number, A... args) {
    static_assert(((sizeof(A) <= 4) && ...), "DLL command arguments are 32-bit words");
    const uint32_t words[sizeof...(A) + 1] = {(uint32_t)(uintptr_t)args..., 0};
    return ruvelto_call_dll_checked(number, sizeof...(A), words);
}

}  // namespace ruvelto::runtime
