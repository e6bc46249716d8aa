#include "extui/dir_tree_order.h"

#include <cstring>

namespace ruvelto::extui {
namespace {

unsigned char Folded(char c) {
    const auto u = static_cast<unsigned char>(c);
    return u >= 'A' && u <= 'Z' ? static_cast<unsigned char>(u + ('a' - 'A')) : u;
}

int CompareFolded(const std::string& a, const std::string& b) {
    const size_t n = a.size() < b.size() ? a.size() : b.size();
    for (size_t i = 0; i < n; ++i) {
        const int d = Folded(a[i]) - Folded(b[i]);
        if (d) return d;
    }
    return a.size() < b.size() ? -1 : a.size() > b.size() ? 1 : 0;
}

bool EqualsFolded(const std::string& a, const char* b) {
    return a.size() == std::strlen(b) && CompareFolded(a, b) == 0;
}

// -1 when only a has the mark, 1 when only b has it, 0 otherwise.
int MarkedFirst(bool a, bool b) { return a == b ? 0 : a ? -1 : 1; }

}  // namespace

ItemKind KindOfParsingName(const std::string& parsingName) {
    if (EqualsFolded(parsingName, "::{20D04FE0-3AEA-1069-A2D8-08002B30309D}")) return ItemKind::kComputer;
    if (EqualsFolded(parsingName, "::{208D2C60-3AEA-1069-A2D7-08002B30309D}")) return ItemKind::kNetwork;
    if (EqualsFolded(parsingName, "::{645FF040-5081-101B-9F08-00AA002F954E}")) return ItemKind::kRecycleBin;
    return ItemKind::kOrdinary;
}

bool IsDriveRoot(const std::string& path) {
    const unsigned char letter = Folded(path.empty() ? '\0' : path[0]);
    return path.size() == 3 && letter >= 'a' && letter <= 'z' && path[1] == ':' && path[2] == '\\';
}

int CompareSiblings(const SiblingKey& a, const SiblingKey& b) {
    if (int d = MarkedFirst(a.fileSystem, b.fileSystem)) return d;
    if (a.fileSystem) {
        if (int d = MarkedFirst(IsDriveRoot(a.path), IsDriveRoot(b.path))) return d;
        const bool aColon = !a.path.empty() && a.path[0] == ':', bColon = !b.path.empty() && b.path[0] == ':';
        if (int d = MarkedFirst(bColon, aColon)) return d;
        return CompareFolded(a.path, b.path);
    }
    if (int d = MarkedFirst(a.kind == ItemKind::kComputer, b.kind == ItemKind::kComputer)) return d;
    if (int d = MarkedFirst(b.kind == ItemKind::kRecycleBin, a.kind == ItemKind::kRecycleBin)) return d;
    return CompareFolded(a.name, b.name);
}

}  // namespace ruvelto::extui
