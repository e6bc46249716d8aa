#include "runtime/program_path.h"

#include <windows.h>

#include "runtime/runtime_state.h"

namespace ruvelto::runtime {

ProgramPath SplitProgramPath(const std::string& fullPath) {
    // Walk whole characters: the trail byte of a GBK character may be 0x5C and is no separator.
    size_t slash = std::string::npos;
    for (size_t i = 0; i < fullPath.size(); i += static_cast<unsigned char>(fullPath[i]) >= 0x80 ? 2 : 1)
        if (fullPath[i] == '\\') slash = i;
    if (slash == std::string::npos) return {"", fullPath};
    return {fullPath.substr(0, slash), fullPath.substr(slash + 1)};
}

void EnsureProgramPath() {
    RuntimeState& state = State();
    if (!state.programFileName.empty()) return;
    char buffer[MAX_PATH + 1] = {};
    DWORD n = GetModuleFileNameA(nullptr, buffer, MAX_PATH);
    ProgramPath path = SplitProgramPath(std::string(buffer, n < MAX_PATH ? n : MAX_PATH));
    state.programDirectory = path.directory;
    state.programFileName = path.fileName;
    if (state.moduleDirectory.empty()) state.moduleDirectory = path.directory + "\\";
}

}  // namespace ruvelto::runtime
