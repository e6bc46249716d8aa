#include "tests/app/e2e/companion_registry.h"

namespace ruvelto::testing {
namespace {

bool KeyExists(HKEY root, const char* key) {
    HKEY k;
    if (RegOpenKeyExA(root, key, 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
    RegCloseKey(k);
    return true;
}

}  // namespace

bool RegistryValueExists(HKEY root, const char* key, const char* value) {
    HKEY k;
    if (RegOpenKeyExA(root, key, 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
    const bool exists = RegQueryValueExA(k, value, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
    RegCloseKey(k);
    return exists;
}

int64_t RegistryDword(HKEY root, const char* key, const char* value) {
    HKEY k;
    if (RegOpenKeyExA(root, key, 0, KEY_READ, &k) != ERROR_SUCCESS) return -1;
    DWORD type = 0, data = 0, size = sizeof data;
    const LONG r = RegQueryValueExA(k, value, nullptr, &type, reinterpret_cast<BYTE*>(&data), &size);
    RegCloseKey(k);
    return r == ERROR_SUCCESS && type == REG_DWORD ? int64_t{data} : -1;
}

CompanionRegistry::CompanionRegistry()
    : archiverKeyExisted_(KeyExists(HKEY_LOCAL_MACHINE, kArchiverKey)),
      browserKeyExisted_(KeyExists(HKEY_LOCAL_MACHINE, kBrowserKey)),
      guardKeyExisted_(KeyExists(HKEY_CURRENT_USER, kGuardKey)),
      guardParentExisted_(KeyExists(HKEY_CURRENT_USER, "Software\\ruanjian")) {}

CompanionRegistry::~CompanionRegistry() {
    if (!archiverKeyExisted_) RegDeleteKeyA(HKEY_LOCAL_MACHINE, kArchiverKey);
    if (!browserKeyExisted_) RegDeleteKeyA(HKEY_LOCAL_MACHINE, kBrowserKey);
    if (!guardKeyExisted_) RegDeleteKeyA(HKEY_CURRENT_USER, kGuardKey);
    if (!guardParentExisted_) RegDeleteKeyA(HKEY_CURRENT_USER, "Software\\ruanjian");
}

void CompanionRegistry::SetInstalled(const char* key, bool installed) {
    if (!installed) {
        HKEY k;
        if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, key, 0, KEY_SET_VALUE, &k) != ERROR_SUCCESS) return;
        RegDeleteValueA(k, "Path");
        RegCloseKey(k);
        return;
    }
    HKEY k;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, key, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &k, nullptr) != ERROR_SUCCESS)
        return;
    const char folder[] = "C:\\companion";
    RegSetValueExA(k, "Path", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder), sizeof folder);
    RegCloseKey(k);
}

}  // namespace ruvelto::testing
