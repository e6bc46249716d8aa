// Arbitrary bytes through the JPEG section reader, twice: as they are (markers, padding, section
// lengths, the image data kept in image mode) and wrapped as the EXIF block of an APP1 section,
// so that the directory walk (byte order, entry formats, offsets, sub-directory links) is
// reached at once.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

#include "image/exif_reader.h"
#include "image/mem_stream.h"

using namespace ruvelto::image;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 60000) return 0;
    const int mode = size && (data[0] & 1) ? kExifReadExif | kExifReadImage : kExifReadExif;
    {
        ExifInfo info;
        ExifReader reader(&info);
        MemStream in(data, size);
        reader.DecodeExif(in, mode);
        for (int i = 0; i < reader.SectionCount(); ++i) {
            const ExifReader::Section& section = reader.GetSection(i);
            if (section.Size && !section.Data) __builtin_trap();
        }
    }
    std::vector<uint8_t> jpeg = {0xFF, 0xD8, 0xFF, 0xE1, uint8_t((size + 8) >> 8), uint8_t(size + 8),
                                 'E', 'x', 'i', 'f', 0, 0};
    jpeg.insert(jpeg.end(), data, data + size);
    jpeg.insert(jpeg.end(), {0xFF, 0xDA, 0x00, 0x02, 0xFF, 0xD9});
    ExifInfo info;
    ExifReader reader(&info);
    MemStream in(jpeg.data(), jpeg.size());
    reader.DecodeExif(in, kExifReadExif);
    // The block alone, in a buffer of exactly its size, so that any read past it is caught.
    std::unique_ptr<uint8_t[]> block(new uint8_t[size + 6]);
    std::memcpy(block.get(), jpeg.data() + 6, size + 6);
    ExifReader direct(&info);
    direct.process_EXIF(block.get(), uint32_t(size + 6));
    return 0;
}
