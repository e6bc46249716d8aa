// Decodes arbitrary bytes as GIF, one frame chosen by the last byte; what decodes must encode
// (with the compression the byte before chooses) and read back to the same pixels: palette
// pictures to the same indices and palette, tiled 24-bit pictures to the same colours.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "image/gif_codec.h"
#include "image/mem_stream.h"

using namespace ruvelto::image;

namespace {

bool SameColours(const Image& a, const Image& b) {
    if (b.GetBpp() == 24) {
        const size_t rowBytes = size_t(a.GetWidth()) * 3;
        for (uint32_t y = 0; y < a.GetHeight(); ++y) {
            if (std::memcmp(a.GetBits(y), b.GetBits(y), rowBytes) != 0) return false;
        }
        return true;
    }
    for (uint32_t y = 0; y < a.GetHeight(); ++y) {
        for (uint32_t x = 0; x < a.GetWidth(); ++x) {
            const RgbQuad ca = a.GetPixelColor(int32_t(x), int32_t(y), false);
            const RgbQuad cb = b.GetPixelColor(int32_t(x), int32_t(y), false);
            if (ca.red != cb.red || ca.green != cb.green || ca.blue != cb.blue) return false;
        }
    }
    return true;
}

bool SamePixels(const Image& a, const Image& b) {
    if (a.GetWidth() != b.GetWidth() || a.GetHeight() != b.GetHeight()) return false;
    // A 24-bit picture of a single tile comes back as a palette picture of the same colours.
    if (a.GetBpp() == 24) return SameColours(a, b);
    if (a.GetBpp() != b.GetBpp()) return false;
    if (a.GetPaletteSize() != b.GetPaletteSize()) return false;
    if (a.GetPaletteSize() && std::memcmp(a.GetPalette(), b.GetPalette(), a.GetPaletteSize()) != 0) return false;
    // Padding bytes at the row ends carry nothing; compare pixels only.
    const size_t rowBytes = (size_t(a.GetWidth()) * a.GetBpp() + 7) / 8;
    const uint32_t spare = uint32_t(rowBytes * 8 - size_t(a.GetWidth()) * a.GetBpp());
    for (uint32_t y = 0; y < a.GetHeight(); ++y) {
        const uint8_t* ra = a.GetBits(y);
        const uint8_t* rb = b.GetBits(y);
        if (std::memcmp(ra, rb, rowBytes - (spare ? 1 : 0)) != 0) return false;
        if (spare) {
            const uint8_t mask = static_cast<uint8_t>(0xFF << spare);
            if ((ra[rowBytes - 1] & mask) != (rb[rowBytes - 1] & mask)) return false;
        }
    }
    return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SetPixelMemoryBoundForTesting(30000);  // pictures up to 1 MB keep runs fast
    MemStream in(data, size);
    GifCodec codec;
    codec.Info.Frame = size ? data[size - 1] % 4 : 0;
    if (!codec.Decode(in) || !codec.IsValid()) return 0;
    codec.Info.CodecOption[IMAGE_FORMAT_GIF] = size > 1 ? data[size - 2] % 3 : 0;
    MemStream out;
    if (!codec.Encode(out)) __builtin_trap();
    Image back;
    out.Seek(0, kSeekSet);
    if (!back.Decode(out, IMAGE_FORMAT_GIF) || !SamePixels(codec, back)) __builtin_trap();
    return 0;
}
