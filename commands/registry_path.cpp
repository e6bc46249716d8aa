#include "commands/registry_path.h"

#include "commands/text_algorithms.h"

namespace ruvelto::commands {

RegistryPath SplitRegistryPath(std::string_view fullPath) {
    // Walk whole characters from the start: only then is a 0x5C byte known to be a backslash.
    size_t lastSlash = std::string_view::npos;
    for (size_t i = 0; i < fullPath.size(); i = NextCharacter(fullPath, i))
        if (fullPath[i] == '\\') lastSlash = i;
    if (lastSlash == std::string_view::npos) return {"", std::string(fullPath)};
    return {std::string(fullPath.substr(0, lastSlash)), std::string(fullPath.substr(lastSlash + 1))};
}

}  // namespace ruvelto::commands
