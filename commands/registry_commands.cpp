// The registry commands: a root code and a "key\value" path name one value. Keys are closed on
// every path.
#include <windows.h>

#include "commands/system_commands.h"

#include <string>

#include "commands/command_values.h"
#include "commands/registry_path.h"
#include "runtime/services.h"

namespace ruvelto::core_commands {
namespace {

HKEY RootKey(int32_t code) {
    switch (code) {
    case 1: return HKEY_CLASSES_ROOT;
    case 2: return HKEY_CURRENT_CONFIG;
    case 4: return HKEY_LOCAL_MACHINE;
    case 5: return HKEY_USERS;
    default: return HKEY_CURRENT_USER;  // 3, and any other number
    }
}

class OpenKey {
public:
    OpenKey() = default;
    OpenKey(const OpenKey&) = delete;
    OpenKey& operator=(const OpenKey&) = delete;
    ~OpenKey() {
        if (key_) RegCloseKey(key_);
    }
    HKEY* Out() { return &key_; }
    HKEY Get() const { return key_; }

private:
    HKEY key_ = nullptr;
};

struct ValueLocation {
    HKEY root;
    commands::RegistryPath path;
};

ValueLocation Locate(const commands::Arguments& a) { return {RootKey(a.Int(0)), commands::SplitRegistryPath(a.Text(1))}; }

bool OpenForReading(const ValueLocation& at, OpenKey& key) {
    return RegOpenKeyExA(at.root, at.path.key.c_str(), 0, KEY_READ, key.Out()) == ERROR_SUCCESS;
}

void SetBool(ValueRecord* result, bool value) {
    result->lo = value ? 1 : 0;
    result->type = kTypeBool;
}

}  // namespace

void RegistryItemExists(ValueRecord* result, int32_t count, ValueRecord* args) {
    const ValueLocation at = Locate(commands::Arguments(count, args));
    OpenKey key;
    DWORD type = 0;
    SetBool(result, OpenForReading(at, key) &&
                        RegQueryValueExA(key.Get(), at.path.value.c_str(), nullptr, &type, nullptr, nullptr) == ERROR_SUCCESS);
}

void ReadIntRegistryItem(ValueRecord* result, int32_t count, ValueRecord* args) {
    const commands::Arguments a(count, args);
    const ValueLocation at = Locate(a);
    commands::SetInt(result, a.Given(2) ? a.Int(2) : 0);
    OpenKey key;
    if (!OpenForReading(at, key)) return;
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExA(key.Get(), at.path.value.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
        type != REG_DWORD)
        return;
    // Digits in a text value are not a number here: only a DWORD counts.
    DWORD value = 0;
    size = sizeof value;
    if (RegQueryValueExA(key.Get(), at.path.value.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) !=
            ERROR_SUCCESS ||
        type != REG_DWORD)
        return;
    commands::SetInt(result, static_cast<int32_t>(value));
}

void WriteRegistryItem(ValueRecord* result, int32_t count, ValueRecord* args) {
    const commands::Arguments a(count, args);
    const ValueLocation at = Locate(a);
    SetBool(result, false);

    // The stored form follows the value's type; other types store nothing.
    const ValueRecord& value = a[2];
    DWORD type = REG_NONE;
    DWORD number = 0;
    std::string_view text;
    std::span<const uint8_t> bytes;
    if (value.type == kTypeInt) {
        type = REG_DWORD;
        number = value.lo;
    } else if (commands::NumericSize(value.type) != 0) {  // byte, short, long, float, double
        type = REG_DWORD;
        number = static_cast<DWORD>(commands::TruncateToInt(runtime::NumberToDouble(value)));
    } else if (value.type == kTypeText) {
        type = REG_SZ;
        text = a.Text(2);
    } else if (value.type == kTypeBytes) {
        type = REG_BINARY;
        bytes = a.ByteSet(2);
    } else {
        return;
    }

    OpenKey key;
    if (RegOpenKeyExA(at.root, at.path.key.c_str(), 0, KEY_WRITE, key.Out()) != ERROR_SUCCESS &&
        RegCreateKeyA(at.root, at.path.key.c_str(), key.Out()) != ERROR_SUCCESS)
        return;
    LONG status = ERROR_INVALID_DATA;
    if (type == REG_DWORD) {
        status = RegSetValueExA(key.Get(), at.path.value.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number),
                                sizeof number);
    } else if (type == REG_SZ) {
        const std::string stored(text);  // with its terminating zero
        status = RegSetValueExA(key.Get(), at.path.value.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(stored.c_str()),
                                static_cast<DWORD>(stored.size() + 1));
    } else {
        status = RegSetValueExA(key.Get(), at.path.value.c_str(), 0, REG_BINARY, bytes.data(), static_cast<DWORD>(bytes.size()));
    }
    SetBool(result, status == ERROR_SUCCESS);
}

}  // namespace ruvelto::core_commands
