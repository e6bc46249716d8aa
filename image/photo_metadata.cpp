#include "image/photo_metadata.h"

#include <algorithm>
#include <cstring>
#include <set>

#include "image/image.h"

namespace ruvelto::image {

namespace {

constexpr uint16_t kTagOrientation = 0x0112;
constexpr uint16_t kTagExifDirectory = 0x8769;
constexpr uint16_t kTagGpsDirectory = 0x8825;
constexpr uint16_t kTagInteropDirectory = 0xA005;
constexpr uint16_t kTagPixelXDimension = 0xA002;
constexpr uint16_t kTagPixelYDimension = 0xA003;
constexpr uint16_t kTagThumbnailOffset = 0x0201;
constexpr uint16_t kTagThumbnailLength = 0x0202;
constexpr uint16_t kTypeShort = 3;
constexpr uint16_t kTypeLong = 4;
// Directories nest IFD0 > EXIF > interoperability; deeper links are not followed.
constexpr int kDeepestDirectory = 3;

constexpr uint8_t kExifPrefix[6] = {'E', 'x', 'i', 'f', 0, 0};
constexpr uint8_t kIccPrefix[12] = {'I', 'C', 'C', '_', 'P', 'R', 'O', 'F', 'I', 'L', 'E', 0};
// A JPEG segment holds at most 65535 bytes with its two length bytes.
constexpr size_t kSegmentPayload = 65533;

uint32_t FormatSize(uint16_t type) {
    switch (type) {
        case 1: case 2: case 6: case 7: return 1;
        case 3: case 8: return 2;
        case 4: case 9: case 11: case 13: return 4;
        case 5: case 10: case 12: return 8;
        default: return 0;
    }
}

// A walk over the block's directories that checks every bound and notes where the fields the
// output rewrites sit.
class ExifLayout {
public:
    explicit ExifLayout(const std::vector<uint8_t>& block) : b_(block) {
        if (b_.size() < 8) return;
        if (b_[0] == 'I' && b_[1] == 'I') big_ = false;
        else if (b_[0] == 'M' && b_[1] == 'M') big_ = true;
        else return;
        if (U16(2) != 42) return;
        FindOrientation(U32(4));
        readable_ = true;
        end = 8;
        const uint32_t first = U32(4);
        if (!Directory(first, 0, 0)) readable_ = false;
        if (readable_ && thumbnailLink) ThumbnailDirectory(U32(thumbnailLink));
    }

    bool readable() const { return readable_; }
    bool bigEndian() const { return big_; }
    uint16_t U16(size_t at) const {
        return big_ ? uint16_t(b_[at] << 8 | b_[at + 1]) : uint16_t(b_[at + 1] << 8 | b_[at]);
    }
    uint32_t U32(size_t at) const {
        return big_ ? uint32_t(b_[at]) << 24 | uint32_t(b_[at + 1]) << 16 | uint32_t(b_[at + 2]) << 8 | b_[at + 3]
                    : uint32_t(b_[at + 3]) << 24 | uint32_t(b_[at + 2]) << 16 | uint32_t(b_[at + 1]) << 8 | b_[at];
    }

    size_t orientationAt = 0;  // the SHORT value of the orientation entry, 0 when absent
    // The orientation of IFD0, even when a later part of the block is broken: the picture is still
    // turned upright when the rest of the block is dropped.
    uint16_t orientation = 1;
    size_t pixelXAt = 0, pixelYAt = 0;
    uint16_t pixelXType = 0, pixelYType = 0;
    size_t thumbnailLink = 0;  // where IFD0 names the next directory (the thumbnail's)
    size_t end = 0;            // the end of everything but the thumbnail directory and its data
    size_t thumbnailStart = SIZE_MAX;  // the lowest offset of the thumbnail's directory and data
    bool thumbnailSound = true;

private:
    void FindOrientation(uint32_t at) {
        if (uint64_t{at} + 2 > b_.size()) return;
        const uint32_t count = U16(at);
        for (uint32_t i = 0; i < count && uint64_t{at} + 2 + uint64_t{i + 1} * 12 <= b_.size(); ++i) {
            const size_t e = at + 2 + size_t{i} * 12;
            if (U16(e) == kTagOrientation && U16(e + 2) == kTypeShort && U32(e + 4) == 1) {
                const uint16_t value = U16(e + 8);
                if (value >= 1 && value <= 8) orientation = value;
                return;
            }
        }
    }

