#include "image/metafile_records.h"

#include <vector>

#include "image/byte_order.h"

namespace ruvelto::image {

namespace {

// Enhanced metafile record types whose fields name data inside the record.
enum : uint32_t {
    kEmrHeader = 1,
    kEmrPolyBezier = 2, kEmrPolygon = 3, kEmrPolyline = 4, kEmrPolyBezierTo = 5, kEmrPolylineTo = 6,
    kEmrPolyPolyline = 7, kEmrPolyPolygon = 8,
    kEmrEof = 14,
    kEmrSelectObject = 37, kEmrCreatePen = 38, kEmrCreateBrushIndirect = 39, kEmrDeleteObject = 40,
    kEmrSelectPalette = 48, kEmrCreatePalette = 49,
    kEmrExtCreateFontIndirectW = 82, kEmrCreateMonoBrush = 93, kEmrCreateDibPatternBrushPt = 94, kEmrExtCreatePen = 95,
    kEmrPolyDraw = 56,
    kEmrSetDIBitsToDevice = 80, kEmrStretchDIBits = 81,
    kEmrExtTextOutA = 83, kEmrExtTextOutW = 84,
    kEmrPolyBezier16 = 85, kEmrPolygon16 = 86, kEmrPolyline16 = 87, kEmrPolyBezierTo16 = 88, kEmrPolylineTo16 = 89,
    kEmrPolyPolyline16 = 90, kEmrPolyPolygon16 = 91, kEmrPolyDraw16 = 92,
    kEmrPolyTextOutA = 96, kEmrPolyTextOutW = 97,
};

bool Within(uint64_t offset, uint64_t length, uint64_t size) { return offset <= size && length <= size - offset; }

// One text item (EMRTEXT) at offset t of record r: its characters and spacing array must be there.
bool TextIsSound(const uint8_t* r, uint32_t n, uint32_t t, uint32_t charSize) {
    if (!Within(t, 40, n)) return false;
    const uint64_t chars = LoadLE32(r + t + 8);
    const uint32_t dx = LoadLE32(r + t + 36);
    if (!Within(LoadLE32(r + t + 12), chars * charSize, n)) return false;
    // The spacing array holds one value a character, or two with vertical spacing.
    return dx == 0 || Within(dx, chars * 4, n);
}

// live: which slots of the object table hold an object at this record.
bool RecordIsSound(uint32_t type, const uint8_t* r, uint32_t n, uint32_t handles, std::vector<bool>& live) {
    const auto at = [&](uint32_t offset) { return offset + 4 <= n ? LoadLE32(r + offset) : 0xFFFFFFFFu; };
    switch (type) {
        case kEmrPolyBezier: case kEmrPolygon: case kEmrPolyline: case kEmrPolyBezierTo: case kEmrPolylineTo:
            return Within(28, uint64_t{at(24)} * 8, n);
        case kEmrPolyBezier16: case kEmrPolygon16: case kEmrPolyline16: case kEmrPolyBezierTo16: case kEmrPolylineTo16:
            return Within(28, uint64_t{at(24)} * 4, n);
        case kEmrPolyPolyline: case kEmrPolyPolygon: case kEmrPolyPolyline16: case kEmrPolyPolygon16: {
            const uint64_t polys = at(24), points = at(28);
            const uint64_t pointSize = type >= kEmrPolyPolyline16 ? 4 : 8;
            if (!Within(32, polys * 4 + points * pointSize, n)) return false;
            uint64_t total = 0;
            for (uint64_t i = 0; i < polys; ++i) total += LoadLE32(r + 32 + 4 * i);
            return total <= points;
        }
        case kEmrPolyDraw: case kEmrPolyDraw16:
            return Within(28, uint64_t{at(24)} * (type == kEmrPolyDraw ? 9 : 5), n);
        case kEmrSetDIBitsToDevice: case kEmrStretchDIBits:
            return Within(at(48), at(52), n) && Within(at(56), at(60), n);
        case kEmrExtTextOutA: case kEmrExtTextOutW:
            return TextIsSound(r, n, 36, type == kEmrExtTextOutW ? 2 : 1);
        case kEmrPolyTextOutA: case kEmrPolyTextOutW: {
            const uint64_t strings = at(36);
            if (!Within(40, strings * 40, n)) return false;
            for (uint64_t i = 0; i < strings; ++i)
                if (!TextIsSound(r, n, uint32_t(40 + 40 * i), type == kEmrPolyTextOutW ? 2 : 1)) return false;
            return true;
        }
        case kEmrSelectObject: case kEmrSelectPalette: {
            const uint32_t index = at(8);
            return (index & 0x80000000u) || (index < handles && live[index]);  // stock objects have the top bit set
        }
        case kEmrDeleteObject: {
            const uint32_t index = at(8);
            if (index >= handles || !live[index]) return false;
            live[index] = false;
            return true;
        }
        case kEmrCreatePen: case kEmrCreateBrushIndirect: case kEmrCreatePalette: case kEmrExtCreateFontIndirectW:
        case kEmrCreateMonoBrush: case kEmrCreateDibPatternBrushPt: case kEmrExtCreatePen: {
            // Slot 0 is the metafile itself; a slot is filled again only after its object is deleted.
            const uint32_t index = at(8);
            if (index == 0 || index >= handles || live[index]) return false;
            live[index] = true;
            return true;
        }
        default:
            return true;
    }
}

}  // namespace

bool EnhancedMetafileIsSound(const uint8_t* data, size_t size) {
    if (size < 88 || LoadLE32(data) != kEmrHeader || LoadLE32(data + 40) != 0x464D4520) return false;
    const uint32_t declared = LoadLE32(data + 48);
    const uint32_t handles = LoadLE16(data + 56);
    const uint32_t headerSize = LoadLE32(data + 4);
    const uint64_t descriptionChars = LoadLE32(data + 60);
    // The object table holds the metafile itself at least; a description lies inside the header.
    if (handles == 0 || headerSize < 88 || headerSize > declared) return false;
    std::vector<bool> live(handles, false);
    if (descriptionChars && (LoadLE32(data + 64) < 88 || !Within(LoadLE32(data + 64), descriptionChars * 2, headerSize)))
        return false;
    if (declared > size || declared < 88) return false;
    for (uint64_t offset = 0; offset < declared;) {
        if (!Within(offset, 8, declared)) return false;
        const uint32_t type = LoadLE32(data + offset);
        const uint32_t n = LoadLE32(data + offset + 4);
        if (n < 8 || n % 4 || !Within(offset, n, declared)) return false;
        if (offset == 0 ? n < 88 : type == kEmrHeader) return false;
        if (!RecordIsSound(type, data + offset, n, handles, live)) return false;
        if (type == kEmrEof) return true;
        offset += n;
    }
    return false;  // no end record
}

bool WindowsMetafileIsSound(const uint8_t* data, size_t size) {
    if (size < 18) return false;
    const uint64_t headerBytes = uint64_t{LoadLE16(data + 2)} * 2;
    for (uint64_t offset = headerBytes; offset + 6 <= size;) {
        const uint64_t n = uint64_t{LoadLE32(data + offset)} * 2;
        const uint16_t function = LoadLE16(data + offset + 4);
        if (n < 6 || !Within(offset, n, size)) return false;
        if (function == 0) return true;  // the end record
        offset += n;
    }
    return false;
}

}  // namespace ruvelto::image
