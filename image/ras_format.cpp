// Sun raster: a 32-byte big-endian header (magic, width, height, depth, length, type, map type,
// map length), the colour map, then rows padded to 16 bits; type 2 run-length codes the bytes
// (0x80 n v: n + 1 copies of v; 0x80 0: one 0x80), type 3 keeps colour samples in RGB order.
#include <vector>

#include "image/j2k_raw_formats.h"
#include "image/j2k_texts.h"

namespace ruvelto::image::j2k {

namespace {

constexpr uint32_t kMagic = 0x59A66A95;
constexpr uint32_t kTypeOld = 0, kTypeStandard = 1, kTypeRunLength = 2, kTypeRgb = 3;
constexpr uint32_t kMapNone = 0, kMapRgb = 1, kMapRaw = 2;

uint32_t LoadBE32(const uint8_t* p) { return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3]; }
void StoreBE32(uint8_t* p, uint32_t v) {
    p[0] = uint8_t(v >> 24);
    p[1] = uint8_t(v >> 16);
    p[2] = uint8_t(v >> 8);
    p[3] = uint8_t(v);
}

// The data bytes, plain or run-length coded.
class RasBytes {
public:
    RasBytes(Stream& s, bool runLength) : s_(s), runLength_(runLength) {}
    bool Read(uint8_t* out, size_t n) {
        if (!runLength_) return s_.Read(out, 1, n) == n;
        for (size_t i = 0; i < n; ++i) {
            if (left_ == 0) {
                const int c = s_.GetC();
                if (c < 0) return false;
                value_ = uint8_t(c);
                left_ = 1;
                if (c == 0x80) {
                    const int count = s_.GetC();
                    if (count < 0) return false;
                    if (count > 0) {
                        const int v = s_.GetC();
                        if (v < 0) return false;
                        value_ = uint8_t(v);
                        left_ = uint32_t(count) + 1;
                    }
                }
            }
            out[i] = value_;
            --left_;
        }
        return true;
    }

private:
    Stream& s_;
    bool runLength_;
    uint8_t value_ = 0;
    uint32_t left_ = 0;
};

}  // namespace

ComponentImage ReadRas(Stream& s, const int32_t* escape, std::string& error) {
    const auto fail = [&](const char* why) {
        error = LoadFailure(why);
        return nullptr;
    };
    uint8_t head[32];
    if (s.Read(head, 1, 32) != 32 || LoadBE32(head) != kMagic) return fail("not a Sun raster file");
    const uint32_t width = LoadBE32(head + 4), height = LoadBE32(head + 8), depth = LoadBE32(head + 12);
    const uint32_t type = LoadBE32(head + 20), mapType = LoadBE32(head + 24), mapLength = LoadBE32(head + 28);
    if (width == 0 || height == 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF) return fail("Sun raster without pixels");
    if (depth != 1 && depth != 8 && depth != 24 && depth != 32) return fail("Sun raster depth not supported");
    if (type != kTypeOld && type != kTypeStandard && type != kTypeRunLength && type != kTypeRgb)
        return fail("Sun raster type not supported");
    if (mapType > kMapRaw) return fail("Sun raster map type not supported");
    if (mapLength > uint64_t(s.Remaining())) return fail("Sun raster map is shorter than its header says");

    // A colour map of up to 256 entries, stored as all reds, all greens, all blues.
    std::vector<uint8_t> map;
    uint32_t colours = 0;
    if (mapType == kMapRgb && mapLength > 0) {
        if (mapLength % 3 != 0 || mapLength > 768 || depth > 8) return fail("Sun raster map is damaged");
        map.resize(mapLength);
        if (s.Read(map.data(), 1, mapLength) != mapLength) return fail("Sun raster map is damaged");
        colours = mapLength / 3;
    } else if (mapLength > 0 && !s.Seek(mapLength, kSeekCur)) {
        return fail("Sun raster map is damaged");
    }

    const uint64_t rowBytes = (uint64_t{width} * depth + 15) / 16 * 2;
    const uint64_t remaining = uint64_t(s.Remaining());
    // Run-length coding turns 3 bytes into at most 256.
    const uint64_t reachable = type == kTypeRunLength ? remaining * 86 + 256 : remaining;
    if (rowBytes * height > reachable) return fail("Sun raster data is shorter than its header says");
    const bool colour = depth >= 24 || colours > 0;
    ComponentImage image = MakeComponents(width, height, colour ? 3 : 1, depth == 1 && !colour ? 1 : 8, false,
                                          colour ? OPJ_CLRSPC_SRGB : OPJ_CLRSPC_GRAY);
    if (!image) return fail("Sun raster picture too large");

    RasBytes bytes(s, type == kTypeRunLength);
    std::vector<uint8_t> row(static_cast<size_t>(rowBytes));
    const bool rgbOrder = type == kTypeRgb;
    for (uint32_t y = 0; y < height; ++y) {
        if (*escape) {
            error = kCancelled;
            return nullptr;
        }
        if (!bytes.Read(row.data(), row.size())) return fail("Sun raster data ends early");
        const size_t at = size_t{y} * width;
        for (uint32_t x = 0; x < width; ++x) {
            if (depth >= 24) {
                const uint8_t* p = &row[size_t{x} * (depth / 8) + (depth == 32 ? 1 : 0)];
                image->comps[0].data[at + x] = rgbOrder ? p[0] : p[2];
                image->comps[1].data[at + x] = p[1];
                image->comps[2].data[at + x] = rgbOrder ? p[2] : p[0];
                continue;
            }
            // A set bit of a 1-bit raster without a map is black.
            const uint32_t index = depth == 8 ? row[x] : (row[x / 8] >> (7 - x % 8)) & 1;
            if (!colour) {
                image->comps[0].data[at + x] = depth == 8 ? int32_t(index) : int32_t(1 - index);
            } else {
                for (uint32_t c = 0; c < 3; ++c)
                    image->comps[c].data[at + x] = index < colours ? map[c * colours + index] : 0;
            }
        }
    }
    return image;
}

bool WriteRas(const opj_image_t& components, Stream& s) {
    const uint32_t w = components.comps[0].w, h = components.comps[0].h, n = components.numcomps;
    const uint32_t depth = n == 3 ? 24 : 8;
    const uint32_t rowBytes = (w * depth + 15) / 16 * 2;
    uint8_t head[32] = {};
    StoreBE32(head, kMagic);
    StoreBE32(head + 4, w);
    StoreBE32(head + 8, h);
    StoreBE32(head + 12, depth);
    StoreBE32(head + 16, rowBytes * h);
    StoreBE32(head + 20, kTypeStandard);
    StoreBE32(head + 24, kMapNone);
    if (s.Write(head, 1, 32) != 32) return false;
    std::vector<uint8_t> row(rowBytes, 0);
    for (uint32_t y = 0; y < h; ++y) {
        const size_t at = size_t{y} * w;
        for (uint32_t x = 0; x < w; ++x) {
            if (n == 3) {  // standard rasters keep colour samples as blue, green, red
                row[3 * size_t{x}] = uint8_t(components.comps[2].data[at + x]);
                row[3 * size_t{x} + 1] = uint8_t(components.comps[1].data[at + x]);
                row[3 * size_t{x} + 2] = uint8_t(components.comps[0].data[at + x]);
            } else {
                row[x] = uint8_t(components.comps[0].data[at + x]);
            }
        }
        if (s.Write(row.data(), 1, row.size()) != row.size()) return false;
    }
    return true;
}

}  // namespace ruvelto::image::j2k
