// Runtime helpers 0 and 1: a file search the application steps through one name at a time,
// keeping the open search in one of its own variables.
#include <windows.h>

#include <cstring>

#include "runtime/entry_table.h"
#include "runtime/heap.h"

namespace ruvelto::runtime {
namespace {

constexpr uint32_t kMaskableAttributes = 0x37;  // read-only, hidden, system, directory, archive

bool Passes(uint32_t attributes, uint32_t mask, bool anyFile) {
    if (anyFile) return !(attributes & FILE_ATTRIBUTE_DIRECTORY);
    // A mask of 0 asks for plain files: none of the attributes the mask could name.
    if (mask == 0) return (attributes & kMaskableAttributes) == 0;
    return (attributes & mask) != 0;
}

char* NewText(const char* s) {
    size_t n = std::strlen(s) + 1;
    auto* text = static_cast<char*>(heap::Allocate(static_cast<uint32_t>(n)));
    std::memcpy(text, s, n);
    return text;
}

}  // namespace

char* FindFile(const char* pattern, uint32_t attributeMask, int32_t anyFile, intptr_t* searchHandle) {
    if (!searchHandle) return nullptr;
    uint32_t mask = attributeMask & kMaskableAttributes;
    WIN32_FIND_DATAA found;
    if (pattern && *pattern) {
        EndFileSearch(*searchHandle);
        *searchHandle = 0;
        HANDLE handle = FindFirstFileA(pattern, &found);
        if (handle == INVALID_HANDLE_VALUE) return nullptr;
        *searchHandle = reinterpret_cast<intptr_t>(handle);
    } else {
        if (!*searchHandle) return nullptr;
        if (!FindNextFileA(reinterpret_cast<HANDLE>(*searchHandle), &found)) {
            EndFileSearch(*searchHandle);
            *searchHandle = 0;
            return nullptr;
        }
    }
    while (!Passes(found.dwFileAttributes, mask, anyFile != 0)) {
        if (!FindNextFileA(reinterpret_cast<HANDLE>(*searchHandle), &found)) {
            EndFileSearch(*searchHandle);
            *searchHandle = 0;
            return nullptr;
        }
    }
    return NewText(found.cFileName);
}

void EndFileSearch(intptr_t searchHandle) {
    if (searchHandle) FindClose(reinterpret_cast<HANDLE>(searchHandle));
}

}  // namespace ruvelto::runtime
