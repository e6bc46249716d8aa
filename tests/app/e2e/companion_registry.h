// The registry values the program's start-up looks at, set and removed by tests in the Wine
// prefix's real registry: the two companions' HKLM values and the single-instance value in HKCU.
// Whatever a test creates is removed again when the scope ends.
#pragma once
#include <windows.h>

#include <string>

namespace ruvelto::testing {

// HKLM\SOFTWARE\<key>, value "Path".
constexpr const char* kArchiverKey = "SOFTWARE\\Quillar";
constexpr const char* kBrowserKey = "SOFTWARE\\Tessaline";
// HKCU: the key whose default value holds the running instance's window (Software\ruanjian\禁止重复运行).
constexpr const char* kGuardKey = "Software\\ruanjian\\\xBD\xFB\xD6\xB9\xD6\xD8\xB8\xB4\xD4\xCB\xD0\xD0";

bool RegistryValueExists(HKEY root, const char* key, const char* value);
// The REG_DWORD value, or -1 when there is none.
int64_t RegistryDword(HKEY root, const char* key, const char* value);

class CompanionRegistry {
public:
    CompanionRegistry();
    ~CompanionRegistry();
    CompanionRegistry(const CompanionRegistry&) = delete;
    CompanionRegistry& operator=(const CompanionRegistry&) = delete;

    // Makes the companion's "Path" value exist or not.
    void SetInstalled(const char* key, bool installed);

private:
    bool archiverKeyExisted_, browserKeyExisted_, guardKeyExisted_, guardParentExisted_;
};

}  // namespace ruvelto::testing
