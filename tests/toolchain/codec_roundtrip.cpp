#include "tests/toolchain/codec_roundtrip.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include <jpeglib.h>
#include <png.h>
#include <tiffio.h>
#include <zlib.h>
#include <openjpeg.h>

namespace {

constexpr int kW = 16, kH = 8;

// A smooth gradient, different in every channel, so that a broken codec shows while a lossy one
// stays close.
std::vector<unsigned char> Pattern(int channels)
{
    std::vector<unsigned char> px(kW * kH * channels);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x)
            for (int c = 0; c < channels; ++c)
                px[(y * kW + x) * channels + c] = static_cast<unsigned char>(x * 8 + y * 8 + c * 20);
    return px;
}

}  // namespace

std::string RoundTripJpeg()
{
    auto px = Pattern(3);
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* out = nullptr;
    unsigned long outSize = 0;
    jpeg_mem_dest(&c, &out, &outSize);
    c.image_width = kW;
    c.image_height = kH;
    c.input_components = 3;
    c.in_color_space = JCS_RGB;
    jpeg_set_defaults(&c);
    jpeg_set_quality(&c, 95, TRUE);
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
        JSAMPROW row = &px[c.next_scanline * kW * 3];
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);

    jpeg_decompress_struct d{};
    d.err = jpeg_std_error(&err);
    jpeg_create_decompress(&d);
    jpeg_mem_src(&d, out, outSize);
    jpeg_read_header(&d, TRUE);
    jpeg_start_decompress(&d);
    std::vector<unsigned char> back(kW * kH * 3);
    while (d.output_scanline < d.output_height) {
        JSAMPROW row = &back[d.output_scanline * kW * 3];
        jpeg_read_scanlines(&d, &row, 1);
    }
    jpeg_finish_decompress(&d);
    jpeg_destroy_decompress(&d);
    free(out);
    // Lossy, with chroma subsampling: small errors everywhere, no large ones on average.
    long total = 0;
    for (size_t i = 0; i < px.size(); ++i) total += std::abs(px[i] - back[i]);
    if (total > static_cast<long>(px.size()) * 6) return "jpeg pixels differ: " + std::to_string(total);
    return {};
}

std::string RoundTripPng()
{
    auto px = Pattern(4);
    png_image img{};
    img.version = PNG_IMAGE_VERSION;
    img.width = kW;
    img.height = kH;
    img.format = PNG_FORMAT_RGBA;
    png_alloc_size_t size = 0;
    if (!png_image_write_to_memory(&img, nullptr, &size, 0, px.data(), 0, nullptr)) return "png size";
    std::vector<unsigned char> file(size);
    if (!png_image_write_to_memory(&img, file.data(), &size, 0, px.data(), 0, nullptr)) return "png write";
    png_image in{};
    in.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&in, file.data(), size)) return "png header";
    in.format = PNG_FORMAT_RGBA;
    std::vector<unsigned char> back(PNG_IMAGE_SIZE(in));
    if (!png_image_finish_read(&in, nullptr, back.data(), 0, nullptr)) return "png read";
    return back == px ? std::string{} : "png pixels differ";
}

std::string RoundTripZlib()
{
    auto px = Pattern(3);
    uLongf packedSize = compressBound(px.size());
    std::vector<unsigned char> packed(packedSize);
    if (compress(packed.data(), &packedSize, px.data(), px.size()) != Z_OK) return "zlib compress";
    uLongf backSize = px.size();
    std::vector<unsigned char> back(backSize);
    if (uncompress(back.data(), &backSize, packed.data(), packedSize) != Z_OK) return "zlib uncompress";
    return back == px ? std::string{} : "zlib bytes differ";
}

