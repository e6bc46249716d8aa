// Arbitrary bytes through the metafile record checks that run before a metafile is played, and
// through the WMF decoder (placeable header, metafile header, sizes).
#include <cstddef>
#include <cstdint>

#include "image/mem_stream.h"
#include "image/metafile_records.h"
#include "image/wmf_codec.h"

using namespace ruvelto::image;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SetPixelMemoryBoundForTesting(250000);
    EnhancedMetafileIsSound(data, size);
    WindowsMetafileIsSound(data, size);
    MemStream in(data, size);
    WmfCodec codec;
    codec.Decode(in);
    return 0;
}
