#include "image/jpeg_codec.h"

#include <climits>
#include <cmath>
#include <memory>
#include <vector>

#include "image/jpeg_stream_adapter.h"
#include "image/photo_metadata.h"
#include "image/stream.h"

#include <jerror.h>

namespace ruvelto::image {

namespace {

// libjpeg-turbo scales by any M/8; the scale setting asks for 1/1, 1/2, 1/4 or 1/8 only.
unsigned ScaleDenominator(uint8_t scale) { return scale >= 8 ? 8 : scale >= 4 ? 4 : scale >= 2 ? 2 : 1; }

// A progressive file of a few bytes can ask for thousands of scans over a large picture, each a
// pass over every block: real files have about ten.
constexpr int kMaxScans = 500;
inline constexpr const char kErrTooManyScans[] = "Progressive JPEG image has more than 500 scans";

void LimitScans(j_common_ptr cinfo) {
    if (!cinfo->is_decompressor) return;
    if (reinterpret_cast<j_decompress_ptr>(cinfo)->input_scan_number <= kMaxScans) return;
    JpegErrorManager* e = reinterpret_cast<JpegErrorManager*>(cinfo->err);
    e->owner->SetLastError(kErrTooManyScans);
    std::longjmp(e->jump, 1);
}

// libjpeg's working memory (whole-picture coefficient buffers of progressive files) is held to a
// few times what the decoded picture itself may take.
long WorkingMemoryLimit() {
    const uint64_t pictureBytes = PixelMemoryBound() * 256 / 8;
    const uint64_t limit = pictureBytes > UINT64_MAX / 4 ? UINT64_MAX : pictureBytes * 4;
    return limit > uint64_t(LONG_MAX) ? LONG_MAX : static_cast<long>(limit);
}

// EXIF resolution over the unit's factor, truncated to whole dots per inch.
int32_t ExifDpi(float resolution, float unitFactor) {
    const double dpi = double(resolution) / double(unitFactor);
    if (!(dpi > 0)) return 0;
    return dpi >= 2147483647.0 ? INT32_MAX : static_cast<int32_t>(dpi);
}

// The APP1 and APP2 segments libjpeg kept while reading the header.
std::vector<JpegSegment> SavedSegments(const jpeg_decompress_struct& cinfo) {
    std::vector<JpegSegment> segments;
    for (jpeg_saved_marker_ptr m = cinfo.marker_list; m; m = m->next)
        segments.push_back(JpegSegment{m->marker, std::vector<uint8_t>(m->data, m->data + m->data_length)});
    return segments;
}

// JFIF density: unit 1 dots per inch, 2 dots per centimetre. Unit 0 gives only the pixels'
// aspect ratio, so the resolution is unknown: 96, as for a file with no JFIF header.
int32_t Density(unsigned unit, unsigned density) {
    if (unit == 2) return static_cast<int32_t>(std::floor(density * 2.54 + 0.5));
    return unit == 1 ? static_cast<int32_t>(density) : 96;
}

}  // namespace

bool ImageJPG::DecodeExif(Stream& s) {
    Reader = std::make_unique<ExifReader>(&Exif);
    const int64_t start = s.Tell();
    Reader->DecodeExif(s, kExifReadExif);
    s.Seek(start, kSeekSet);
    return Exif.IsExif;
}

bool ImageJPG::Decode(Stream& s) {
    DecodeExif(s);

    jpeg_decompress_struct cinfo;
    JpegErrorManager err;
    JpegStreamAdapter adapter;
    jpeg_progress_mgr progress{};
    // Made before the jump point, so that a jump back releases it on the way out.
    std::shared_ptr<PhotoMetadata> metadata;
    cinfo.err = err.Install(this);
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_create_decompress(&cinfo);
    adapter.AttachSource(&cinfo, s);
    progress.progress_monitor = LimitScans;
    cinfo.progress = &progress;
    cinfo.mem->max_memory_to_use = WorkingMemoryLimit();
    jpeg_save_markers(&cinfo, JPEG_APP0 + 1, 0xFFFF);
    jpeg_save_markers(&cinfo, JPEG_APP0 + 2, 0xFFFF);
    jpeg_read_header(&cinfo, TRUE);
    int orientation = 1;
    bool exifDropped = false;
    metadata = std::make_shared<PhotoMetadata>(MetadataFromJpegSegments(SavedSegments(cinfo), orientation, exifDropped));
    if (exifDropped) Info.Flags |= IMAGE_FLAG_EXIF_DROPPED;
    const bool sidesSwap = OrientationSwapsSides(orientation);

    const int32_t options = Info.CodecOption[IMAGE_FORMAT_JPG];
    if (options & DECODE_GRAYSCALE) cinfo.out_color_space = JCS_GRAYSCALE;
    if (options & DECODE_QUANTIZE) {
        cinfo.quantize_colors = TRUE;
        cinfo.desired_number_of_colors = Info.JpegQuality;
    }
    if (options & DECODE_DITHER) cinfo.dither_mode = static_cast<J_DITHER_MODE>(DitherMode);
    if (options & DECODE_ONEPASS) cinfo.two_pass_quantize = FALSE;
    if (options & DECODE_NOSMOOTH) cinfo.do_fancy_upsampling = FALSE;
    cinfo.scale_num = 1;
    cinfo.scale_denom = ScaleDenominator(Info.JpegScale);
    // Colour comes out in the picture's own blue-green-red order: no second pass over the rows.
    if (!cinfo.quantize_colors && cinfo.out_color_space == JCS_RGB) cinfo.out_color_space = JCS_EXT_BGR;
    jpeg_calc_output_dimensions(&cinfo);

    if (Info.Escape == -1) {
        // The size of the picture as it will be decoded: upright.
        Header.Width = static_cast<int32_t>(sidesSwap ? cinfo.output_height : cinfo.output_width);
        Header.Height = static_cast<int32_t>(sidesSwap ? cinfo.output_width : cinfo.output_height);
        jpeg_destroy_decompress(&cinfo);
        return true;
    }
    const int components = cinfo.output_components;
    if (components != 1 && components != 3 && components != 4) ERREXIT(&cinfo, JERR_CONVERSION_NOTIMPL);
    // The picture is made before libjpeg allocates for the decode, so that the memory bound is
    // checked first.
    if (!Create(cinfo.output_width, cinfo.output_height, 8 * components, IMAGE_FORMAT_JPG)) {
        jpeg_destroy_decompress(&cinfo);
        return false;
    }
    jpeg_start_decompress(&cinfo);

    // Resolution: EXIF first, then the JFIF header; a file with neither keeps the 96 default.
    const bool exifX = Exif.IsExif && Exif.XResolution != 0 && Exif.ResolutionUnit != 0;
    const bool exifY = Exif.IsExif && Exif.YResolution != 0 && Exif.ResolutionUnit != 0;
    const bool jfif = cinfo.saw_JFIF_marker;
    if (exifX) SetXDPI(ExifDpi(Exif.XResolution, Exif.ResolutionUnit));
    else SetXDPI(jfif ? Density(cinfo.density_unit, cinfo.X_density) : 96);
    if (exifY) SetYDPI(ExifDpi(Exif.YResolution, Exif.ResolutionUnit));
    else SetYDPI(jfif ? Density(cinfo.density_unit, cinfo.Y_density) : 96);

    if (cinfo.quantize_colors) {
        const bool grey = cinfo.out_color_components == 1;
        SetPalette(static_cast<uint32_t>(cinfo.actual_number_of_colors), cinfo.colormap[0],
                   grey ? nullptr : cinfo.colormap[1], grey ? nullptr : cinfo.colormap[2]);
    } else if (components == 1) {
        SetGrayPalette();
    }

    const uint32_t width = cinfo.output_width;
    const uint32_t height = cinfo.output_height;
    const bool cmyk = components == 4;
    const int batch = cinfo.rec_outbuf_height < 1 ? 1 : cinfo.rec_outbuf_height > 4 ? 4 : cinfo.rec_outbuf_height;
    JSAMPARRAY cmykRows = cmyk ? (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo), JPOOL_IMAGE,
                                                              width * 4, static_cast<JDIMENSION>(batch))
                               : nullptr;
    while (cinfo.output_scanline < height) {
        if (Info.Escape) std::longjmp(err.jump, 1);  // a stop request
        const JDIMENSION first = cinfo.output_scanline;
        const int n = static_cast<int>(height - first < JDIMENSION(batch) ? height - first : JDIMENSION(batch));
        JSAMPROW rows[4];
        for (int i = 0; i < n; ++i) rows[i] = cmyk ? cmykRows[i] : GetBits(height - 1 - first - i);
        const JDIMENSION got = jpeg_read_scanlines(&cinfo, rows, static_cast<JDIMENSION>(n));
        if (!cmyk) continue;
        // Adobe CMYK is stored inverted: each byte is the amount of light the ink lets through.
        for (JDIMENSION i = 0; i < got; ++i) {
            const uint8_t* src = cmykRows[i];
            uint8_t* dst = GetBits(height - 1 - first - i);
            for (uint32_t x = 0; x < width; ++x, src += 4, dst += 3) {
                const unsigned k = src[3];
                dst[0] = static_cast<uint8_t>(src[2] * k / 255);
                dst[1] = static_cast<uint8_t>(src[1] * k / 255);
                dst[2] = static_cast<uint8_t>(src[0] * k / 255);
            }
        }
    }
    jpeg_finish_decompress(&cinfo);
    metadata->OrientationApplied = true;
    metadata->Turned = orientation != 1;
    metadata->Width = sidesSwap ? cinfo.image_height : cinfo.image_width;
    metadata->Height = sidesSwap ? cinfo.image_width : cinfo.image_height;
    jpeg_destroy_decompress(&cinfo);
    // Turned after any scaled decode, on the smaller picture.
    if (!TurnUpright(*this, orientation)) return false;
    if (!metadata->Empty()) Metadata = std::move(metadata);
    return true;
}

