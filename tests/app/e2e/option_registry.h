// The program's remembered check boxes ("保持比例", "包含子文件夹") in the Wine prefix's real
// registry: a test sets them as it needs, and the values are removed again when the scope ends,
// so that every program a test starts begins with both boxes as the test left them.
#pragma once
#include <windows.h>

#include <cstdint>

namespace ruvelto::testing {

// HKCU\Software\ruanjian, values 保持比例 and 包含子文件夹.
constexpr const char* kOptionsKey = "Software\\ruanjian";
constexpr const char* kKeepProportionsValue = "\xB1\xA3\xB3\xD6\xB1\xC8\xC0\xFD";
constexpr const char* kSubfoldersValue = "\xB0\xFC\xBA\xAC\xD7\xD3\xCE\xC4\xBC\xFE\xBC\xD0";

class OptionRegistry {
public:
    OptionRegistry();  // both values removed: both boxes start off
    ~OptionRegistry();
    OptionRegistry(const OptionRegistry&) = delete;
    OptionRegistry& operator=(const OptionRegistry&) = delete;

    void Set(const char* value, bool on);
    // The stored REG_DWORD, or -1 when there is none.
    int64_t Get(const char* value) const;
};

}  // namespace ruvelto::testing
