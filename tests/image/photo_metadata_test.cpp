// Photos through the library: the EXIF orientation turns the pixels once, and the EXIF block and
// the colour profile travel from a JPEG or PNG into JPEG and PNG outputs.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>

#include "image/image.h"
#include "image/photo_metadata.h"
#include "tests/image/test_files.h"

namespace ruvelto::image {
namespace {

void Le16(std::vector<uint8_t>& v, size_t at, uint32_t x) {
    v[at] = uint8_t(x), v[at + 1] = uint8_t(x >> 8);
}
void Le32(std::vector<uint8_t>& v, size_t at, uint32_t x) {
    for (int i = 0; i < 4; ++i) v[at + i] = uint8_t(x >> (8 * i));
}
// One 12-byte directory entry, little-endian.
void Entry(std::vector<uint8_t>& v, size_t at, uint16_t tag, uint16_t type, uint32_t count, uint32_t value) {
    Le16(v, at, tag), Le16(v, at + 2, type), Le32(v, at + 4, count), Le32(v, at + 8, value);
}

constexpr char kModel[] = "TestCam";
constexpr char kTaken[] = "2024:05:06 07:08:09";
constexpr size_t kThumbnailAt = 150, kThumbnailBytes = 16;

// A little-endian EXIF block: IFD0 (camera model, orientation, the EXIF directory's link) at 8,
// the EXIF directory (date taken, pixel width and height) at 58, and with a thumbnail the
// thumbnail directory at 120 and its 16 bytes at 150, ending the block.
std::vector<uint8_t> ExifBlock(int orientation, uint32_t width, uint32_t height, bool thumbnail) {
    std::vector<uint8_t> v(thumbnail ? kThumbnailAt + kThumbnailBytes : 120, 0);
    v[0] = v[1] = 'I';
    Le16(v, 2, 42), Le32(v, 4, 8);
    Le16(v, 8, 3);
    Entry(v, 10, 0x0110, 2, sizeof kModel, 50);
    Entry(v, 22, 0x0112, 3, 1, uint32_t(orientation));
    Entry(v, 34, 0x8769, 4, 1, 58);
    Le32(v, 46, thumbnail ? 120 : 0);
    std::memcpy(v.data() + 50, kModel, sizeof kModel);
    Le16(v, 58, 3);
    Entry(v, 60, 0x9003, 2, sizeof kTaken, 100);
    Entry(v, 72, 0xA002, 4, 1, width);
    Entry(v, 84, 0xA003, 4, 1, height);
    std::memcpy(v.data() + 100, kTaken, sizeof kTaken);
    if (thumbnail) {
        Le16(v, 120, 2);
        Entry(v, 122, 0x0201, 4, 1, kThumbnailAt);
        Entry(v, 134, 0x0202, 4, 1, kThumbnailBytes);
        for (size_t i = 0; i < kThumbnailBytes; ++i) v[kThumbnailAt + i] = uint8_t(0xA0 + i);
    }
    return v;
}

// A sound ICC profile of the given colour space, padded to size bytes with one tag over the
// padding, so that large ones need several JPEG segments.
std::vector<uint8_t> Profile(const char* space, size_t size) {
    std::vector<uint8_t> p(size, 0);
    const auto be32 = [&](size_t at, uint32_t x) {
        for (int i = 0; i < 4; ++i) p[at + i] = uint8_t(x >> (24 - 8 * i));
    };
    be32(0, uint32_t(size));
    std::memcpy(p.data() + 12, "mntr", 4);
    std::memcpy(p.data() + 16, space, 4);
    std::memcpy(p.data() + 20, "XYZ ", 4);
    std::memcpy(p.data() + 36, "acsp", 4);
    be32(128, 1);
    std::memcpy(p.data() + 132, "desc", 4);
    be32(136, 144), be32(140, uint32_t(size - 144));
    for (size_t i = 144; i < size; ++i) p[i] = uint8_t(i * 7);
    return p;
}

std::vector<uint8_t> Segment(int marker, const std::vector<uint8_t>& payload) {
    std::vector<uint8_t> s = {0xFF, uint8_t(marker), uint8_t((payload.size() + 2) >> 8), uint8_t(payload.size() + 2)};
    s.insert(s.end(), payload.begin(), payload.end());
    return s;
}

// A picture whose every pixel differs from its neighbours, so that a wrong turn shows.
void Pattern(Image& image, uint32_t w, uint32_t h) {
    image.Create(w, h, 24, 0);
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w; ++x) image.SetPixelColor(int32_t(x), int32_t(y), RgbQuad{uint8_t(x * 9), uint8_t(y * 13), uint8_t(x * y), 0});
}

std::vector<uint8_t> Encode(Image& image, int32_t format) {
    uint8_t* out = nullptr;
    size_t size = 0;
    if (!image.Encode(&out, &size, format)) return {};
    std::vector<uint8_t> bytes(out, out + size);
    FreeMemory(out);
    return bytes;
}

// A JPEG of the pattern with the given EXIF block and profile segments after its SOI.
std::vector<uint8_t> PhotoJpeg(uint32_t w, uint32_t h, const std::vector<uint8_t>& exif, const std::vector<uint8_t>& profile = {}) {
    Image pattern;
    Pattern(pattern, w, h);
    std::vector<uint8_t> jpeg = Encode(pattern, IMAGE_FORMAT_JPG);
    std::vector<uint8_t> inserted;
    for (const JpegSegment& s : JpegSegmentsFor(exif, profile)) {
        const std::vector<uint8_t> bytes = Segment(s.marker, s.data);
        inserted.insert(inserted.end(), bytes.begin(), bytes.end());
    }
    jpeg.insert(jpeg.begin() + 2, inserted.begin(), inserted.end());
    return jpeg;
}

// The APP1/APP2 segments of a JPEG file, up to its first scan.
std::vector<JpegSegment> SegmentsOf(const std::vector<uint8_t>& jpeg) {
    std::vector<JpegSegment> out;
    for (size_t at = 2; at + 4 <= jpeg.size() && jpeg[at] == 0xFF && jpeg[at + 1] != 0xDA;) {
        const size_t length = size_t(jpeg[at + 2]) << 8 | jpeg[at + 3];
        if (jpeg[at + 1] == 0xE1 || jpeg[at + 1] == 0xE2)
            out.push_back({jpeg[at + 1], std::vector<uint8_t>(jpeg.begin() + at + 4, jpeg.begin() + at + 2 + length)});
        at += 2 + length;
    }
    return out;
}

PhotoMetadata MetadataOf(const std::vector<uint8_t>& jpeg) {
    int orientation = 0;
    bool dropped = false;
    return MetadataFromJpegSegments(SegmentsOf(jpeg), orientation, dropped);
}

// Where the stored pixel shown at (dx, dy) (from the top left) of a picture stored w x h lies,
// as the EXIF orientations define it.
void StoredPixel(int orientation, int32_t w, int32_t h, int32_t dx, int32_t dy, int32_t& sx, int32_t& sy) {
    switch (orientation) {
        case 2: sx = w - 1 - dx, sy = dy; break;
        case 3: sx = w - 1 - dx, sy = h - 1 - dy; break;
        case 4: sx = dx, sy = h - 1 - dy; break;
        case 5: sx = dy, sy = dx; break;
        case 6: sx = dy, sy = h - 1 - dx; break;
        case 7: sx = w - 1 - dy, sy = h - 1 - dx; break;
        case 8: sx = w - 1 - dy, sy = dx; break;
        default: sx = dx, sy = dy;
    }
}

TEST(PhotoOrientation, EveryOrientationDecodesUprightOnce) {
    constexpr int32_t w = 24, h = 16;
    const std::vector<uint8_t> asStored = PhotoJpeg(w, h, ExifBlock(1, w, h, false));
    Image stored;
    ASSERT_TRUE(stored.Decode(asStored.data(), asStored.size(), IMAGE_FORMAT_JPG));
    const std::vector<uint8_t> storedRgb = test::TopDownRgb(stored);
    for (int orientation = 1; orientation <= 8; ++orientation) {
        SCOPED_TRACE(orientation);
        const std::vector<uint8_t> jpeg = PhotoJpeg(w, h, ExifBlock(orientation, w, h, false));
        const bool swapped = orientation >= 5;
        const uint32_t uw = swapped ? h : w, uh = swapped ? w : h;
        Image upright;
        ASSERT_TRUE(upright.Decode(jpeg.data(), jpeg.size(), IMAGE_FORMAT_JPG));
        ASSERT_EQ(upright.GetWidth(), uw);
        ASSERT_EQ(upright.GetHeight(), uh);
        const std::vector<uint8_t> rgb = test::TopDownRgb(upright);
        int wrong = 0;
        for (int32_t dy = 0; dy < int32_t(uh); ++dy) {
            for (int32_t dx = 0; dx < int32_t(uw); ++dx) {
                int32_t sx = 0, sy = 0;
                StoredPixel(orientation, w, h, dx, dy, sx, sy);
                wrong += std::memcmp(&rgb[(size_t(dy) * uw + dx) * 3], &storedRgb[(size_t(sy) * w + sx) * 3], 3) != 0;
            }
        }
        EXPECT_EQ(wrong, 0);
        // Written out and read back, the picture stays as it is: the output says orientation 1.
        const std::vector<uint8_t> again = Encode(upright, IMAGE_FORMAT_JPG);
        EXPECT_EQ(ExifOrientation(MetadataOf(again).Exif), 1);
        Image reread;
        ASSERT_TRUE(reread.Decode(again.data(), again.size(), IMAGE_FORMAT_JPG));
        EXPECT_EQ(reread.GetWidth(), uw);
        // The size-only decode and the scaled decode report the upright size too.
        Image sized;
        sized.Info.Escape = -1;
        ASSERT_TRUE(sized.Decode(jpeg.data(), jpeg.size(), IMAGE_FORMAT_JPG));
        EXPECT_EQ(sized.Header.Width, int32_t(uw));
        EXPECT_EQ(sized.Header.Height, int32_t(uh));
        Image scaled;
        scaled.Info.JpegScale = 2;
        ASSERT_TRUE(scaled.Decode(jpeg.data(), jpeg.size(), IMAGE_FORMAT_JPG));
        EXPECT_EQ(scaled.GetWidth(), uw / 2);
        EXPECT_EQ(scaled.GetHeight(), uh / 2);
    }
}

TEST(PhotoMetadata, JpegAndPngOutputsCarryTheBlockAndTheProfile) {
    constexpr uint32_t w = 24, h = 16;
    // A profile over one segment's room travels in several and comes back whole.
    const std::vector<uint8_t> profile = Profile("RGB ", 70000);
    struct Case {
        const char* what;
        int orientation;
        uint32_t resizeTo;  // 0: not resized
        bool keepsThumbnail;
    } cases[] = {{"as taken", 1, 0, true}, {"turned", 6, 0, false}, {"resized", 1, 12, false}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<uint8_t> source = ExifBlock(c.orientation, w, h, true);
        const std::vector<uint8_t> jpeg = PhotoJpeg(w, h, source, profile);
        Image photo;
        ASSERT_TRUE(photo.Decode(jpeg.data(), jpeg.size(), IMAGE_FORMAT_JPG));
        if (c.resizeTo) {
            ASSERT_TRUE(photo.Resample(c.resizeTo, c.resizeTo / 2));
        }
        const uint32_t ow = photo.GetWidth(), oh = photo.GetHeight();
        std::vector<uint8_t> expected = c.keepsThumbnail ? source : std::vector<uint8_t>(source.begin(), source.begin() + kThumbnailAt - 30);
        if (!c.keepsThumbnail) Le32(expected, 46, 0);
        Le16(expected, 30, 1);  // orientation
        Le32(expected, 80, ow), Le32(expected, 92, oh);  // pixel width and height
        for (int32_t format : {IMAGE_FORMAT_JPG, IMAGE_FORMAT_PNG}) {
            SCOPED_TRACE(format);
            const std::vector<uint8_t> out = Encode(photo, format);
            ASSERT_FALSE(out.empty());
            Image back;
            ASSERT_TRUE(back.Decode(out.data(), out.size(), format));
            ASSERT_TRUE(back.Metadata);
            EXPECT_EQ(back.Metadata->Exif, expected);
            EXPECT_EQ(back.Metadata->IccProfile, profile);
            EXPECT_EQ(back.GetWidth(), ow);
        }
    }
    // The strip flag leaves the block out of both formats; the profile stays.
    Image photo;
    const std::vector<uint8_t> jpeg = PhotoJpeg(w, h, ExifBlock(3, w, h, true), profile);
    ASSERT_TRUE(photo.Decode(jpeg.data(), jpeg.size(), IMAGE_FORMAT_JPG));
    photo.Info.Flags |= IMAGE_FLAG_NO_EXIF;
    for (int32_t format : {IMAGE_FORMAT_JPG, IMAGE_FORMAT_PNG}) {
        const std::vector<uint8_t> out = Encode(photo, format);
        Image back;
        ASSERT_TRUE(back.Decode(out.data(), out.size(), format)) << format;
        ASSERT_TRUE(back.Metadata) << format;
        EXPECT_TRUE(back.Metadata->Exif.empty()) << format;
        EXPECT_EQ(back.Metadata->IccProfile, profile) << format;
    }
    // Formats without room for either write the picture alone; a later decode of such a file
    // carries nothing over from the photo before it.
    const std::vector<uint8_t> bmp = Encode(photo, IMAGE_FORMAT_BMP);
    ASSERT_TRUE(photo.Decode(bmp.data(), bmp.size(), IMAGE_FORMAT_BMP));
    EXPECT_FALSE(photo.Metadata);
}

TEST(PhotoMetadata, BadOrUnfittingMetadataIsDroppedAndThePictureKept) {
    constexpr uint32_t w = 16, h = 8;
    std::vector<uint8_t> outside = ExifBlock(6, w, h, false);
    Le32(outside, 34 + 8, 5000);  // the EXIF directory's link points past the block
    std::vector<uint8_t> badFormat = ExifBlock(6, w, h, false);
    Le16(badFormat, 60 + 2, 99);
    std::vector<uint8_t> loop = ExifBlock(6, w, h, false);
    Le32(loop, 34 + 8, 8);  // the EXIF directory is IFD0 again
    std::vector<uint8_t> badHeader = ExifBlock(6, w, h, false);
    badHeader[2] = 43;
    // Blocks broken after IFD0 still say how to turn the picture; one without a sound header not.
    const struct {
        std::vector<uint8_t> block;
        uint32_t width;
    } broken[] = {{outside, h}, {badFormat, h}, {loop, h}, {badHeader, w}};
    for (const auto& [block, width] : broken) {
        const std::vector<uint8_t> jpeg = PhotoJpeg(w, h, block);
        Image image;
        ASSERT_TRUE(image.Decode(jpeg.data(), jpeg.size(), IMAGE_FORMAT_JPG));
        EXPECT_TRUE(image.Info.Flags & IMAGE_FLAG_EXIF_DROPPED);
        EXPECT_EQ(image.GetWidth(), width);
        EXPECT_TRUE(MetadataOf(Encode(image, IMAGE_FORMAT_JPG)).Exif.empty());
        // The next picture's decode says nothing was dropped from it.
        const std::vector<uint8_t> clean = PhotoJpeg(w, h, ExifBlock(1, w, h, false));
        ASSERT_TRUE(image.Decode(clean.data(), clean.size(), IMAGE_FORMAT_JPG));
        EXPECT_FALSE(image.Info.Flags & IMAGE_FLAG_EXIF_DROPPED);
    }

    // A block over a JPEG segment's room (from a PNG's eXIf) is dropped rather than split; the
    // PNG output keeps it.
    Image big;
    Pattern(big, w, h);
    auto metadata = std::make_shared<PhotoMetadata>();
    metadata->Exif = ExifBlock(1, w, h, false);
    metadata->Exif.resize(70000, 0x55);
    metadata->IccProfile = Profile("RGB ", 300);
    metadata->Width = w, metadata->Height = h;
    big.Metadata = metadata;
    const PhotoMetadata fromJpeg = MetadataOf(Encode(big, IMAGE_FORMAT_JPG));
    EXPECT_TRUE(fromJpeg.Exif.empty());
    EXPECT_EQ(fromJpeg.IccProfile, metadata->IccProfile);
    const std::vector<uint8_t> png = Encode(big, IMAGE_FORMAT_PNG);
    Image pngBack;
    ASSERT_TRUE(pngBack.Decode(png.data(), png.size(), IMAGE_FORMAT_PNG));
    ASSERT_TRUE(pngBack.Metadata);
    EXPECT_EQ(pngBack.Metadata->Exif.size(), 70000u);

    // Profiles of another colour space than the output's, and broken ones, are left out.
    for (const auto& profile : {Profile("CMYK", 300), Profile("GRAY", 300), [] {
             std::vector<uint8_t> p = Profile("RGB ", 300);
             p[3] = 200;  // the header's size disagrees with the profile's
             return p;
         }()}) {
        auto m = std::make_shared<PhotoMetadata>();
        m->IccProfile = profile;
        big.Metadata = m;
        EXPECT_TRUE(MetadataOf(Encode(big, IMAGE_FORMAT_JPG)).IccProfile.empty());
        const std::vector<uint8_t> out = Encode(big, IMAGE_FORMAT_PNG);
        Image back;
        ASSERT_TRUE(back.Decode(out.data(), out.size(), IMAGE_FORMAT_PNG));
        EXPECT_FALSE(back.Metadata);
    }
    // A grey picture takes a grey profile.
    Image grey;
    ASSERT_TRUE(grey.Create(w, h, 8, 0));
    grey.SetGrayPalette();
    auto m = std::make_shared<PhotoMetadata>();
    m->IccProfile = Profile("GRAY", 300);
    grey.Metadata = m;
    EXPECT_EQ(MetadataOf(Encode(grey, IMAGE_FORMAT_JPG)).IccProfile, m->IccProfile);
}

}  // namespace
}  // namespace ruvelto::image
