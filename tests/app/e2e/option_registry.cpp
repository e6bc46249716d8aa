#include "tests/app/e2e/option_registry.h"

#include "tests/app/e2e/companion_registry.h"

namespace ruvelto::testing {
namespace {

void Remove(const char* value) {
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kOptionsKey, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS) return;
    RegDeleteValueA(key, value);
    RegCloseKey(key);
}

}  // namespace

OptionRegistry::OptionRegistry() {
    Remove(kKeepProportionsValue);
    Remove(kSubfoldersValue);
}

OptionRegistry::~OptionRegistry() {
    Remove(kKeepProportionsValue);
    Remove(kSubfoldersValue);
}

void OptionRegistry::Set(const char* value, bool on) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kOptionsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key, nullptr) !=
        ERROR_SUCCESS)
        return;
    const DWORD data = on ? 1 : 0;
    RegSetValueExA(key, value, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data);
    RegCloseKey(key);
}

int64_t OptionRegistry::Get(const char* value) const { return RegistryDword(HKEY_CURRENT_USER, kOptionsKey, value); }

}  // namespace ruvelto::testing
