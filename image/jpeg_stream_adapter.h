// libjpeg's source and destination managers over our streams, and an error manager that returns
// to the codec instead of ending the process. Include only where libjpeg is used (its `boolean`
// clashes with windows.h).
#pragma once
#include <csetjmp>
#include <cstddef>
#include <cstdio>

#include <jpeglib.h>

namespace ruvelto::image {

class Image;
class Stream;

// One adapter serves as the source manager of a decompressor or the destination manager of a
// compressor, over a Stream, in 4096-byte blocks.
struct JpegStreamAdapter {
    static constexpr size_t kBufferSize = 4096;

    jpeg_source_mgr source{};
    jpeg_destination_mgr destination{};
    Stream* stream = nullptr;
    bool startOfFile = true;
    JOCTET buffer[kBufferSize];

    void AttachSource(j_decompress_ptr cinfo, Stream& s);
    void AttachDestination(j_compress_ptr cinfo, Stream& s);
};

// libjpeg's standard error manager with a fatal-error exit that formats the message into the
// owner's LastError and jumps back to the codec, and warnings kept off the console.
struct JpegErrorManager {
    jpeg_error_mgr pub{};
    std::jmp_buf jump;
    Image* owner = nullptr;

    jpeg_error_mgr* Install(Image* image);
};

}  // namespace ruvelto::image
