#include "app/file_commands.h"

#include "app/picture_formats.h"
#include "runtime/entry_table.h"

namespace ruvelto::app {
namespace {

// DLL commands of the program image.
enum DllCommand : uint32_t {
    kGetTempFileNameA = 23, kMoveFileExA = 24, kDeleteFileA = 25, kGetFileAttributesA = 26, kCreateDirectoryA = 27,
    kGetLastError = 28, kSetLastError = 29, kMessageBoxA = 30, kGetFullPathNameA = 31, kGetLongPathNameA = 32,
};
constexpr uint32_t kTaskModal = 0x2000;  // MB_TASKMODAL
constexpr uint32_t kMoveReplaceExisting = 1;  // MOVEFILE_REPLACE_EXISTING
constexpr uint32_t kInvalidAttributes = 0xFFFFFFFF;
constexpr uint32_t kDirectoryAttribute = 0x10;

// A drive alone ("C:") names the drive's current folder; its root is meant.
std::string ForCalls(const std::string& folder) {
    return folder.size() == 2 && folder[1] == ':' ? folder + "\\" : folder;
}

std::string WithSeparator(const std::string& folder) {
    return !folder.empty() && FileNameOf(folder).empty() ? folder : folder + "\\";
}

}  // namespace

bool CreateTemporaryFile(const std::string& folder, std::string& path) {
    ClearFileError();
    char temporary[260] = {};
    const bool named = runtime::CallDllCommand<uint32_t>(kGetTempFileNameA, ForCalls(folder).c_str(), "rvt", 0u,
                                                         temporary) != 0;
    const uint32_t error = LastFileError();
    // Some implementations name the file even when they could not create it: it must be there.
    bool exists = false;
    if (named && !IsFolder(temporary, exists) && exists) {
        path = temporary;
        return true;
    }
    runtime::CallDllCommand<void>(kSetLastError, error);
    return false;
}

std::string FullLongPath(const std::string& path) {
    char buffer[1024];
    const uint32_t full = runtime::CallDllCommand<uint32_t>(kGetFullPathNameA, path.c_str(),
                                                            static_cast<uint32_t>(sizeof buffer), buffer,
                                                            static_cast<char**>(nullptr));
    const std::string absolute = full > 0 && full < sizeof buffer ? std::string(buffer) : path;
    // A full path differs from its long form only where a folder or file goes by its short
    // name, and a short name that is not the long name itself carries a "~". Asking for the long
    // form walks the path folder by folder, which took most of the time a run of many small
    // pictures spent before its first picture.
    if (absolute.find('~') == std::string::npos) return absolute;
    auto longForm = [&](const std::string& p, std::string& result) {
        const uint32_t n = runtime::CallDllCommand<uint32_t>(kGetLongPathNameA, p.c_str(), buffer,
                                                             static_cast<uint32_t>(sizeof buffer));
        if (n == 0 || n >= sizeof buffer) return false;
        result = buffer;
        return true;
    };
    std::string result;
    if (longForm(absolute, result)) return result;
    // A file yet to be written: the long form of its folder, which exists.
    const std::string name = FileNameOf(absolute);
    const std::string folder = absolute.substr(0, absolute.size() - name.size());
    if (!name.empty() && !folder.empty() && longForm(folder, result)) return WithSeparator(result) + name;
    return absolute;
}

bool MoveReplacing(const std::string& from, const std::string& to) {
    return runtime::CallDllCommand<int>(kMoveFileExA, from.c_str(), to.c_str(), kMoveReplaceExisting) != 0;
}

bool DeleteOneFile(const std::string& path) { return runtime::CallDllCommand<int>(kDeleteFileA, path.c_str()) != 0; }

bool IsFolder(const std::string& path, bool& exists) {
    const uint32_t attributes = runtime::CallDllCommand<uint32_t>(kGetFileAttributesA, ForCalls(path).c_str());
    exists = attributes != kInvalidAttributes;
    return exists && (attributes & kDirectoryAttribute) != 0;
}

bool CreateOneFolder(const std::string& path) {
    return runtime::CallDllCommand<int>(kCreateDirectoryA, path.c_str(), static_cast<void*>(nullptr)) != 0;
}

int32_t ShowLongMessage(const std::string& text, uint32_t style, const char* title) {
    return runtime::CallDllCommand<int32_t>(kMessageBoxA, static_cast<void*>(nullptr), text.c_str(), title,
                                            style | kTaskModal);
}

uint32_t LastFileError() { return runtime::CallDllCommand<uint32_t>(kGetLastError); }

void ClearFileError() {
    // Resolved here, before it is needed: resolving loads libraries, which changes the error code.
    runtime::ResolveDllCommand(kGetLastError);
    runtime::CallDllCommand<void>(kSetLastError, 0u);
}

}  // namespace ruvelto::app
