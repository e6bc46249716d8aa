#include "image/wbmp_codec.h"

#include <vector>

#include "image/stream.h"

namespace ruvelto::image {

namespace {

constexpr char kNotWbmp[] = "Not a WBMP";
constexpr char kUnsupportedType[] = "Unsupported WBMP type";
constexpr char kCorrupted[] = "Corrupted WBMP";
constexpr char kCreateFailed[] = "WBMP Create failed";
constexpr char kCancelled[] = "Cancelled";

// Width and height are multi-byte integers: seven bits a byte, most significant first, the top
// bit set on every byte but the last. Below 128 that is a single byte.
bool ReadMultiByte(Stream& s, uint32_t* value) {
    uint32_t v = 0;
    for (int i = 0; i < 4; ++i) {
        const int b = s.GetC();
        if (b < 0) return false;
        v = (v << 7) | uint32_t(b & 0x7F);
        if (!(b & 0x80)) {
            *value = v;
            return true;
        }
    }
    return false;
}

void PutMultiByte(std::vector<uint8_t>& out, uint32_t v) {
    if (v >= 128) out.push_back(uint8_t(0x80 | (v >> 7)));
    out.push_back(uint8_t(v & 0x7F));
}

}  // namespace

bool WbmpCodec::Fail(const char* text) {
    SetLastError(text);
    return false;
}

bool WbmpCodec::Decode(Stream& s) {
    const int64_t start = s.Tell();
    const int64_t size = s.Size();
    uint8_t head[4];
    if (s.Read(head, 1, 4) != 4) return Fail(kNotWbmp);
    if (head[0] != 0 || head[1] != 0) return Fail(kUnsupportedType);

    // The dimensions as multi-byte integers; failing that, as the single bytes (up to 255) that
    // older writers put there. Either reading must leave exactly room for the rows, or more.
    uint32_t width = 0, height = 0;
    const auto fits = [&](uint32_t w, uint32_t h, int64_t dataStart) {
        const uint64_t need = uint64_t{(w + 7) / 8} * h;
        return w && h && size - dataStart >= 0 && uint64_t(size - dataStart) >= need;
    };
    s.Seek(start + 2, kSeekSet);
    bool ok = ReadMultiByte(s, &width) && ReadMultiByte(s, &height) && fits(width, height, s.Tell());
    if (!ok) {
        width = head[2];
        height = head[3];
        if (!fits(width, height, start + 4)) return Fail(kCorrupted);
        s.Seek(start + 4, kSeekSet);
    }

    if (!Create(width, height, 1, IMAGE_FORMAT_WBMP)) return Fail(kCreateFailed);
    SetGrayPalette();
    const size_t rowBytes = (width + 7) / 8;
    for (uint32_t i = 0; i < height; ++i) {
        if (Info.Escape) return Fail(kCancelled);
        if (s.Read(GetBits(height - 1 - i), rowBytes, 1) != 1) return Fail(kCorrupted);
    }
    return true;
}

bool WbmpCodec::Encode(Stream& s) {
    if (!EncodeSafeCheck(&s)) return false;
    const uint32_t width = GetWidth(), height = GetHeight();
    if (GetBpp() != 1 || width > 255 || height > 255) return Fail(kErrWbmpSize);
    std::vector<uint8_t> head = {0, 0};
    PutMultiByte(head, width);
    PutMultiByte(head, height);
    s.Write(head.data(), head.size(), 1);
    // 1 is white in the file: a picture whose colour 0 is the brighter one is written inverted.
    const RgbQuad c0 = GetPaletteColor(0), c1 = GetPaletteColor(1);
    const bool invert = CompareColors(c0, c1) > 0;
    std::vector<uint8_t> row((width + 7) / 8);
    for (uint32_t i = 0; i < height; ++i) {
        const uint8_t* src = GetBits(height - 1 - i);
        for (size_t b = 0; b < row.size(); ++b) row[b] = invert ? uint8_t(~src[b]) : src[b];
        s.Write(row.data(), row.size(), 1);
    }
    return true;
}

}  // namespace ruvelto::image