    // Checks one directory; kind 0 is IFD0, 1 EXIF, 2 GPS, 3 interoperability.
    bool Directory(uint32_t at, int depth, int kind) {
        if (depth > kDeepestDirectory || !visited_.insert(at).second) return false;
        if (uint64_t{at} + 2 > b_.size()) return false;
        const uint32_t count = U16(at);
        const uint64_t entriesEnd = uint64_t{at} + 2 + uint64_t{count} * 12;
        if (entriesEnd + 4 > b_.size()) return false;
        end = std::max<size_t>(end, size_t(entriesEnd + 4));
        if (kind == 0) thumbnailLink = size_t(entriesEnd);
        for (uint32_t i = 0; i < count; ++i) {
            const size_t e = at + 2 + size_t{i} * 12;
            const uint16_t tag = U16(e), type = U16(e + 2);
            const uint32_t n = U32(e + 4);
            const uint32_t size = FormatSize(type);
            if (size == 0) return false;
            const uint64_t bytes = uint64_t{n} * size;
            size_t valueAt = e + 8;
            if (bytes > 4) {
                valueAt = U32(e + 8);
                if (valueAt + bytes > b_.size()) return false;
                end = std::max<size_t>(end, size_t(valueAt + bytes));
            }
            if (kind == 0 && tag == kTagOrientation && type == kTypeShort && n == 1) orientationAt = valueAt;
            if (kind == 1 && (tag == kTagPixelXDimension || tag == kTagPixelYDimension) && n == 1 &&
                (type == kTypeShort || type == kTypeLong)) {
                (tag == kTagPixelXDimension ? pixelXAt : pixelYAt) = valueAt;
                (tag == kTagPixelXDimension ? pixelXType : pixelYType) = type;
            }
            const int sub = tag == kTagExifDirectory && kind == 0       ? 1
                            : tag == kTagGpsDirectory && kind == 0      ? 2
                            : tag == kTagInteropDirectory && kind == 1  ? 3
                                                                        : 0;
            if (sub && (type == kTypeLong || type == 13) && n == 1 && !Directory(U32(e + 8), depth + 1, sub)) return false;
        }
        return true;
    }

    // The thumbnail's directory is checked on its own: when it is unsound it is unlinked, and the
    // rest of the block is kept.
    void ThumbnailDirectory(uint32_t at) {
        if (at == 0) return;
        thumbnailStart = at;
        if (!visited_.insert(at).second || uint64_t{at} + 2 > b_.size()) {
            thumbnailSound = false;
            return;
        }
        const uint32_t count = U16(at);
        if (uint64_t{at} + 6 + uint64_t{count} * 12 > b_.size()) {
            thumbnailSound = false;
            return;
        }
        uint32_t offset = 0, length = 0;
        for (uint32_t i = 0; i < count; ++i) {
            const size_t e = at + 2 + size_t{i} * 12;
            const uint16_t tag = U16(e), type = U16(e + 2);
            const uint32_t n = U32(e + 4), size = FormatSize(type);
            const uint64_t bytes = uint64_t{n} * size;
            if (size == 0) {
                thumbnailSound = false;
                return;
            }
            if (bytes > 4) {
                const uint32_t valueAt = U32(e + 8);
                if (valueAt + bytes > b_.size()) {
                    thumbnailSound = false;
                    return;
                }
                thumbnailStart = std::min<size_t>(thumbnailStart, valueAt);
            }
            if (tag == kTagThumbnailOffset) offset = type == kTypeShort ? U16(e + 8) : U32(e + 8);
            if (tag == kTagThumbnailLength) length = type == kTypeShort ? U16(e + 8) : U32(e + 8);
        }
        if (length) {
            if (uint64_t{offset} + length > b_.size()) thumbnailSound = false;
            else thumbnailStart = std::min<size_t>(thumbnailStart, offset);
        }
        // A thumbnail directory that links on to a further one is not something outputs repeat.
        if (U32(at + 2 + size_t{count} * 12) != 0) thumbnailSound = false;
    }

    const std::vector<uint8_t>& b_;
    bool big_ = false;
    bool readable_ = false;
    std::set<uint32_t> visited_;
};

void Put16(std::vector<uint8_t>& b, size_t at, bool big, uint16_t v) {
    b[at + (big ? 0 : 1)] = uint8_t(v >> 8);
    b[at + (big ? 1 : 0)] = uint8_t(v);
}

void Put32(std::vector<uint8_t>& b, size_t at, bool big, uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + (big ? 3 - i : i)] = uint8_t(v >> (8 * i));
}

uint32_t BigEndian32(const uint8_t* p) {
    return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | p[3];
}

bool StartsWith(const std::vector<uint8_t>& data, const uint8_t* prefix, size_t length) {
    return data.size() >= length && std::memcmp(data.data(), prefix, length) == 0;
}

}  // namespace

int ExifOrientation(const std::vector<uint8_t>& exif) { return ExifLayout(exif).orientation; }

bool ExifReadable(const std::vector<uint8_t>& exif) { return ExifLayout(exif).readable(); }

bool OrientationSwapsSides(int orientation) { return orientation >= 5 && orientation <= 8; }

bool TurnUpright(Image& image, int orientation) {
    switch (orientation) {
        case 2: return image.Mirror();
        case 3: return image.Mirror() && image.Flip();
        case 4: return image.Flip();
        case 5: return image.RotateRight() && image.Mirror();
        case 6: return image.RotateRight();
        case 7: return image.RotateLeft() && image.Mirror();
        case 8: return image.RotateLeft();
        default: return true;
    }
}

