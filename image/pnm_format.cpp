// PBM, PGM, PPM (P1-P6) and PAM (P7).
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "image/j2k_raw_formats.h"
#include "image/j2k_texts.h"
#include "image/text_header_scanner.h"

namespace ruvelto::image::j2k {

namespace {

constexpr uint32_t kMaxSide = 0x7FFFFFFF;

struct PnmHeader {
    int kind = 0;  // the digit after 'P'
    uint32_t width = 0, height = 0, depth = 1, maxval = 1;
    bool plain() const { return kind <= 3; }
    bool bitmap() const { return kind == 1 || kind == 4; }
};

struct TupleType {
    const char* name;
    uint32_t depth;
    bool oneBit;
};
constexpr TupleType kTupleTypes[] = {
    {"BLACKANDWHITE", 1, true}, {"GRAYSCALE", 1, false}, {"RGB", 3, false},
    {"BLACKANDWHITE_ALPHA", 2, true}, {"GRAYSCALE_ALPHA", 2, false}, {"RGB_ALPHA", 4, false},
};

std::string Word(TextHeaderScanner& t) {
    std::string w;
    while (t.Peek() != -1 && !TextHeaderScanner::IsSpace(t.Peek()) && w.size() < 64) w += char(t.Get());
    return w;
}

const char* ReadPamHeader(TextHeaderScanner& t, PnmHeader& h) {
    bool width = false, height = false, depth = false, maxval = false;
    std::string tuple;
    for (;;) {
        t.SkipSpace(true, false);
        const std::string key = Word(t);
        if (key == "ENDHDR") break;
        if (key == "TUPLTYPE") {
            while (t.Peek() == ' ' || t.Peek() == '\t') t.Get();
            while (t.Peek() != -1 && t.Peek() != '\n' && t.Peek() != '\r' && tuple.size() < 64) tuple += char(t.Get());
            while (!tuple.empty() && TextHeaderScanner::IsSpace(tuple.back())) tuple.pop_back();
            continue;
        }
        uint32_t* field = key == "WIDTH" ? &h.width : key == "HEIGHT" ? &h.height
                        : key == "DEPTH" ? &h.depth : key == "MAXVAL" ? &h.maxval : nullptr;
        if (!field) return "PAM header is damaged";
        t.SkipSpace(false);
        if (!t.Number(kMaxSide, field)) return "PAM header is damaged";
        (key == "WIDTH" ? width : key == "HEIGHT" ? height : key == "DEPTH" ? depth : maxval) = true;
    }
    if (!(width && height && depth && maxval)) return "PAM header is incomplete";
    while (t.Peek() != '\n' && t.Peek() != -1) t.Get();
    if (t.Get() != '\n') return "PAM header is incomplete";
    if (h.maxval > 65535) return "sample maximum above 65535";
    for (const TupleType& type : kTupleTypes) {
        if (tuple == type.name && (h.depth != type.depth || (type.oneBit && h.maxval != 1)))
            return "PAM tuple type does not match its depth";
    }
    if (h.depth < 1 || h.depth > 4) return "PAM depth not supported";
    return nullptr;
}

const char* ReadHeader(TextHeaderScanner& t, PnmHeader& h) {
    if (t.Get() != 'P') return "not a PNM file";
    h.kind = t.Get() - '0';
    if (h.kind < 1 || h.kind > 7) return "not a PNM file";
    if (h.kind == 7) return ReadPamHeader(t, h);
    t.SkipSpace(true);
    if (!t.Number(kMaxSide, &h.width)) return "PNM header is incomplete";
    t.SkipSpace(true);
    if (!t.Number(kMaxSide, &h.height)) return "PNM header is incomplete";
    if (!h.bitmap()) {
        t.SkipSpace(true);
        if (!t.Number(65535, &h.maxval)) return "PNM header is incomplete";
    }
    h.depth = h.kind == 3 || h.kind == 6 ? 3 : 1;
    // Binary samples start after exactly one white-space character.
    if (!h.plain() && !TextHeaderScanner::IsSpace(t.Get())) return "PNM header is incomplete";
    return nullptr;
}

// Bits of a sample that is stored as it is: the maximum must be one less than a power of two.
uint32_t ExactBits(uint32_t maxval) {
    for (uint32_t bits = 1; bits <= 16; ++bits) {
        if (maxval == (1u << bits) - 1) return bits;
    }
    return 0;
}

}  // namespace

ComponentImage ReadPnm(Stream& s, const int32_t* escape, std::string& error) {
    TextHeaderScanner t(s);
    PnmHeader h;
    if (const char* bad = ReadHeader(t, h)) {
        error = LoadFailure(bad);
        return nullptr;
    }
    if (h.width == 0 || h.height == 0 || h.maxval == 0) {
        error = LoadFailure("PNM picture without pixels");
        return nullptr;
    }
    const uint64_t bytesPerSample = h.maxval > 255 ? 2 : 1;
    const uint64_t samples = uint64_t{h.width} * h.height * h.depth;
    const uint64_t rowBytes = h.kind == 4 ? (uint64_t{h.width} + 7) / 8 : uint64_t{h.width} * h.depth * bytesPerSample;
    const uint64_t needed = h.plain() ? samples : rowBytes * h.height;
    if (needed > uint64_t(s.Remaining()) + 1) {
        error = LoadFailure("PNM data is shorter than its header says");
        return nullptr;
    }
    const uint32_t exact = h.bitmap() ? 1 : ExactBits(h.maxval);
    const uint32_t precision = exact ? exact : 8;
    ComponentImage image = MakeComponents(h.width, h.height, h.depth, precision, false,
                                          h.depth >= 3 ? OPJ_CLRSPC_SRGB : OPJ_CLRSPC_GRAY);
    if (!image) {
        error = LoadFailure("PNM picture too large");
        return nullptr;
    }
    if (h.depth == 2 || h.depth == 4) image->comps[h.depth - 1].alpha = 1;

    std::vector<uint8_t> row(h.plain() ? 0 : size_t(rowBytes));
    std::vector<uint32_t> values(size_t{h.width} * h.depth);
    for (uint32_t y = 0; y < h.height; ++y) {
        if (*escape) {
            error = kCancelled;
            return nullptr;
        }
        if (h.plain()) {
            for (uint32_t& v : values) {
                t.SkipSpace(true);
                if (h.bitmap()) {
                    const int c = t.Get();
                    if (c != '0' && c != '1') {
                        error = LoadFailure("PNM data ends early");
                        return nullptr;
                    }
                    v = uint32_t(c - '0');
                } else if (!t.Number(UINT32_MAX, &v)) {
                    error = LoadFailure("PNM data ends early");
                    return nullptr;
                }
            }
        } else {
            if (s.Read(row.data(), 1, row.size()) != row.size()) {
                error = LoadFailure("PNM data ends early");
                return nullptr;
            }
            for (size_t i = 0; i < values.size(); ++i) {
                if (h.kind == 4) values[i] = (row[i / 8] >> (7 - i % 8)) & 1;
                else if (bytesPerSample == 2) values[i] = uint32_t(row[2 * i]) << 8 | row[2 * i + 1];
                else values[i] = row[i];
            }
        }
        for (uint32_t x = 0; x < h.width; ++x) {
            for (uint32_t c = 0; c < h.depth; ++c) {
                uint32_t v = values[size_t{x} * h.depth + c];
                if (v > h.maxval) {
                    error = LoadFailure("PNM sample above its maximum");
                    return nullptr;
                }
                if (h.bitmap()) v = 1 - v;  // a set PBM bit is black
                else if (!exact) v = (v * 255 + h.maxval / 2) / h.maxval;
                image->comps[c].data[size_t{y} * h.width + x] = int32_t(v);
            }
        }
    }
    return image;
}

bool WritePnm(const opj_image_t& components, Stream& s) {
    const uint32_t w = components.comps[0].w, h = components.comps[0].h, n = components.numcomps;
    char header[64];
    const int length = std::snprintf(header, sizeof header, "P%c\n%u %u\n255\n", n == 3 ? '6' : '5', w, h);
    if (s.Write(header, 1, size_t(length)) != size_t(length)) return false;
    std::vector<uint8_t> row(size_t{w} * n);
    for (uint32_t y = 0; y < h; ++y) {
        for (uint32_t x = 0; x < w; ++x) {
            for (uint32_t c = 0; c < n; ++c) row[size_t{x} * n + c] = uint8_t(components.comps[c].data[size_t{y} * w + x]);
        }
        if (s.Write(row.data(), 1, row.size()) != row.size()) return false;
    }
    return true;
}

}  // namespace ruvelto::image::j2k
