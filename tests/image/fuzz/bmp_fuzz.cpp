// Decodes arbitrary bytes as BMP; what decodes must also encode and read back.
#include <cstddef>
#include <cstdint>

#include "image/bmp_codec.h"
#include "image/mem_stream.h"

using namespace ruvelto::image;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SetPixelMemoryBoundForTesting(250000);  // pictures up to 8 MB keep runs fast
    MemStream in(data, size);
    BmpCodec codec;
    if (!codec.Decode(in) || !codec.IsValid()) return 0;
    MemStream out;
    codec.Encode(out);
    Image back;
    out.Seek(0, kSeekSet);
    if (!back.Decode(out, IMAGE_FORMAT_BMP)) __builtin_trap();
    return 0;
}
