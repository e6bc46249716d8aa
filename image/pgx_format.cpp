// PGX: "PG", the byte order ("ML" big-endian, "LM" little-endian), an optional sign, the precision,
// width and height, one white-space character, then one sample of 1 or 2 bytes per pixel.
#include <cstdio>
#include <vector>

#include "image/j2k_raw_formats.h"
#include "image/j2k_texts.h"
#include "image/text_header_scanner.h"

namespace ruvelto::image::j2k {

ComponentImage ReadPgx(Stream& s, const int32_t* escape, std::string& error) {
    TextHeaderScanner t(s);
    const auto fail = [&](const char* why) {
        error = LoadFailure(why);
        return nullptr;
    };
    if (t.Get() != 'P' || t.Get() != 'G') return fail("not a PGX file");
    t.SkipSpace(false);
    const int first = t.Get(), second = t.Get();
    bool bigEndian;
    if (first == 'M' && second == 'L') bigEndian = true;
    else if (first == 'L' && second == 'M') bigEndian = false;
    else return fail("PGX byte order is damaged");
    t.SkipSpace(false);
    bool isSigned = false;
    if (t.Peek() == '+' || t.Peek() == '-') {
        isSigned = t.Get() == '-';
        t.SkipSpace(false);
    }
    uint32_t precision = 0, width = 0, height = 0;
    if (!t.Number(16, &precision)) return fail("PGX precision is damaged");
    t.SkipSpace(false);
    if (!t.Number(0x7FFFFFFF, &width)) return fail("PGX header is incomplete");
    t.SkipSpace(false);
    if (!t.Number(0x7FFFFFFF, &height)) return fail("PGX header is incomplete");
    const int end = t.Get();
    if (!TextHeaderScanner::IsSpace(end)) return fail("PGX header is incomplete");
    if (precision == 0 || width == 0 || height == 0) return fail("PGX picture without pixels");
    const uint32_t bytes = precision <= 8 ? 1 : 2;
    const uint64_t rowBytes = uint64_t{width} * bytes;
    // Headers written on Windows end in CR LF; the LF is not a sample when the data after it is
    // exactly what the header promises.
    if (end == '\r' && uint64_t(s.Remaining()) == rowBytes * height + 1) {
        if (s.GetC() != '\n') s.Seek(-1, kSeekCur);
    }
    if (rowBytes * height > uint64_t(s.Remaining())) return fail("PGX data is shorter than its header says");
    ComponentImage image = MakeComponents(width, height, 1, precision, isSigned, OPJ_CLRSPC_GRAY);
    if (!image) return fail("PGX picture too large");

    std::vector<uint8_t> row(static_cast<size_t>(rowBytes));
    const int32_t low = isSigned ? -(1 << (precision - 1)) : 0;
    const int32_t high = isSigned ? (1 << (precision - 1)) - 1 : (1 << precision) - 1;
    for (uint32_t y = 0; y < height; ++y) {
        if (*escape) {
            error = kCancelled;
            return nullptr;
        }
        if (s.Read(row.data(), 1, row.size()) != row.size()) return fail("PGX data ends early");
        int32_t* out = image->comps[0].data + size_t{y} * width;
        for (uint32_t x = 0; x < width; ++x) {
            int32_t v;
            if (bytes == 1) {
                v = isSigned ? int32_t(int8_t(row[x])) : row[x];
            } else {
                const uint8_t* p = &row[2 * size_t{x}];
                const uint16_t word = bigEndian ? uint16_t(p[0] << 8 | p[1]) : uint16_t(p[1] << 8 | p[0]);
                v = isSigned ? int32_t(int16_t(word)) : word;
            }
            out[x] = v < low ? low : v > high ? high : v;
        }
    }
    return image;
}

bool WritePgx(const opj_image_t& components, Stream& s) {
    const uint32_t w = components.comps[0].w, h = components.comps[0].h;
    char header[64];
    const int length = std::snprintf(header, sizeof header, "PG ML +8 %u %u\n", w, h);
    if (s.Write(header, 1, size_t(length)) != size_t(length)) return false;
    std::vector<uint8_t> row(w);
    for (uint32_t y = 0; y < h; ++y) {
        for (uint32_t x = 0; x < w; ++x) row[x] = uint8_t(components.comps[0].data[size_t{y} * w + x]);
        if (s.Write(row.data(), 1, row.size()) != row.size()) return false;
    }
    return true;
}

}  // namespace ruvelto::image::j2k
