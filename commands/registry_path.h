// Where a registry command's full path points: the key under the root and the value's name.
// Portable: the split only looks at GBK bytes.
#pragma once
#include <string>
#include <string_view>

namespace ruvelto::commands {

struct RegistryPath {
    std::string key;    // empty: the root key itself
    std::string value;  // empty: the key's default value
};

// Splits at the last backslash that stands on its own, so the trail byte of a double-byte
// character (GBK trail bytes may be 0x5C) never splits a name. Without such a backslash the
// whole path names a value directly under the root.
RegistryPath SplitRegistryPath(std::string_view fullPath);

}  // namespace ruvelto::commands
