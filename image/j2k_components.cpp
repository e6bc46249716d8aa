#include "image/j2k_components.h"

#include <algorithm>
#include <vector>

#include "image/j2k_texts.h"

namespace ruvelto::image::j2k {

namespace {

bool SameGrid(const opj_image_comp_t& a, const opj_image_comp_t& b) {
    return a.w == b.w && a.h == b.h && a.dx == b.dx && a.dy == b.dy;
}

// A component's samples as 0 .. 2^prec - 1: signed ones are moved up by half the range.
struct Sampler {
    const opj_image_comp_t* comp = nullptr;
    uint32_t width = 0, height = 0;  // of the picture the samples are spread over
    int64_t offset = 0;
    uint64_t max = 1;

    Sampler(const opj_image_comp_t& c, uint32_t pictureWidth, uint32_t pictureHeight)
        : comp(&c), width(pictureWidth), height(pictureHeight) {
        max = (uint64_t{1} << c.prec) - 1;
        offset = c.sgnd ? int64_t{1} << (c.prec - 1) : 0;
    }
    // Nearest sample of picture position (x, y from the top); subsampled components repeat.
    uint64_t At(uint32_t x, uint32_t y) const {
        const uint32_t cx = comp->w == width ? x : uint32_t(uint64_t{x} * comp->w / width);
        const uint32_t cy = comp->h == height ? y : uint32_t(uint64_t{y} * comp->h / height);
        const int64_t v = int64_t{comp->data[size_t{cy} * comp->w + cx]} + offset;
        return v < 0 ? 0 : uint64_t(v) > max ? max : uint64_t(v);
    }
    // The sample scaled to 0 .. targetMax, rounded.
    uint32_t Scaled(uint32_t x, uint32_t y, uint32_t targetMax) const {
        if (max == targetMax) return uint32_t(At(x, y));
        return uint32_t((At(x, y) * targetMax + max / 2) / max);
    }
};

uint8_t Clamp8(int32_t v) { return uint8_t(v < 0 ? 0 : v > 255 ? 255 : v); }

enum class Colour { kNone, kRgb, kYcc, kCmyk };

Colour ColourKind(const opj_image_t& img) {
    const uint32_t n = img.numcomps;
    if (n < 3 || img.color_space == OPJ_CLRSPC_GRAY) return Colour::kNone;
    const opj_image_comp_t* c = img.comps;
    const bool equal = SameGrid(c[0], c[1]) && SameGrid(c[0], c[2]);
    if (img.color_space == OPJ_CLRSPC_CMYK) return n >= 4 && equal && SameGrid(c[0], c[3]) ? Colour::kCmyk : Colour::kNone;
    if (img.color_space == OPJ_CLRSPC_SYCC) return Colour::kYcc;
    // A codestream without a colour box whose chroma is subsampled is luma and chroma.
    const bool unspecified = img.color_space == OPJ_CLRSPC_UNKNOWN || img.color_space == OPJ_CLRSPC_UNSPECIFIED;
    if (unspecified && c[0].dx == 1 && c[0].dy == 1 && (c[1].dx > 1 || c[1].dy > 1) && SameGrid(c[1], c[2]))
        return Colour::kYcc;
    return equal ? Colour::kRgb : Colour::kNone;
}

}  // namespace

bool ComponentsWithinBound(uint64_t width, uint64_t height, uint64_t components) {
    return components <= kMaxComponents * 2 && WithinPixelMemoryBound(width, height, 32 * components);
}

ComponentImage MakeComponents(uint32_t width, uint32_t height, uint32_t count, uint32_t precision,
                              bool isSigned, OPJ_COLOR_SPACE space) {
    if (count == 0 || count > kMaxComponents || !ComponentsWithinBound(width, height, count)) return nullptr;
    std::vector<opj_image_cmptparm_t> params(count);
    for (opj_image_cmptparm_t& p : params) {
        p = opj_image_cmptparm_t{};
        p.dx = p.dy = 1;
        p.w = width;
        p.h = height;
        p.prec = precision;
        p.sgnd = isSigned ? 1 : 0;
    }
    ComponentImage image(opj_image_create(count, params.data(), space));
    if (!image) return nullptr;
    image->x0 = image->y0 = 0;
    image->x1 = width;
    image->y1 = height;
    return image;
}

bool ComponentsToPicture(const opj_image_t& img, Image& picture, int32_t format, std::string& error) {
    const uint32_t n = img.numcomps;
    if (n == 0 || !img.comps) {
        error = LoadFailure("no components");
        return false;
    }
    if (n > kMaxComponents) {
        error = kTooManyComponents;
        return false;
    }
    for (uint32_t i = 0; i < n; ++i) {
        const opj_image_comp_t& c = img.comps[i];
        if (!c.data || c.w == 0 || c.h == 0 || c.prec == 0 || c.prec > 31) {
            error = LoadFailure("unsupported component");
            return false;
        }
    }
    // Lab pictures come with a Lab description in place of a colour profile.
    if (img.color_space == OPJ_CLRSPC_EYCC || (img.icc_profile_buf && img.icc_profile_len == 0)) {
        error = kCannotConvert;
        return false;
    }
    const int32_t* escape = &picture.Info.Escape;
    const Colour colour = ColourKind(img);
    if (colour != Colour::kNone) {
        const uint32_t w = img.comps[0].w, h = img.comps[0].h;
        if (!picture.Create(w, h, 24, format)) {
            error = kNoMemory24;
            return false;
        }
        const Sampler s0(img.comps[0], w, h), s1(img.comps[1], w, h), s2(img.comps[2], w, h);
        const uint32_t alphaIndex = colour == Colour::kCmyk ? 4 : 3;
        const bool alpha = n > alphaIndex && SameGrid(img.comps[0], img.comps[alphaIndex]);
        if (alpha) picture.AlphaCreate();
        const Sampler k(img.comps[colour == Colour::kCmyk ? 3 : 0], w, h);
        const Sampler a(img.comps[alpha ? alphaIndex : 0], w, h);
        for (uint32_t y = 0; y < h; ++y) {
            if (*escape) {
                error = kCancelled;
                return false;
            }
            const uint32_t row = h - 1 - y;
            uint8_t* p = picture.GetBits(row);
            for (uint32_t x = 0; x < w; ++x, p += 3) {
                uint8_t r, g, b;
                if (colour == Colour::kRgb) {
                    r = uint8_t(s0.Scaled(x, y, 255));
                    g = uint8_t(s1.Scaled(x, y, 255));
                    b = uint8_t(s2.Scaled(x, y, 255));
                } else if (colour == Colour::kYcc) {
                    // Integer arithmetic (16 fraction bits), so that every build rounds alike.
                    const int32_t yy = int32_t(s0.Scaled(x, y, 255));
                    const int32_t cb = int32_t(s1.Scaled(x, y, 255)) - 128, cr = int32_t(s2.Scaled(x, y, 255)) - 128;
                    r = Clamp8(yy + ((91881 * cr + 32768) >> 16));
                    g = Clamp8(yy + ((-22554 * cb - 46802 * cr + 32768) >> 16));
                    b = Clamp8(yy + ((116130 * cb + 32768) >> 16));
                } else {
                    const uint32_t keep = 255 - k.Scaled(x, y, 255);
                    r = uint8_t(((255 - s0.Scaled(x, y, 255)) * keep + 127) / 255);
                    g = uint8_t(((255 - s1.Scaled(x, y, 255)) * keep + 127) / 255);
                    b = uint8_t(((255 - s2.Scaled(x, y, 255)) * keep + 127) / 255);
                }
                p[0] = b;
                p[1] = g;
                p[2] = r;
                if (alpha) picture.AlphaSet(int32_t(x), int32_t(row), uint8_t(a.Scaled(x, y, 255)));
            }
        }
        return true;
    }

    const int32_t frame = picture.Info.Frame;
    if (frame < 0 || uint32_t(frame) >= n) {
        error = kWrongFrame;
        return false;
    }
    const opj_image_comp_t& c = img.comps[frame];
    const uint32_t bits = c.prec <= 1 ? 1 : c.prec <= 4 ? 4 : 8;
    if (!picture.Create(c.w, c.h, bits, format)) {
        error = kNoMemoryGrey;
        return false;
    }
    picture.SetGrayPalette();
    const Sampler s(c, c.w, c.h);
    const bool alpha = n == 2 && frame == 0 && SameGrid(c, img.comps[1]);
    if (alpha) picture.AlphaCreate();
    const Sampler a(img.comps[alpha ? 1 : 0], c.w, c.h);
    const uint32_t levels = (1u << bits) - 1;
    for (uint32_t y = 0; y < c.h; ++y) {
        if (*escape) {
            error = kCancelled;
            return false;
        }
        const int32_t row = int32_t(c.h - 1 - y);
        for (uint32_t x = 0; x < c.w; ++x) {
            picture.SetPixelIndex(int32_t(x), row, uint8_t(s.Scaled(x, y, levels)));
            if (alpha) picture.AlphaSet(int32_t(x), row, uint8_t(a.Scaled(x, y, 255)));
        }
    }
    return true;
}

ComponentImage PictureToComponents(const Image& picture) {
    const bool rgb = picture.Header.ClrUsed == 0;
    const uint32_t w = picture.GetWidth(), h = picture.GetHeight();
    ComponentImage image = MakeComponents(w, h, rgb ? 3 : 1, 8, false, rgb ? OPJ_CLRSPC_SRGB : OPJ_CLRSPC_GRAY);
    if (!image) return nullptr;
    for (uint32_t y = 0; y < h; ++y) {
        const uint32_t row = h - 1 - y;
        const size_t at = size_t{y} * w;
        if (rgb) {
            const uint8_t* p = picture.GetBits(row);
            for (uint32_t x = 0; x < w; ++x, p += 3) {
                image->comps[0].data[at + x] = p[2];
                image->comps[1].data[at + x] = p[1];
                image->comps[2].data[at + x] = p[0];
            }
        } else {
            for (uint32_t x = 0; x < w; ++x) image->comps[0].data[at + x] = picture.GetPixelIndex(int32_t(x), int32_t(row));
        }
    }
    return image;
}

}  // namespace ruvelto::image::j2k
