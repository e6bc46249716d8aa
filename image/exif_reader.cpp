#include "image/exif_reader.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>

#include "image/stream.h"

namespace ruvelto::image {

namespace {

constexpr int kMarkerSof0 = 0xC0;
constexpr int kMarkerSof15 = 0xCF;
constexpr int kMarkerDht = 0xC4;
constexpr int kMarkerJpg = 0xC8;
constexpr int kMarkerDac = 0xCC;
constexpr int kMarkerEoi = 0xD9;
constexpr int kMarkerSos = 0xDA;
constexpr int kMarkerApp0 = 0xE0;
constexpr int kMarkerApp1 = 0xE1;
constexpr int kMarkerCom = 0xFE;

// Bytes of one component of each EXIF format code 1-12.
constexpr uint32_t kFormatBytes[13] = {0, 1, 1, 2, 4, 8, 1, 1, 2, 4, 8, 4, 8};

enum ExifFormat {
    kFmtByte = 1, kFmtString, kFmtUShort, kFmtULong, kFmtURational,
    kFmtSByte, kFmtUndefined, kFmtSShort, kFmtSLong, kFmtSRational, kFmtSingle, kFmtDouble,
};

enum ExifTag : uint16_t {
    kTagMake = 0x010F,
    kTagModel = 0x0110,
    kTagOrientation = 0x0112,
    kTagXResolution = 0x011A,
    kTagYResolution = 0x011B,
    kTagResolutionUnit = 0x0128,
    kTagDateTime = 0x0132,
    kTagThumbnailOffset = 0x0201,
    kTagThumbnailLength = 0x0202,
    kTagExposureTime = 0x829A,
    kTagFNumber = 0x829D,
    kTagExifOffset = 0x8769,
    kTagExposureProgram = 0x8822,
    kTagIsoEquivalent = 0x8827,
    kTagExifVersion = 0x9000,
    kTagDateTimeOriginal = 0x9003,
    kTagCompressionLevel = 0x9102,
    kTagShutterSpeed = 0x9201,
    kTagAperture = 0x9202,
    kTagBrightness = 0x9203,
    kTagExposureBias = 0x9204,
    kTagMaxAperture = 0x9205,
    kTagSubjectDistance = 0x9206,
    kTagMeteringMode = 0x9207,
    kTagFlash = 0x9209,
    kTagFocalLength = 0x920A,
    kTagUserComment = 0x9286,
    kTagExifImageWidth = 0xA002,
    kTagExifImageLength = 0xA003,
    kTagInteropOffset = 0xA005,
    kTagFocalPlaneXRes = 0xA20E,
    kTagFocalPlaneYRes = 0xA20F,
    kTagFocalPlaneUnits = 0xA210,
    kTagWhiteBalance = 0xA403,
};

// Sub-directories may link to each other; a crafted block must not make the walk endless.
constexpr int kMaxNesting = 4;
constexpr int kMaxDirectories = 32;

int32_t ToInt(double v) {
    if (!(v == v)) return 0;
    if (v >= 2147483647.0) return INT32_MAX;
    if (v <= -2147483648.0) return INT32_MIN;
    return static_cast<int32_t>(v);
}

float ToFloat(double v) {
    if (!(v == v)) return 0;
    if (v > 3.4e38) return 3.4e38f;
    if (v < -3.4e38) return -3.4e38f;
    return static_cast<float>(v);
}

// Copies a text value into a fixed field, up to its first zero byte.
void CopyText(char* field, size_t fieldSize, const uint8_t* value, uint32_t bytes) {
    size_t n = 0;
    while (n + 1 < fieldSize && n < bytes && value[n]) {
        field[n] = static_cast<char>(value[n]);
        ++n;
    }
    field[n] = 0;
}

}  // namespace

uint32_t ExifReader::Get16(const uint8_t* p) const {
    return littleEndian_ ? uint32_t(p[0] | p[1] << 8) : uint32_t(p[0] << 8 | p[1]);
}

uint32_t ExifReader::Get32(const uint8_t* p) const {
    return littleEndian_ ? uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24
                         : uint32_t(p[3]) | uint32_t(p[2]) << 8 | uint32_t(p[1]) << 16 | uint32_t(p[0]) << 24;
}

void ExifReader::SetError(const char* text) {
    std::strncpy(error_, text, sizeof error_ - 1);
    error_[sizeof error_ - 1] = 0;
}

bool ExifReader::DecodeExif(Stream& s, int mode) {
    if (s.GetC() != 0xFF || s.GetC() != 0xD8) return false;
    bool haveComment = false;
    for (;;) {
        if (sectionCount_ >= kMaxSections) {
            SetError(kErrTooManySections);
            return false;
        }
        int marker = 0;
        for (int a = 0;; ++a) {
            marker = s.GetC();
            if (marker != 0xFF) break;
            if (a >= 6) {
                std::fputs("too many padding bytes\n", stdout);
                return false;
            }
        }

        uint8_t lengthBytes[2];
        if (s.Read(lengthBytes, 1, 2) != 2) {
            SetError(kErrPrematureEnd);
            return false;
        }
        const uint32_t length = uint32_t{lengthBytes[0]} << 8 | lengthBytes[1];
        if (length < 2) {
            SetError(kErrInvalidMarker);
            return false;
        }
        Section& section = sections_[sectionCount_];
        section.Data.reset(new (std::nothrow) uint8_t[length]);
        if (!section.Data) {
            SetError(kErrSectionMemory);
            return false;
        }
        section.Type = marker;
        section.Size = length;
        section.Data[0] = lengthBytes[0];
        section.Data[1] = lengthBytes[1];
        if (s.Read(section.Data.get() + 2, 1, length - 2) != length - 2) {
            section.Data.reset();
            SetError(kErrPrematureEnd);
            return false;
        }
        ++sectionCount_;
        const uint8_t* data = section.Data.get();
        bool keep = true;

        switch (marker) {
            case kMarkerSos: {
                if (mode & kExifReadImage) {
                    if (sectionCount_ >= kMaxSections) {
                        SetError(kErrTooManySections);
                        return false;
                    }
                    const int64_t rest = s.Remaining();
                    Section& image = sections_[sectionCount_];
                    image.Data.reset(rest > 0 && uint64_t(rest) < UINT32_MAX
                                         ? new (std::nothrow) uint8_t[size_t(rest)] : nullptr);
                    if (!image.Data && rest > 0) {
                        SetError(kErrImageMemory);
                        return false;
                    }
                    if (rest > 0 && s.Read(image.Data.get(), 1, size_t(rest)) != size_t(rest)) {
                        image.Data.reset();
                        SetError(kErrImageRead);
                        return false;
                    }
                    image.Type = kImageDataSection;
                    image.Size = static_cast<uint32_t>(rest);
                    ++sectionCount_;
                }
                return true;
            }
            case kMarkerEoi:
                std::fputs("No image in jpeg!\n", stdout);
                return false;
            case kMarkerCom:
                if (!haveComment && (mode & kExifReadExif)) {
                    process_COM(data, length);
                    haveComment = true;
                } else {
                    keep = false;
                }
                break;
            case kMarkerApp0:
                keep = false;
                break;
            case kMarkerApp1:
                if ((mode & kExifReadExif) && length >= 6 && std::memcmp(data + 2, "Exif", 4) == 0) {
                    info_->IsExif = process_EXIF(data + 2, length - 2);
                } else {
                    keep = false;
                }
                break;
            default:
                if (marker >= kMarkerSof0 && marker <= kMarkerSof15 && marker != kMarkerDht &&
                    marker != kMarkerJpg && marker != kMarkerDac) {
                    process_SOFn(data, marker);
                }
                break;
        }
        if (!keep) {
            --sectionCount_;
            sections_[sectionCount_].Data.reset();
        }
    }
}

void ExifReader::process_SOFn(const uint8_t* data, int marker) {
    if ((uint32_t{data[0]} << 8 | data[1]) < 8) return;
    info_->Height = data[3] << 8 | data[4];
    info_->Width = data[5] << 8 | data[6];
    info_->IsColor = data[7] == 3;
    info_->Process = marker;
}

void ExifReader::process_COM(const uint8_t* data, uint32_t length) {
    CopyText(info_->Comments, sizeof info_->Comments, data + 2, length - 2);
}

bool ExifReader::process_EXIF(const uint8_t* data, uint32_t length) {
    if (length < 6 || std::memcmp(data, "Exif\0\0", 6) != 0) {
        SetError(kErrExifHeader);
        return false;
    }
    const uint8_t* tiff = data + 6;
    const uint32_t tiffLength = length - 6;
    if (tiffLength >= 2 && tiff[0] == 'I' && tiff[1] == 'I') {
        littleEndian_ = true;
    } else if (tiffLength >= 2 && tiff[0] == 'M' && tiff[1] == 'M') {
        littleEndian_ = false;
    } else {
        SetError(kErrExifAlignment);
        return false;
    }
    if (tiffLength < 8 || Get16(tiff + 2) != 42) {
        SetError(kErrExifStart);
        return false;
    }
    directoriesVisited_ = 0;
    info_->ExifImageLength = 0;
    if (!ProcessExifDir(Get32(tiff + 4), tiff, tiffLength, 0, false)) return false;
    if (info_->FocalPlaneXRes != 0) {
        info_->CCDWidth = ToFloat(double(info_->ExifImageLength) * info_->FocalPlaneUnits / info_->FocalPlaneXRes);
    }
    return true;
}

bool ExifReader::ProcessExifDir(uint32_t dirStart, const uint8_t* base, uint32_t length, int nesting,
                                bool thumbnailDirectory) {
    if (nesting > kMaxNesting || ++directoriesVisited_ > kMaxDirectories) {
        SetError(kErrNesting);
        return false;
    }
    if (dirStart >= length || length - dirStart < 2) {
        SetError(kErrDirectorySize);
        return false;
    }
    const uint32_t entries = Get16(base + dirStart);
    const uint64_t dirEnd = uint64_t{dirStart} + 2 + 12 * uint64_t{entries};
    if (dirEnd > length) {
        SetError(kErrDirectorySize);
        return false;
    }

    auto number = [&](const uint8_t* v, uint32_t format) -> double {
        switch (format) {
            case kFmtByte: return v[0];
            case kFmtSByte: return static_cast<int8_t>(v[0]);
            case kFmtUShort: return Get16(v);
            case kFmtSShort: return static_cast<int16_t>(Get16(v));
            case kFmtULong: return Get32(v);
            case kFmtSLong: return static_cast<int32_t>(Get32(v));
            case kFmtURational: {
                const uint32_t den = Get32(v + 4);
                return den ? double(Get32(v)) / den : 0.0;
            }
            case kFmtSRational: {
                const int32_t den = static_cast<int32_t>(Get32(v + 4));
                return den ? double(static_cast<int32_t>(Get32(v))) / den : 0.0;
            }
            case kFmtSingle: {
                const uint32_t bits = Get32(v);
                float f;
                std::memcpy(&f, &bits, 4);
                return f;
            }
            case kFmtDouble: {
                const uint64_t bits = littleEndian_ ? uint64_t{Get32(v)} | uint64_t{Get32(v + 4)} << 32
                                                    : uint64_t{Get32(v + 4)} | uint64_t{Get32(v)} << 32;
                double d;
                std::memcpy(&d, &bits, 8);
                return d;
            }
            default: return 0.0;
        }
    };

    ExifInfo& info = *info_;
    for (uint32_t i = 0; i < entries; ++i) {
        const uint8_t* entry = base + dirStart + 2 + 12 * size_t(i);
        const uint32_t tag = Get16(entry);
        const uint32_t format = Get16(entry + 2);
        const uint32_t components = Get32(entry + 4);
        if (format < 1 || format > 12) {
            SetError(kErrFormatCode);
            return false;
        }
        const uint64_t bytes = uint64_t{components} * kFormatBytes[format];
        const uint8_t* value = entry + 8;
        if (bytes > 4) {
            const uint32_t offset = Get32(entry + 8);
            if (offset > length || bytes > length - offset) {
                SetError(kErrPointerOffset);
                return false;
            }
            value = base + offset;
        }
        if (components == 0) continue;
        const uint32_t byteCount = static_cast<uint32_t>(bytes);
        const double v = number(value, format);

        if (thumbnailDirectory) {
            // The thumbnail's own resolution and size say nothing about the picture.
            if (tag == kTagThumbnailOffset) info.ThumbnailOffset = static_cast<uint32_t>(ToInt(v));
            if (tag == kTagThumbnailLength) info.ThumbnailSize = static_cast<uint32_t>(ToInt(v));
            continue;
        }
        switch (tag) {
            case kTagMake: CopyText(info.CameraMake, sizeof info.CameraMake, value, byteCount); break;
            case kTagModel: CopyText(info.CameraModel, sizeof info.CameraModel, value, byteCount); break;
            case kTagDateTimeOriginal: CopyText(info.DateTime, sizeof info.DateTime, value, byteCount); break;
            case kTagDateTime:
                if (!info.DateTime[0]) CopyText(info.DateTime, sizeof info.DateTime, value, byteCount);
                break;
            case kTagUserComment: {
                // An 8-byte character-code prefix ("ASCII" and padding) precedes the text.
                uint32_t at = 0;
                if (byteCount >= 8 && std::memcmp(value, "ASCII", 5) == 0) at = 8;
                uint32_t end = byteCount;
                while (end > at && (value[end - 1] == ' ' || value[end - 1] == 0)) --end;
                if (end > at) CopyText(info.Comments, sizeof info.Comments, value + at, end - at);
                break;
            }
            case kTagFNumber: info.ApertureFNumber = ToFloat(v); break;
            case kTagAperture:
            case kTagMaxAperture:
                if (info.ApertureFNumber == 0) info.ApertureFNumber = ToFloat(std::exp(v * std::log(2.0) * 0.5));
                break;
            case kTagFocalLength: info.FocalLength = ToFloat(v); break;
            case kTagSubjectDistance: info.Distance = ToFloat(v); break;
            case kTagExposureTime: info.ExposureTime = ToFloat(v); break;
            case kTagShutterSpeed:
                if (info.ExposureTime == 0) info.ExposureTime = ToFloat(1.0 / std::exp(v * std::log(2.0)));
                break;
            case kTagFlash: info.FlashUsed = (ToInt(v) & 7) != 0; break;
            case kTagOrientation: {
                const int32_t o = ToInt(v);
                if (o < 1 || o > 8) SetError(kErrRotation);
                info.Orientation = o >= 1 && o <= 8 ? o : 0;
                break;
            }
            case kTagExifImageWidth:
            case kTagExifImageLength:
                if (info.ExifImageLength < ToInt(v)) info.ExifImageLength = ToInt(v);
                break;
            case kTagFocalPlaneXRes: info.FocalPlaneXRes = ToFloat(v); break;
            case kTagFocalPlaneYRes: info.FocalPlaneYRes = ToFloat(v); break;
            case kTagFocalPlaneUnits:
                switch (ToInt(v)) {
                    case 1:
                    case 2: info.FocalPlaneUnits = 25.4f; break;  // millimetres per inch
                    case 3: info.FocalPlaneUnits = 10.0f; break;
                    case 4: info.FocalPlaneUnits = 1.0f; break;
                    case 5: info.FocalPlaneUnits = 0.001f; break;
                    default: break;
                }
                break;
            case kTagExposureBias: info.ExposureBias = ToFloat(v); break;
            case kTagWhiteBalance: info.WhiteBalance = ToInt(v); break;
            case kTagMeteringMode: info.MeteringMode = ToInt(v); break;
            case kTagExposureProgram: info.ExposureProgram = ToInt(v); break;
            case kTagIsoEquivalent: info.ISOequivalent = ToInt(v); break;
            case kTagCompressionLevel: info.CompressionLevel = ToInt(v); break;
            case kTagXResolution: info.XResolution = ToFloat(v); break;
            case kTagYResolution: info.YResolution = ToFloat(v); break;
            case kTagResolutionUnit:
                switch (ToInt(v)) {
                    case 1:
                    case 2: info.ResolutionUnit = 1.0f; break;
                    case 3: info.ResolutionUnit = 0.3937007874f; break;
                    case 4: info.ResolutionUnit = 0.03937007874f; break;
                    case 5: info.ResolutionUnit = 0.00003937007874f; break;
                    default: break;
                }
                break;
            case kTagBrightness: info.Brightness = ToFloat(v); break;
            case kTagExifVersion: CopyText(info.Version, sizeof info.Version, value, byteCount); break;
            case kTagExifOffset:
            case kTagInteropOffset: {
                const uint32_t sub = Get32(value);
                if (sub >= length) {
                    SetError(kErrSubdirectoryLink);
                    return false;
                }
                if (!ProcessExifDir(sub, base, length, nesting + 1, false)) return false;
                break;
            }
            default: break;
        }
    }

    // The first directory may link to a second one that describes the thumbnail. A bad link
    // there only costs the thumbnail's position.
    if (nesting == 0 && !thumbnailDirectory && dirEnd + 4 <= length) {
        const uint32_t next = Get32(base + dirEnd);
        if (next && next < length) ProcessExifDir(next, base, length, nesting + 1, true);
    }
    return true;
}

}  // namespace ruvelto::image
