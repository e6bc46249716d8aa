// What a photo carries besides its pixels, kept from the decode to the encode: the EXIF block
// (date taken, camera and lens, exposure, GPS) and the ICC colour profile. The EXIF orientation
// is applied once, when a JPEG is decoded; outputs then say orientation 1. Portable: no windows.h.
#pragma once
#include <cstdint>
#include <vector>

namespace ruvelto::image {

class Image;

struct PhotoMetadata {
    // The EXIF block as TIFF data ("II*\0" or "MM\0*" first), without JPEG's "Exif\0\0" prefix;
    // empty when the picture has none or it could not be read.
    std::vector<uint8_t> Exif;
    // The ICC profile, byte for byte as the file embedded it; empty when there is none.
    std::vector<uint8_t> IccProfile;
    // The decoder turned the pixels upright by the block's orientation: outputs say orientation 1.
    bool OrientationApplied = false;
    // The turn changed the picture (orientation 2-8): the block's thumbnail no longer matches.
    bool Turned = false;
    // The full-size upright picture the block describes; a picture of another size (resized,
    // or decoded scaled) gets no thumbnail.
    uint32_t Width = 0;
    uint32_t Height = 0;

    bool Empty() const { return Exif.empty() && IccProfile.empty(); }
};

// The orientation 1-8 in IFD0 of an EXIF block, even of one broken further on; 1 when there is none.
int ExifOrientation(const std::vector<uint8_t>& exif);
// Whether every directory and value of the block lies inside it with a known format: a block
// that is not is dropped rather than copied into outputs that readers would then complain about.
bool ExifReadable(const std::vector<uint8_t>& exif);
// Orientations 5-8 swap width and height.
bool OrientationSwapsSides(int orientation);
// Turns and mirrors a picture stored with this EXIF orientation to upright; false only when a
// transform ran out of memory.
bool TurnUpright(Image& image, int orientation);

// The block to write with a picture of width x height: orientation 1 when the decoder turned it,
// the pixel dimensions of the EXIF directory set to the picture's, and the thumbnail unlinked
// (and cut off when it ends the block) unless the picture is the one it shows. Empty when there
// is no block.
std::vector<uint8_t> ExifForOutput(const PhotoMetadata& metadata, uint32_t width, uint32_t height);

// Whether an ICC profile is sound enough to embed and describes the output's colour space: a
// grey profile for grey output, an RGB one for colour (a CMYK profile of a CMYK JPEG no longer
// fits its pixels once they are RGB).
bool IccProfileFits(const std::vector<uint8_t>& profile, bool grey);

// JPEG: APP1 carries "Exif\0\0" and the block, APP2 "ICC_PROFILE\0", a chunk number, the chunk
// count and a piece of the profile.
struct JpegSegment {
    int marker;  // 0xE1, 0xE2
    std::vector<uint8_t> data;
};
// Metadata from a JPEG's APP1 and APP2 segments, in file order, and the orientation of its EXIF
// block. exifDropped is set when an EXIF block was present but unreadable; a profile whose chunks
// do not add up is left out.
PhotoMetadata MetadataFromJpegSegments(const std::vector<JpegSegment>& segments, int& orientation, bool& exifDropped);
// The segments to write after the JPEG's own header, or none for a block or profile too large
// for them: an EXIF block over one segment's 65533 bytes is dropped, never split.
std::vector<JpegSegment> JpegSegmentsFor(const std::vector<uint8_t>& exif, const std::vector<uint8_t>& profile);

}  // namespace ruvelto::image