std::vector<uint8_t> ExifForOutput(const PhotoMetadata& metadata, uint32_t width, uint32_t height) {
    std::vector<uint8_t> block = metadata.Exif;
    const ExifLayout layout(metadata.Exif);
    if (!layout.readable()) return {};
    const bool big = layout.bigEndian();
    if (metadata.OrientationApplied && layout.orientationAt) Put16(block, layout.orientationAt, big, 1);
    const auto putDimension = [&](size_t at, uint16_t type, uint32_t value) {
        if (!at) return;
        if (type == kTypeLong) Put32(block, at, big, value);
        else if (value <= 0xFFFF) Put16(block, at, big, uint16_t(value));
    };
    putDimension(layout.pixelXAt, layout.pixelXType, width);
    putDimension(layout.pixelYAt, layout.pixelYType, height);
    const bool samePicture = !metadata.Turned && width == metadata.Width && height == metadata.Height;
    const bool hasThumbnail = layout.thumbnailLink && layout.U32(layout.thumbnailLink) != 0;
    if (hasThumbnail && (!samePicture || !layout.thumbnailSound)) {
        Put32(block, layout.thumbnailLink, big, 0);
        // The thumbnail usually ends the block: then its bytes go too.
        if (layout.thumbnailSound && layout.thumbnailStart >= layout.end) block.resize(layout.end);
    }
    return block;
}

bool IccProfileFits(const std::vector<uint8_t>& profile, bool grey) {
    if (profile.size() < 132 || BigEndian32(profile.data()) != profile.size()) return false;
    if (std::memcmp(profile.data() + 36, "acsp", 4) != 0) return false;
    const uint64_t tags = BigEndian32(profile.data() + 128);
    if (132 + tags * 12 > profile.size()) return false;
    for (uint64_t i = 0; i < tags; ++i) {
        const uint8_t* entry = profile.data() + 132 + i * 12;
        if (uint64_t{BigEndian32(entry + 4)} + BigEndian32(entry + 8) > profile.size()) return false;
    }
    return std::memcmp(profile.data() + 16, grey ? "GRAY" : "RGB ", 4) == 0;
}

PhotoMetadata MetadataFromJpegSegments(const std::vector<JpegSegment>& segments, int& orientation, bool& exifDropped) {
    PhotoMetadata metadata;
    orientation = 1;
    exifDropped = false;
    bool exifSeen = false;
    std::vector<const JpegSegment*> chunks;
    for (const JpegSegment& segment : segments) {
        if (segment.marker == 0xE1 && !exifSeen && StartsWith(segment.data, kExifPrefix, sizeof kExifPrefix)) {
            exifSeen = true;
            std::vector<uint8_t> block(segment.data.begin() + sizeof kExifPrefix, segment.data.end());
            orientation = ExifOrientation(block);
            if (ExifReadable(block)) metadata.Exif = std::move(block);
            else exifDropped = true;
        } else if (segment.marker == 0xE2 && segment.data.size() > sizeof kIccPrefix + 2 &&
                   StartsWith(segment.data, kIccPrefix, sizeof kIccPrefix)) {
            chunks.push_back(&segment);
        }
    }
    // Chunks 1..count, each once, all naming the same count.
    const size_t count = chunks.empty() ? 0 : chunks[0]->data[sizeof kIccPrefix + 1];
    bool whole = count != 0 && chunks.size() == count;
    std::vector<const JpegSegment*> ordered(count, nullptr);
    for (const JpegSegment* chunk : chunks) {
        if (!whole) break;
        const size_t number = chunk->data[sizeof kIccPrefix];
        if (chunk->data[sizeof kIccPrefix + 1] != count || number < 1 || number > count || ordered[number - 1]) whole = false;
        else ordered[number - 1] = chunk;
    }
    if (whole) {
        for (const JpegSegment* chunk : ordered)
            metadata.IccProfile.insert(metadata.IccProfile.end(), chunk->data.begin() + sizeof kIccPrefix + 2, chunk->data.end());
    }
    return metadata;
}

std::vector<JpegSegment> JpegSegmentsFor(const std::vector<uint8_t>& exif, const std::vector<uint8_t>& profile) {
    std::vector<JpegSegment> segments;
    if (!exif.empty() && exif.size() + sizeof kExifPrefix <= kSegmentPayload) {
        JpegSegment app1{0xE1, std::vector<uint8_t>(kExifPrefix, kExifPrefix + sizeof kExifPrefix)};
        app1.data.insert(app1.data.end(), exif.begin(), exif.end());
        segments.push_back(std::move(app1));
    }
    constexpr size_t kChunk = kSegmentPayload - sizeof kIccPrefix - 2;
    const size_t count = (profile.size() + kChunk - 1) / kChunk;
    if (count == 0 || count > 255) return segments;
    for (size_t i = 0; i < count; ++i) {
        JpegSegment app2{0xE2, std::vector<uint8_t>(kIccPrefix, kIccPrefix + sizeof kIccPrefix)};
        app2.data.push_back(uint8_t(i + 1));
        app2.data.push_back(uint8_t(count));
        const size_t from = i * kChunk, to = std::min(profile.size(), from + kChunk);
        app2.data.insert(app2.data.end(), profile.begin() + from, profile.begin() + to);
        segments.push_back(std::move(app2));
    }
    return segments;
}

}  // namespace ruvelto::image
