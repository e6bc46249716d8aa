#include "image/jpeg_stream_adapter.h"

#include <jerror.h>

#include "image/image.h"
#include "image/stream.h"

namespace ruvelto::image {

namespace {

JpegStreamAdapter* AdapterOf(j_common_ptr cinfo) { return static_cast<JpegStreamAdapter*>(cinfo->client_data); }

void InitSource(j_decompress_ptr cinfo) { AdapterOf(reinterpret_cast<j_common_ptr>(cinfo))->startOfFile = true; }

boolean FillInputBuffer(j_decompress_ptr cinfo) {
    JpegStreamAdapter* a = AdapterOf(reinterpret_cast<j_common_ptr>(cinfo));
    size_t n = a->stream->Read(a->buffer, 1, JpegStreamAdapter::kBufferSize);
    if (n == 0) {
        if (a->startOfFile) ERREXIT(cinfo, JERR_INPUT_EMPTY);
        WARNMS(cinfo, JWRN_JPEG_EOF);
        // A truncated file ends as if its end-of-image marker had arrived.
        a->buffer[0] = 0xFF;
        a->buffer[1] = JPEG_EOI;
        n = 2;
    }
    a->source.next_input_byte = a->buffer;
    a->source.bytes_in_buffer = n;
    a->startOfFile = false;
    return TRUE;
}

void SkipInputData(j_decompress_ptr cinfo, long count) {
    JpegStreamAdapter* a = AdapterOf(reinterpret_cast<j_common_ptr>(cinfo));
    if (count <= 0) return;
    while (count > static_cast<long>(a->source.bytes_in_buffer)) {
        count -= static_cast<long>(a->source.bytes_in_buffer);
        FillInputBuffer(cinfo);
    }
    a->source.next_input_byte += count;
    a->source.bytes_in_buffer -= static_cast<size_t>(count);
}

void TermSource(j_decompress_ptr) {}

void InitDestination(j_compress_ptr cinfo) {
    JpegStreamAdapter* a = AdapterOf(reinterpret_cast<j_common_ptr>(cinfo));
    a->destination.next_output_byte = a->buffer;
    a->destination.free_in_buffer = JpegStreamAdapter::kBufferSize;
}

boolean EmptyOutputBuffer(j_compress_ptr cinfo) {
    JpegStreamAdapter* a = AdapterOf(reinterpret_cast<j_common_ptr>(cinfo));
    if (a->stream->Write(a->buffer, 1, JpegStreamAdapter::kBufferSize) != JpegStreamAdapter::kBufferSize)
        ERREXIT(cinfo, JERR_FILE_WRITE);
    a->destination.next_output_byte = a->buffer;
    a->destination.free_in_buffer = JpegStreamAdapter::kBufferSize;
    return TRUE;
}

void TermDestination(j_compress_ptr cinfo) {
    JpegStreamAdapter* a = AdapterOf(reinterpret_cast<j_common_ptr>(cinfo));
    const size_t n = JpegStreamAdapter::kBufferSize - a->destination.free_in_buffer;
    if (n > 0 && a->stream->Write(a->buffer, 1, n) != n) ERREXIT(cinfo, JERR_FILE_WRITE);
    a->stream->Flush();
    if (a->stream->Error()) ERREXIT(cinfo, JERR_FILE_WRITE);
}

void ErrorExit(j_common_ptr cinfo) {
    JpegErrorManager* e = reinterpret_cast<JpegErrorManager*>(cinfo->err);
    char text[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, text);
    e->owner->SetLastError(text);
    std::longjmp(e->jump, 1);
}

// A desktop program has no console to print libjpeg's warnings on.
void OutputMessage(j_common_ptr) {}

}  // namespace

void JpegStreamAdapter::AttachSource(j_decompress_ptr cinfo, Stream& s) {
    stream = &s;
    cinfo->client_data = this;
    source.init_source = InitSource;
    source.fill_input_buffer = FillInputBuffer;
    source.skip_input_data = SkipInputData;
    source.resync_to_restart = jpeg_resync_to_restart;
    source.term_source = TermSource;
    source.bytes_in_buffer = 0;
    source.next_input_byte = nullptr;
    cinfo->src = &source;
}

void JpegStreamAdapter::AttachDestination(j_compress_ptr cinfo, Stream& s) {
    stream = &s;
    cinfo->client_data = this;
    destination.init_destination = InitDestination;
    destination.empty_output_buffer = EmptyOutputBuffer;
    destination.term_destination = TermDestination;
    cinfo->dest = &destination;
}

jpeg_error_mgr* JpegErrorManager::Install(Image* image) {
    owner = image;
    jpeg_std_error(&pub);
    pub.error_exit = ErrorExit;
    pub.output_message = OutputMessage;
    return &pub;
}

}  // namespace ruvelto::image
