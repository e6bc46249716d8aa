#include "image/j2k_openjpeg.h"

#include <algorithm>
#include <cstring>

#include "image/j2k_texts.h"

namespace ruvelto::image::j2k {

namespace {

struct StreamContext {
    Stream* stream = nullptr;
    int64_t start = 0;
    const int32_t* escape = nullptr;
};

OPJ_SIZE_T ReadBytes(void* buffer, OPJ_SIZE_T count, void* user) {
    auto* ctx = static_cast<StreamContext*>(user);
    if (ctx->escape && *ctx->escape) return OPJ_SIZE_T(-1);
    const size_t got = ctx->stream->Read(buffer, 1, count);
    return got ? got : OPJ_SIZE_T(-1);
}

OPJ_SIZE_T WriteBytes(void* buffer, OPJ_SIZE_T count, void* user) {
    auto* ctx = static_cast<StreamContext*>(user);
    return ctx->stream->Write(buffer, 1, count) == count ? count : OPJ_SIZE_T(-1);
}

OPJ_OFF_T SkipBytes(OPJ_OFF_T count, void* user) {
    auto* ctx = static_cast<StreamContext*>(user);
    return ctx->stream->Seek(count, kSeekCur) ? count : OPJ_OFF_T(-1);
}

OPJ_BOOL SeekTo(OPJ_OFF_T position, void* user) {
    auto* ctx = static_cast<StreamContext*>(user);
    return ctx->stream->Seek(ctx->start + position, kSeekSet) ? OPJ_TRUE : OPJ_FALSE;
}

// OpenJPEG's first error message, without its line end.
void KeepFirstError(const char* message, void* user) {
    auto* text = static_cast<std::string*>(user);
    if (!text->empty() || !message) return;
    *text = message;
    while (!text->empty() && (text->back() == '\n' || text->back() == '\r')) text->pop_back();
}

void Ignore(const char*, void*) {}

struct CodecDeleter {
    void operator()(opj_codec_t* codec) const { opj_destroy_codec(codec); }
};
struct StreamDeleter {
    void operator()(opj_stream_t* stream) const { opj_stream_destroy(stream); }
};
using Codec = std::unique_ptr<opj_codec_t, CodecDeleter>;
using OpjStream = std::unique_ptr<opj_stream_t, StreamDeleter>;

void CaptureMessages(opj_codec_t* codec, std::string* text) {
    opj_set_error_handler(codec, KeepFirstError, text);
    opj_set_warning_handler(codec, Ignore, nullptr);
    opj_set_info_handler(codec, Ignore, nullptr);
}

OpjStream WrapStream(StreamContext& ctx, bool input) {
    OpjStream s(opj_stream_create(OPJ_J2K_STREAM_CHUNK_SIZE, input ? OPJ_TRUE : OPJ_FALSE));
    if (!s) return nullptr;
    opj_stream_set_user_data(s.get(), &ctx, nullptr);
    if (input) {
        opj_stream_set_read_function(s.get(), ReadBytes);
        opj_stream_set_user_data_length(s.get(), OPJ_UINT64(ctx.stream->Remaining()));
    } else {
        opj_stream_set_write_function(s.get(), WriteBytes);
    }
    opj_stream_set_skip_function(s.get(), SkipBytes);
    opj_stream_set_seek_function(s.get(), SeekTo);
    return s;
}

// Resolution levels the encoder may use: the smallest side must keep at least one sample.
OPJ_UINT32 ResolutionsFor(uint32_t width, uint32_t height) {
    uint32_t side = width < height ? width : height, levels = 1;
    while (levels < 6 && (side >> levels) > 0) ++levels;
    return levels;
}

}  // namespace

ComponentImage DecodeWithOpenJpeg(Stream& stream, bool jp2, const int32_t* escape, std::string& error) {
    Codec codec(opj_create_decompress(jp2 ? OPJ_CODEC_JP2 : OPJ_CODEC_J2K));
    if (!codec) {
        error = kCannotInitialize;
        return nullptr;
    }
    std::string message;
    CaptureMessages(codec.get(), &message);
    opj_dparameters_t parameters;
    opj_set_default_decoder_parameters(&parameters);
    if (!opj_setup_decoder(codec.get(), &parameters)) {
        error = kCannotInitialize;
        return nullptr;
    }
    StreamContext ctx{&stream, stream.Tell(), escape};
    OpjStream input = WrapStream(ctx, true);
    if (!input) {
        error = kCannotOpenInput;
        return nullptr;
    }
    opj_image_t* header = nullptr;
    if (!opj_read_header(input.get(), codec.get(), &header)) {
        opj_image_destroy(header);
        error = LoadFailure(message);
        return nullptr;
    }
    ComponentImage image(header);
    if (image->numcomps > kMaxComponents) {
        error = kTooManyComponents;
        return nullptr;
    }
    // OpenJPEG allocates every component whole (4 bytes a sample) before any data is read.
    uint32_t widest = 0, tallest = 0;
    for (uint32_t i = 0; i < image->numcomps; ++i) {
        widest = std::max(widest, image->comps[i].w);
        tallest = std::max(tallest, image->comps[i].h);
    }
    if (image->x1 <= image->x0 || image->y1 <= image->y0 || widest == 0 || tallest == 0 ||
        !ComponentsWithinBound(widest, tallest, image->numcomps)) {
        error = LoadFailure("picture too large");
        return nullptr;
    }
    const bool decoded = opj_decode(codec.get(), input.get(), image.get()) &&
                         opj_end_decompress(codec.get(), input.get());
    if (escape && *escape) {
        error = kCancelled;
        return nullptr;
    }
    if (!decoded) {
        error = LoadFailure(message);
        return nullptr;
    }
    return image;
}

bool EncodeWithOpenJpeg(opj_image_t& components, Stream& stream, bool jp2, double rate, std::string& error) {
    Codec codec(opj_create_compress(jp2 ? OPJ_CODEC_JP2 : OPJ_CODEC_J2K));
    std::string message;
    const auto fail = [&](const char* text) {
        error = text;
        error += message;
        return false;
    };
    if (!codec) return fail(kCannotEncode);
    CaptureMessages(codec.get(), &message);
    opj_cparameters_t parameters;
    opj_set_default_encoder_parameters(&parameters);
    // The reversible wavelet, as lossless as the rate allows; one quality layer.
    parameters.irreversible = 0;
    parameters.tcp_numlayers = 1;
    parameters.tcp_rates[0] = rate >= 1.0 ? 0.0f : float(1.0 / rate);
    parameters.cp_disto_alloc = 1;
    parameters.tcp_mct = components.numcomps == 3 ? 1 : 0;
    parameters.numresolution = int(ResolutionsFor(components.comps[0].w, components.comps[0].h));
    if (!opj_setup_encoder(codec.get(), &parameters, &components)) return fail(kCannotEncode);
    StreamContext ctx{&stream, stream.Tell(), nullptr};
    OpjStream output = WrapStream(ctx, false);
    if (!output) {
        error = kCannotOpenOutput;
        return false;
    }
    if (!opj_start_compress(codec.get(), &components, output.get()) || !opj_encode(codec.get(), output.get()) ||
        !opj_end_compress(codec.get(), output.get()))
        return fail(kCannotEncode);
    return true;
}

}  // namespace ruvelto::image::j2k
