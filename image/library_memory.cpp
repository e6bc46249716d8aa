#include "image/library_memory.h"

#include <cstring>

#include "runtime/service_codes.h"

namespace ruvelto::image {

namespace {
ServiceCallback g_services = nullptr;
}  // namespace

void SetRuntimeServices(ServiceCallback services) { g_services = services; }

ServiceCallback RuntimeServices() { return g_services; }

void* RuntimeAllocate(uint32_t size) {
    if (!g_services) return nullptr;
    return reinterpret_cast<void*>(g_services(kServiceAllocate, static_cast<intptr_t>(size), 1));
}

void RuntimeFree(void* block) {
    if (g_services && block) g_services(kServiceFree, reinterpret_cast<intptr_t>(block), 0);
}

ByteSetHeader* NewByteSet(const uint8_t* bytes, uint32_t length) {
    if (length == 0 || length > UINT32_MAX - sizeof(ByteSetHeader)) return nullptr;
    auto* set = static_cast<ByteSetHeader*>(RuntimeAllocate(length + sizeof(ByteSetHeader)));
    if (!set) return nullptr;
    set->dimensions = 1;
    set->count = length;
    std::memcpy(set + 1, bytes, length);
    return set;
}

}  // namespace ruvelto::image
