#include "runtime/program_image.h"

namespace ruvelto::runtime {

const TypeDescriptor* FindTypeDescriptor(const ProgramImageHeader& image, uint32_t typeCode) {
    if (!IsLibraryTypeCode(typeCode)) return nullptr;
    uint32_t library = (typeCode >> 16) & 0x3FFF;
    uint32_t type = typeCode & 0xFFFF;
    if (library == 0 || library > image.libraryCount || type == 0 || !image.libraryTable) return nullptr;
    const LibraryRecord* record = image.libraryTable[library - 1];
    if (!record || !record->types || type > record->typeCount) return nullptr;
    return &record->types[type - 1];
}

}  // namespace ruvelto::runtime
