// The Windows functions the application calls as DLL commands of the program image around its
// outputs: putting finished outputs in place, looking at and creating the output folder, and
// telling the user about it. Each failure of a file function leaves the platform's error code
// for LastFileError.
#pragma once
#include <cstdint>
#include <string>

namespace ruvelto::app {

// Windows error codes the application tells apart.
constexpr uint32_t kErrorFileNotFound = 2, kErrorPathNotFound = 3, kErrorAccessDenied = 5, kErrorWriteProtect = 19,
                   kErrorHandleDiskFull = 39, kErrorDiskFull = 112, kErrorNameTooLong = 206,
                   kErrorAlreadyExists = 183;

// Creates a new empty file with a unique name in the folder; its path goes to path. On failure
// the error code is the creation's.
bool CreateTemporaryFile(const std::string& folder, std::string& path);
// The full path with every folder in its long form (no "..", no short names), for comparing
// paths; a path that cannot be made full is returned as it is.
std::string FullLongPath(const std::string& path);
// Moves a file over another, replacing it.
bool MoveReplacing(const std::string& from, const std::string& to);
bool DeleteOneFile(const std::string& path);
// Whether the path names an existing folder; false with the error code set when it names nothing.
bool IsFolder(const std::string& path, bool& exists);
bool CreateOneFolder(const std::string& path);

// A message box as the core library's (no owner, task-modal), for texts longer than that one
// takes; the pressed button's platform id (IDYES 6, IDNO 7...).
int32_t ShowLongMessage(const std::string& text, uint32_t style, const char* title);

// The error code of the last failed call on this thread, cleared by ClearFileError.
uint32_t LastFileError();
void ClearFileError();

}  // namespace ruvelto::app
