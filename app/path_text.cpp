#include "app/path_text.h"

namespace ruvelto::app {
namespace {

bool IsLeadByte(unsigned char c) { return c >= 0x81 && c <= 0xFE; }

// Byte positions of the path's real backslashes, in order.
std::vector<size_t> BackslashPositions(const std::string& path) {
    std::vector<size_t> positions;
    for (size_t i = 0; i < path.size(); ++i) {
        if (IsLeadByte(static_cast<unsigned char>(path[i])) && i + 1 < path.size()) {
            ++i;
            continue;
        }
        if (path[i] == '\\') positions.push_back(i);
    }
    return positions;
}

// Bytes taken by the part no folder can be created in: "X:\", or "\\server\share\".
size_t RootLength(const std::string& folder, const std::vector<size_t>& backslashes) {
    if (folder.size() >= 2 && folder[1] == ':') return folder.size() >= 3 && folder[2] == '\\' ? 3 : 2;
    if (folder.compare(0, 2, "\\\\") == 0) return backslashes.size() > 3 ? backslashes[3] + 1 : folder.size();
    return 0;
}

}  // namespace

bool EndsWithBackslash(const std::string& path) {
    const std::vector<size_t> backslashes = BackslashPositions(path);
    return !backslashes.empty() && backslashes.back() == path.size() - 1;
}

std::string WithBackslash(const std::string& folder) { return EndsWithBackslash(folder) ? folder : folder + "\\"; }

std::string WithoutTrailingBackslashes(const std::string& folder) {
    std::string trimmed = folder;
    while (EndsWithBackslash(trimmed)) trimmed.pop_back();
    return trimmed;
}

size_t PathCharacterCount(const std::string& path) {
    size_t count = 0;
    for (size_t i = 0; i < path.size(); ++i, ++count)
        if (IsLeadByte(static_cast<unsigned char>(path[i])) && i + 1 < path.size()) ++i;
    return count;
}

std::vector<std::string> FoldersOnTheWay(const std::string& folder) {
    const std::string trimmed = WithoutTrailingBackslashes(folder);
    const std::vector<size_t> backslashes = BackslashPositions(trimmed);
    const size_t root = RootLength(trimmed, backslashes);
    std::vector<std::string> folders;
    for (size_t position : backslashes)
        if (position >= root && position > 0) folders.push_back(trimmed.substr(0, position));
    if (trimmed.size() > root) folders.push_back(trimmed);
    return folders;
}

}  // namespace ruvelto::app
