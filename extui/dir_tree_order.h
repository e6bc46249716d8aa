// The order of sibling items in the directory tree: file-system items before the others; among
// file-system items the drive roots first, paths starting with a colon last, the rest by path;
// among the others the computer folder first, the recycle bin last, the rest by name. Paths and
// names compare without regard to ASCII case, byte by byte otherwise (GBK order). Portable.
#pragma once
#include <cstdint>
#include <string>

namespace ruvelto::extui {

// The kinds of tree items, as item records store them.
enum class ItemKind : int32_t {
    kOrdinary = 0,
    kNetwork = 1,
    kRecycleBin = 2,
    kComputer = 3,
    kDesktop = 4,
};

// The kind a shell parsing name stands for.
ItemKind KindOfParsingName(const std::string& parsingName);

struct SiblingKey {
    bool fileSystem = false;
    std::string path;  // file-system path, or empty
    std::string name;  // display name
    ItemKind kind = ItemKind::kOrdinary;
};

// A drive root: a letter, a colon and a backslash.
bool IsDriveRoot(const std::string& path);
// Negative when a goes before b, 0 when they are equal in this order, positive otherwise.
int CompareSiblings(const SiblingKey& a, const SiblingKey& b);

}  // namespace ruvelto::extui
