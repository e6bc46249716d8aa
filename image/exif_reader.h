// The JPEG marker sections ahead of the compressed data, and the EXIF block among them: what the
// camera recorded, of which the resolution decides the decoded picture's DPI.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>

namespace ruvelto::image {

class Stream;

struct ExifInfo {
    char Version[5] = {};
    char CameraMake[32] = {};
    char CameraModel[40] = {};
    char DateTime[20] = {};
    int32_t Width = 0;             // from the start-of-frame section
    int32_t Height = 0;
    int32_t Orientation = 0;
    bool IsColor = false;
    int32_t Process = 0;           // the start-of-frame marker
    bool FlashUsed = false;
    float FocalLength = 0;
    float ExposureTime = 0;
    float ApertureFNumber = 0;
    float Distance = 0;
    float CCDWidth = 0;
    float ExposureBias = 0;
    int32_t WhiteBalance = 0;
    int32_t MeteringMode = 0;
    int32_t ExposureProgram = 0;
    int32_t ISOequivalent = 0;
    int32_t CompressionLevel = 0;
    float FocalPlaneXRes = 0;
    float FocalPlaneYRes = 0;
    float FocalPlaneUnits = 0;
    float XResolution = 0;
    float YResolution = 0;
    float ResolutionUnit = 0;      // the factor that turns the resolution into dots per inch
    float Brightness = 0;
    char Comments[200] = {};
    uint32_t ThumbnailOffset = 0;  // inside the EXIF block, from its TIFF header
    uint32_t ThumbnailSize = 0;
    int32_t ExifImageLength = 0;   // the largest EXIF image dimension seen
    bool IsExif = false;
};

// Section-reader modes.
constexpr int kExifReadExif = 1;   // interpret EXIF and comment sections
constexpr int kExifReadImage = 2;  // also keep the compressed image data

// Texts of the section reader and the EXIF interpreter.
inline constexpr const char kErrTooManySections[] = "Too many sections in jpg file";
inline constexpr const char kErrInvalidMarker[] = "invalid marker";
inline constexpr const char kErrSectionMemory[] = "Could not allocate memory";
inline constexpr const char kErrPrematureEnd[] = "Premature end of file?";
inline constexpr const char kErrImageMemory[] = "could not allocate data for entire image";
inline constexpr const char kErrImageRead[] = "could not read the rest of the image";
inline constexpr const char kErrExifHeader[] = "Incorrect Exif header";
inline constexpr const char kErrExifAlignment[] = "Invalid Exif alignment marker.";
inline constexpr const char kErrExifStart[] = "Invalid Exif start (1)";
inline constexpr const char kErrDirectorySize[] = "Illegally sized directory";
inline constexpr const char kErrFormatCode[] = "Illegal format code in EXIF dir";
inline constexpr const char kErrPointerOffset[] = "Illegal pointer offset value in EXIF.";
inline constexpr const char kErrSubdirectoryLink[] = "Illegal subdirectory link";
inline constexpr const char kErrRotation[] = "Undefined rotation value";
inline constexpr const char kErrNesting[] = "Maximum directory nesting exceeded";

class ExifReader {
public:
    static constexpr int kMaxSections = 20;
    static constexpr int kImageDataSection = 0x123;  // the compressed data kept in image mode

    struct Section {
        int32_t Type = 0;
        uint32_t Size = 0;                 // bytes held, starting with the two length bytes
        std::unique_ptr<uint8_t[]> Data;
    };

    explicit ExifReader(ExifInfo* info) : info_(info) {}

    // Reads the sections from the start-of-image marker up to the first scan.
    bool DecodeExif(Stream& stream, int mode);
    // Interprets an APP1 section's data (after its length bytes) as EXIF.
    bool process_EXIF(const uint8_t* data, uint32_t length);

    int SectionCount() const { return sectionCount_; }
    const Section& GetSection(int i) const { return sections_[i]; }
    const char* LastError() const { return error_; }

private:
    bool ProcessExifDir(uint32_t dirStart, const uint8_t* base, uint32_t length, int nesting,
                        bool imageDirectory);
    void process_SOFn(const uint8_t* data, int marker);
    void process_COM(const uint8_t* data, uint32_t length);
    void SetError(const char* text);
    uint32_t Get16(const uint8_t* p) const;  // in the EXIF block's byte order
    uint32_t Get32(const uint8_t* p) const;

    ExifInfo* info_;
    Section sections_[kMaxSections];
    int sectionCount_ = 0;
    bool littleEndian_ = false;
    int directoriesVisited_ = 0;
    char error_[256] = {};
};

}  // namespace ruvelto::image
