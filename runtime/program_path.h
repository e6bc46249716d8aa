// Where the program file lives, split the way the runtime hands it out.
#pragma once
#include <string>

namespace ruvelto::runtime {

struct ProgramPath {
    std::string directory;  // without trailing "\"; empty when the path has no "\"
    std::string fileName;
};

// Splits a full path at its last "\" (a GBK trail byte 0x5C does not count).
ProgramPath SplitProgramPath(const std::string& fullPath);

// Fills the runtime state's program directory, file name and module directory from the
// executable's path, once.
void EnsureProgramPath();

}  // namespace ruvelto::runtime