bool ImageJPG::Encode(Stream& s) {
    if (!EncodeSafeCheck(&s)) return false;
    if (Header.ClrUsed && !IsGrayScale()) {
        SetLastError(kErrJpegOnlyRgbOrGrey);
        return false;
    }

    jpeg_compress_struct cinfo;
    JpegErrorManager err;
    JpegStreamAdapter adapter;
    cinfo.err = err.Install(this);
    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&cinfo);
        return false;
    }
    jpeg_create_compress(&cinfo);
    adapter.AttachDestination(&cinfo, s);

    const uint32_t width = GetWidth();
    const uint32_t height = GetHeight();
    const bool grey = Header.ClrUsed != 0;
    cinfo.image_width = width;
    cinfo.image_height = height;
    cinfo.input_components = grey ? 1 : 3;
    // The rows go to libjpeg as they are stored, blue-green-red.
    cinfo.in_color_space = grey ? JCS_GRAYSCALE : JCS_EXT_BGR;
    jpeg_set_defaults(&cinfo);

    const int32_t options = Info.CodecOption[IMAGE_FORMAT_JPG];
    if (options & ENCODE_ARITHMETIC) cinfo.arith_code = TRUE;
    if (options & ENCODE_OPTIMIZE) cinfo.optimize_coding = TRUE;
    if (options & ENCODE_GRAYSCALE) jpeg_set_colorspace(&cinfo, JCS_GRAYSCALE);
    if (options & ENCODE_SMOOTHING) cinfo.smoothing_factor = SmoothingFactor;
    jpeg_set_quality(&cinfo, Info.JpegQuality, (options & ENCODE_BASELINE) ? TRUE : FALSE);
    if (options & ENCODE_PROGRESSIVE) jpeg_simple_progression(&cinfo);
    cinfo.density_unit = 1;
    cinfo.X_density = static_cast<UINT16>(Info.XDPI > 65535 ? 65535 : Info.XDPI);
    cinfo.Y_density = static_cast<UINT16>(Info.YDPI > 65535 ? 65535 : Info.YDPI);
    jpeg_start_compress(&cinfo, TRUE);
    if (Metadata) {
        const bool greyOutput = cinfo.jpeg_color_space == JCS_GRAYSCALE;
        const std::vector<uint8_t> exif = (Info.Flags & IMAGE_FLAG_NO_EXIF) ? std::vector<uint8_t>{} : ExifForOutput(*Metadata, width, height);
        const std::vector<uint8_t> profile = IccProfileFits(Metadata->IccProfile, greyOutput) ? Metadata->IccProfile : std::vector<uint8_t>{};
        for (const JpegSegment& segment : JpegSegmentsFor(exif, profile))
            jpeg_write_marker(&cinfo, segment.marker, segment.data.data(), static_cast<unsigned>(segment.data.size()));
    }

    // Grey pictures of 1 or 4 bits are widened to one byte a pixel; their palette entry i is
    // grey level i, so the index is the level.
    const uint32_t bits = Header.BitCount;
    JSAMPROW widened = bits < 8 ? (*cinfo.mem->alloc_sarray)(reinterpret_cast<j_common_ptr>(&cinfo),
                                                             JPOOL_IMAGE, width, 1)[0]
                                : nullptr;
    while (cinfo.next_scanline < height) {
        const uint32_t y = height - 1 - cinfo.next_scanline;
        JSAMPROW row = GetBits(y);
        if (widened) {
            for (uint32_t x = 0; x < width; ++x) widened[x] = GetPixelIndex(int32_t(x), int32_t(y));
            row = widened;
        }
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    return true;
}

}  // namespace ruvelto::image