std::string RoundTripTiff(const std::string& path)
{
    auto px = Pattern(3);
    TIFF* t = TIFFOpen(path.c_str(), "w");
    if (!t) return "tiff open for writing";
    TIFFSetField(t, TIFFTAG_IMAGEWIDTH, kW);
    TIFFSetField(t, TIFFTAG_IMAGELENGTH, kH);
    TIFFSetField(t, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(t, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(t, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(t, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(t, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
    for (int y = 0; y < kH; ++y) TIFFWriteScanline(t, &px[y * kW * 3], y, 0);
    TIFFClose(t);
    t = TIFFOpen(path.c_str(), "r");
    if (!t) return "tiff open for reading";
    std::vector<unsigned char> back(px.size());
    for (int y = 0; y < kH; ++y) TIFFReadScanline(t, &back[y * kW * 3], y, 0);
    TIFFClose(t);
    std::remove(path.c_str());
    return back == px ? std::string{} : "tiff pixels differ";
}

namespace {

struct MemoryCodestream {
    std::vector<unsigned char> bytes;
    size_t pos = 0;
};

OPJ_SIZE_T OpjRead(void* buf, OPJ_SIZE_T n, void* user)
{
    auto* m = static_cast<MemoryCodestream*>(user);
    if (m->pos >= m->bytes.size()) return static_cast<OPJ_SIZE_T>(-1);
    n = std::min<OPJ_SIZE_T>(n, m->bytes.size() - m->pos);
    std::memcpy(buf, &m->bytes[m->pos], n);
    m->pos += n;
    return n;
}

OPJ_SIZE_T OpjWrite(void* buf, OPJ_SIZE_T n, void* user)
{
    auto* m = static_cast<MemoryCodestream*>(user);
    if (m->pos + n > m->bytes.size()) m->bytes.resize(m->pos + n);
    std::memcpy(&m->bytes[m->pos], buf, n);
    m->pos += n;
    return n;
}

OPJ_OFF_T OpjSkip(OPJ_OFF_T n, void* user)
{
    auto* m = static_cast<MemoryCodestream*>(user);
    m->pos += n;
    return n;
}

OPJ_BOOL OpjSeek(OPJ_OFF_T n, void* user)
{
    static_cast<MemoryCodestream*>(user)->pos = n;
    return OPJ_TRUE;
}

opj_stream_t* MakeStream(MemoryCodestream& m, bool input)
{
    opj_stream_t* s = opj_stream_create(4096, input ? OPJ_TRUE : OPJ_FALSE);
    opj_stream_set_user_data(s, &m, nullptr);
    opj_stream_set_user_data_length(s, m.bytes.size());
    opj_stream_set_read_function(s, OpjRead);
    opj_stream_set_write_function(s, OpjWrite);
    opj_stream_set_skip_function(s, OpjSkip);
    opj_stream_set_seek_function(s, OpjSeek);
    return s;
}

}  // namespace

std::string RoundTripOpenJpeg()
{
    auto px = Pattern(1);
    opj_image_cmptparm_t parm{};
    parm.dx = parm.dy = 1;
    parm.w = kW;
    parm.h = kH;
    parm.prec = 8;
    opj_image_t* image = opj_image_create(1, &parm, OPJ_CLRSPC_GRAY);
    image->x1 = kW;
    image->y1 = kH;
    for (int i = 0; i < kW * kH; ++i) image->comps[0].data[i] = px[i];
    opj_cparameters_t cp;
    opj_set_default_encoder_parameters(&cp);
    cp.tcp_numlayers = 1;
    cp.tcp_rates[0] = 0;  // lossless
    cp.cp_disto_alloc = 1;
    cp.numresolution = 2;
    opj_codec_t* enc = opj_create_compress(OPJ_CODEC_J2K);
    MemoryCodestream m;
    opj_stream_t* out = MakeStream(m, false);
    bool ok = opj_setup_encoder(enc, &cp, image) && opj_start_compress(enc, image, out) &&
              opj_encode(enc, out) && opj_end_compress(enc, out);
    opj_stream_destroy(out);
    opj_destroy_codec(enc);
    opj_image_destroy(image);
    if (!ok) return "openjpeg encode";

    m.pos = 0;
    opj_dparameters_t dp;
    opj_set_default_decoder_parameters(&dp);
    opj_codec_t* dec = opj_create_decompress(OPJ_CODEC_J2K);
    opj_stream_t* in = MakeStream(m, true);
    opj_image_t* back = nullptr;
    ok = opj_setup_decoder(dec, &dp) && opj_read_header(in, dec, &back) && opj_decode(dec, in, back) &&
         opj_end_decompress(dec, in);
    std::string result;
    if (!ok || !back || back->numcomps != 1 || back->comps[0].w != kW) {
        result = "openjpeg decode";
    } else {
        for (int i = 0; i < kW * kH; ++i)
            if (back->comps[0].data[i] != px[i]) { result = "openjpeg pixels differ"; break; }
    }
    opj_stream_destroy(in);
    opj_destroy_codec(dec);
    if (back) opj_image_destroy(back);
    return result;
}
