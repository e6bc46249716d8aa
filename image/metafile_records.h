// Walks the records of a Windows metafile or enhanced metafile and checks that every record, and
// the counts and offsets inside the records that name further data, stay within the bytes there
// are. The platform's renderer trusts these fields; damaged files must not reach it.
#pragma once
#include <cstddef>
#include <cstdint>

namespace ruvelto::image {

bool EnhancedMetafileIsSound(const uint8_t* data, size_t size);
bool WindowsMetafileIsSound(const uint8_t* data, size_t size);

}  // namespace ruvelto::image
