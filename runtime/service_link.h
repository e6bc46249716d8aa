// What a support library keeps from notify message 1: the runtime's service callback, and the
// few calls every library makes through it. Until the callback arrives every call yields 0, so
// a library used before start-up allocates nothing instead of crashing.
#pragma once
#include <cstdint>

#include "runtime/service_codes.h"
#include "runtime/value_record.h"

namespace ruvelto {

struct ServiceLink {
    ServiceCallback callback = nullptr;

    intptr_t Call(int32_t code, intptr_t arg1 = 0, intptr_t arg2 = 0) const {
        return callback ? callback(code, arg1, arg2) : 0;
    }
    // Null when the heap is exhausted or no callback has arrived yet.
    void* Allocate(uint32_t size) const {
        return reinterpret_cast<void*>(Call(kServiceAllocate, static_cast<intptr_t>(size), 1));
    }
    void Free(void* block) const { Call(kServiceFree, reinterpret_cast<intptr_t>(block)); }
    void* Reallocate(void* block, uint32_t size) const {
        return reinterpret_cast<void*>(Call(kServiceReallocate, reinterpret_cast<intptr_t>(block), size));
    }
    // Answers notify message 1; true when the message was that one.
    bool Accept(int32_t message, intptr_t arg1) {
        if (message != kNotifyServiceCallback) return false;
        callback = reinterpret_cast<ServiceCallback>(arg1);
        return true;
    }
};

}  // namespace ruvelto
