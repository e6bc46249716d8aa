// JPEG for the picture decoder, through libjpeg. Kept apart from every file that includes
// windows.h: libjpeg's `boolean` clashes with the Win32 headers.
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jpeglib.h>

#include "components/picture_decoder.h"

namespace ruvelto::components {
namespace {

// The standard error manager, whose error exit returns to the decoder instead of ending the
// process; no message is shown.
struct ErrorManager {
    jpeg_error_mgr standard;
    jmp_buf back;
};

void ErrorExit(j_common_ptr info) { std::longjmp(reinterpret_cast<ErrorManager*>(info->err)->back, 1); }
void NoMessage(j_common_ptr) {}

// Reads from the bytes in memory; past their end it supplies an end-of-picture marker, as a
// truncated file gives, and libjpeg fills what is missing.
struct MemorySource {
    jpeg_source_mgr manager;
    const uint8_t* data;
    size_t length;
};

void InitSource(j_decompress_ptr) {}
boolean FillInput(j_decompress_ptr info) {
    static const JOCTET kEnd[2] = {0xFF, JPEG_EOI};
    info->src->next_input_byte = kEnd;
    info->src->bytes_in_buffer = 2;
    return TRUE;
}
void SkipInput(j_decompress_ptr info, long count) {
    if (count <= 0) return;
    if (static_cast<size_t>(count) > info->src->bytes_in_buffer) {
        FillInput(info);
        return;
    }
    info->src->next_input_byte += count;
    info->src->bytes_in_buffer -= static_cast<size_t>(count);
}
void TermSource(j_decompress_ptr) {}

}  // namespace

bool DecodeJpegPixels(const uint8_t* bytes, size_t length, PicturePixels* out) {
    *out = {};
    if (!bytes || length < 2) return false;
    jpeg_decompress_struct info;
    ErrorManager errors;
    info.err = jpeg_std_error(&errors.standard);
    errors.standard.error_exit = &ErrorExit;
    errors.standard.output_message = &NoMessage;
    // Volatile: they change between setjmp and a longjmp back to it.
    uint8_t* volatile pixels = nullptr;
    JSAMPLE* volatile line = nullptr;
    if (setjmp(errors.back)) {
        jpeg_destroy_decompress(&info);
        std::free(pixels);
        std::free(line);
        return false;
    }
    jpeg_create_decompress(&info);
    MemorySource source{};
    source.manager.init_source = &InitSource;
    source.manager.fill_input_buffer = &FillInput;
    source.manager.skip_input_data = &SkipInput;
    source.manager.resync_to_restart = &jpeg_resync_to_restart;
    source.manager.term_source = &TermSource;
    source.manager.next_input_byte = bytes;
    source.manager.bytes_in_buffer = length;
    source.data = bytes, source.length = length;
    info.src = &source.manager;
    jpeg_read_header(&info, TRUE);

    // Colour pictures come out as B, G, R straight away; grey as one channel. CMYK (and YCCK,
    // which libjpeg turns into CMYK) is converted below, and any other component count shows
    // its first component as grey: no pixel of the picture is left unfilled.
    const int components = info.num_components;
    if (components == 3) info.out_color_space = JCS_EXT_BGR;
    else if (components == 1) info.out_color_space = JCS_GRAYSCALE;
    else if (components == 4 && (info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK))
        info.out_color_space = JCS_CMYK;
    else info.out_color_space = info.jpeg_color_space = JCS_UNKNOWN;

    const uint64_t width = info.image_width, height = info.image_height;
    const uint64_t packed = width * 3;
    if (width == 0 || height == 0 || packed * height > PictureByteLimit()) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_start_decompress(&info);
    pixels = static_cast<uint8_t*>(std::malloc(static_cast<size_t>(packed * height)));
    line = static_cast<JSAMPLE*>(std::malloc(static_cast<size_t>(width) * info.output_components));
    if (!pixels || !line) ErrorExit(reinterpret_cast<j_common_ptr>(&info));
    const bool adobeInverted = info.saw_Adobe_marker;
    while (info.output_scanline < info.output_height) {
        // Rows come top first and are kept bottom-up.
        uint8_t* row = pixels + packed * (height - 1 - info.output_scanline);
        JSAMPROW target = line;
        jpeg_read_scanlines(&info, &target, 1);
        const JSAMPLE* s = line;
        const int n = info.output_components;
        for (uint64_t x = 0; x < width; ++x, s += n, row += 3) {
            if (info.out_color_space == JCS_EXT_BGR) {
                row[0] = s[0], row[1] = s[1], row[2] = s[2];
            } else if (info.out_color_space == JCS_CMYK) {
                // Adobe writes CMYK inverted (255 = no ink).
                int c = s[0], m = s[1], y = s[2], k = s[3];
                if (!adobeInverted) c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
                row[2] = uint8_t(c * k / 255), row[1] = uint8_t(m * k / 255), row[0] = uint8_t(y * k / 255);
            } else {
                row[0] = row[1] = row[2] = s[0];
            }
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    std::free(line);
    *out = {kPictureJpeg, static_cast<int32_t>(width), static_cast<int32_t>(height), pixels,
            static_cast<uint32_t>(packed * height)};
    return true;
}

}  // namespace ruvelto::components
