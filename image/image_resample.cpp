// Resampling a picture to a new width and height, separably: each output row first gathers its
// source rows into one accumulator row, which is then gathered across. The filter is a tent:
// shrinking weighs every source pixel within one output pixel's width of the output pixel's
// centre by its distance (a plain box average would let fine stripes beat into bands at ratios
// that are not whole numbers), enlarging interpolates linearly between the two nearest pixels. Transparent pixels are weighted by their
// alpha, so an opaque colour next to a transparent area keeps its colour instead of taking on
// the hidden colour of its transparent neighbours.
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <new>

#include "image/image.h"

namespace ruvelto::image {

namespace {

// Weights are fixed point with 12 fraction bits and sum to exactly kOne for every output pixel;
// after the two passes a value carries 24 fraction bits: 255 << 24 still fits 32 bits.
constexpr int kWeightBits = 12;
constexpr uint32_t kOne = 1u << kWeightBits;

template <typename T>
std::unique_ptr<T[]> NewArray(size_t count) {
    return std::unique_ptr<T[]>(new (std::nothrow) T[count ? count : 1]);
}

// Which source pixels an output pixel takes, with what weight: for output i, weights
// [offset, offset + count) apply to source pixels first, first + 1, ...
struct Contributions {
    struct Span {
        uint32_t first = 0;
        uint32_t count = 0;
        uint32_t offset = 0;
    };
    std::unique_ptr<Span[]> spans;
    std::unique_ptr<uint16_t[]> weights;

    bool Build(uint32_t in, uint32_t out) {
        const double scale = double(in) / double(out);
        // The tent reaches one output pixel's width into the source each way when shrinking
        // (every source pixel is counted, fine stripes average out instead of beating), and one
        // source pixel when enlarging, which makes it linear interpolation.
        const double support = scale > 1 ? scale : 1;
        const size_t perOutput = static_cast<size_t>(2 * support) + 3;
        spans = NewArray<Span>(out);
        weights = NewArray<uint16_t>(size_t(out) * perOutput);
        if (!spans || !weights) return false;
        uint32_t offset = 0;
        for (uint32_t i = 0; i < out; ++i) {
            Span& span = spans[i];
            span.offset = offset;
            // Centres in source space: source pixel s sits at s + 0.5, output i at (i + 0.5) * scale.
            const double centre = (i + 0.5) * scale;
            const double from = std::floor(centre - support), to = std::ceil(centre + support);
            const uint32_t first = from < 0 ? 0 : static_cast<uint32_t>(from);
            const uint32_t last = to > in ? in : static_cast<uint32_t>(to);
            double total = 0;
            for (uint32_t s = first; s < last; ++s) total += Tent((s + 0.5 - centre) / support);
            span.first = first;
            if (!(total > 0)) {  // cannot happen with a tent this wide; stay safe all the same
                span.first = static_cast<uint32_t>(centre < in ? centre : in - 1);
                weights[offset + span.count++] = static_cast<uint16_t>(kOne);
                offset += span.count;
                continue;
            }
            // Rounding the running sum keeps every output's total exact however many sources
            // share it, even when each alone weighs less than one unit.
            double running = 0;
            uint32_t given = 0;
            for (uint32_t s = first; s < last; ++s) {
                running += Tent((s + 0.5 - centre) / support);
                uint32_t upTo = static_cast<uint32_t>(std::lround(running / total * kOne));
                if (upTo > kOne || s + 1 == last) upTo = kOne;
                weights[offset + span.count++] = static_cast<uint16_t>(upTo - given);
                given = upTo;
            }
            offset += span.count;
        }
        return true;
    }

    static double Tent(double x) {
        x = std::fabs(x);
        return x < 1 ? 1 - x : 0;
    }
};

// What the source holds, as the passes read it.
struct SourceKind {
    uint32_t channels = 3;    // 3: blue, green, red; 1: grey level
    bool alpha = false;       // a fourth, weighting value per pixel
    bool expand = false;      // rows go through the palette and the transparency rules first
};

}  // namespace

bool Image::Resample(uint32_t width, uint32_t height) {
    if (!Dib) {
        SetLastError(kErrNoPicture);
        return false;
    }
    if (width == 0 || height == 0) {
        SetLastError(kErrZeroSize);
        return false;
    }
    const uint32_t inWidth = GetWidth(), inHeight = GetHeight();
    if (width == inWidth && height == inHeight) return true;

    // Colour-keyed and palette-alpha transparency become an alpha plane: averaged pixels no
    // longer match a key colour, while alpha averages like any other value.
    const bool palette = Header.ClrUsed != 0;
    const bool keyed = Info.TransIndex != -1;
    const bool paletteAlpha = palette && Info.AlphaPaletteEnabled && AlphaPaletteIsValid();
    SourceKind kind;
    kind.alpha = Alpha || keyed || paletteAlpha;
    if (palette && Header.BitCount == 8 && IsGrayScale() && !kind.alpha) {
        kind.channels = 1;
    } else {
        kind.expand = palette || keyed;
    }
    const uint32_t channels = kind.channels;

    Image result;
    result.Info = Info;
    result.Info.Bits = nullptr;
    result.Info.GhostOf = nullptr;
    result.Header.XPelsPerMeter = Header.XPelsPerMeter;
    result.Header.YPelsPerMeter = Header.YPelsPerMeter;
    if (!result.Create(width, height, channels == 1 ? 8 : 24, Info.Type)) {
        SetLastError(result.Info.LastError);
        return false;
    }
    if (channels == 1) result.SetGrayPalette();
    if (kind.alpha) {
        result.AlphaCreate();
        if (!result.Alpha) {
            SetLastError(kErrNoMemory);
            return false;
        }
        result.Info.TransIndex = -1;
        result.Info.TransColor = RgbQuad{};
        result.Info.AlphaPaletteEnabled = false;
    }

    Contributions across, down;
    if (!across.Build(inWidth, width) || !down.Build(inHeight, height)) {
        SetLastError(kErrNoMemory);
        return false;
    }
    // With alpha, each source row is premultiplied once (colour x alpha fits 16 bits) into a
    // small ring that holds every row one output row gathers, so rows shared by neighbouring
    // output rows are not worked out twice.
    uint32_t ringRows = 1;
    for (uint32_t j = 0; j < height; ++j) ringRows = down.spans[j].count > ringRows ? down.spans[j].count : ringRows;
    const size_t rowValues = size_t(inWidth) * channels;
    auto sum = NewArray<uint32_t>(rowValues);                         // weighted values (premultiplied)
    auto alphaSum = NewArray<uint32_t>(kind.alpha ? inWidth : 0);     // weighted alpha
    auto expanded = NewArray<uint8_t>(kind.expand ? size_t(inWidth) * 3 : 0);
    auto expandedAlpha = NewArray<uint8_t>(kind.alpha ? inWidth : 0);
    auto ring = NewArray<uint16_t>(kind.alpha ? size_t(ringRows) * inWidth * 3 : 0);
    auto ringAlpha = NewArray<uint8_t>(kind.alpha ? size_t(ringRows) * inWidth : 0);
    auto ringRow = NewArray<uint32_t>(ringRows);
    if (!sum || !alphaSum || !expanded || !expandedAlpha || !ring || !ringAlpha || !ringRow) {
        SetLastError(kErrNoMemory);
        return false;
    }
    for (uint32_t i = 0; i < ringRows; ++i) ringRow[i] = UINT32_MAX;

    const RgbQuad key = GetTransColor();
    // One source row as blue-green-red (or grey) values and, with alpha, its alpha values.
    auto sourceRow = [&](uint32_t y, const uint8_t*& values, const uint8_t*& alphas) {
        values = GetBits(y);
        alphas = Alpha ? Alpha + size_t(y) * inWidth : nullptr;
        if (!kind.expand && !(kind.alpha && !Alpha)) return;
        uint8_t* out = expanded.get();
        uint8_t* a = expandedAlpha.get();
        for (uint32_t x = 0; x < inWidth; ++x) {
            RgbQuad c;
            uint8_t alpha = Alpha ? Alpha[size_t(y) * inWidth + x] : 255;
            if (palette) {
                const uint8_t index = GetPixelIndex(int32_t(x), int32_t(y));
                c = GetPaletteColor(index);
                if (keyed && index == Info.TransIndex) alpha = 0;
                if (paletteAlpha) alpha = static_cast<uint8_t>(alpha * c.reserved / 255);
            } else {
                c = RgbQuad{values[3 * x], values[3 * x + 1], values[3 * x + 2], 0};
                if (keyed && c.blue == key.blue && c.green == key.green && c.red == key.red) alpha = 0;
            }
            if (kind.expand) {
                out[3 * x] = c.blue;
                out[3 * x + 1] = c.green;
                out[3 * x + 2] = c.red;
            }
            if (kind.alpha) a[x] = alpha;
        }
        if (kind.expand) values = out;
        if (kind.alpha) alphas = a;
    };
    // The premultiplied row y from the ring, worked out when it is not there yet.
    auto premultipliedRow = [&](uint32_t y, const uint16_t*& values, const uint8_t*& alphas) {
        const uint32_t slot = y % ringRows;
        uint16_t* pm = ring.get() + size_t(slot) * inWidth * 3;
        uint8_t* pa = ringAlpha.get() + size_t(slot) * inWidth;
        if (ringRow[slot] != y) {
            const uint8_t* v = nullptr;
            const uint8_t* a = nullptr;
            sourceRow(y, v, a);
            for (uint32_t x = 0; x < inWidth; ++x) {
                const uint32_t alpha = a[x];
                pa[x] = a[x];
                pm[3 * x] = static_cast<uint16_t>(v[3 * x] * alpha);
                pm[3 * x + 1] = static_cast<uint16_t>(v[3 * x + 1] * alpha);
                pm[3 * x + 2] = static_cast<uint16_t>(v[3 * x + 2] * alpha);
            }
            ringRow[slot] = y;
        }
        values = pm;
        alphas = pa;
    };

    for (uint32_t j = 0; j < height; ++j) {
        const Contributions::Span& rows = down.spans[j];
        uint32_t* s = sum.get();
        std::memset(s, 0, rowValues * sizeof(uint32_t));
        if (kind.alpha) std::memset(alphaSum.get(), 0, inWidth * sizeof(uint32_t));
        for (uint32_t k = 0; k < rows.count; ++k) {
            const uint32_t w = down.weights[rows.offset + k];
            if (!kind.alpha) {
                const uint8_t* values = nullptr;
                const uint8_t* alphas = nullptr;
                sourceRow(rows.first + k, values, alphas);
                for (size_t i = 0; i < rowValues; ++i) s[i] += w * values[i];
                continue;
            }
            // Colour times alpha times the weight: 255 * 255 * kOne still fits 32 bits; the
            // second pass widens to 64.
            const uint16_t* values = nullptr;
            const uint8_t* alphas = nullptr;
            premultipliedRow(rows.first + k, values, alphas);
            for (size_t i = 0; i < rowValues; ++i) s[i] += w * values[i];
            uint32_t* as = alphaSum.get();
            for (uint32_t x = 0; x < inWidth; ++x) as[x] += w * alphas[x];
        }

        uint8_t* out = result.GetBits(j);
        constexpr uint32_t kHalf = 1u << (2 * kWeightBits - 1);
        if (channels == 1) {
            for (uint32_t i = 0; i < width; ++i) {
                const Contributions::Span& cols = across.spans[i];
                const uint16_t* w = &across.weights[cols.offset];
                const uint32_t* v = s + cols.first;
                uint32_t total = kHalf;
                for (uint32_t k = 0; k < cols.count; ++k) total += w[k] * v[k];
                out[i] = static_cast<uint8_t>(total >> (2 * kWeightBits));
            }
            continue;
        }
        if (!kind.alpha) {
            for (uint32_t i = 0; i < width; ++i) {
                const Contributions::Span& cols = across.spans[i];
                const uint16_t* w = &across.weights[cols.offset];
                const uint32_t* v = s + size_t(cols.first) * 3;
                uint32_t blue = kHalf, green = kHalf, red = kHalf;
                for (uint32_t k = 0; k < cols.count; ++k, v += 3) {
                    blue += w[k] * v[0];
                    green += w[k] * v[1];
                    red += w[k] * v[2];
                }
                out[3 * i] = static_cast<uint8_t>(blue >> (2 * kWeightBits));
                out[3 * i + 1] = static_cast<uint8_t>(green >> (2 * kWeightBits));
                out[3 * i + 2] = static_cast<uint8_t>(red >> (2 * kWeightBits));
            }
            continue;
        }
        // Premultiplied sums lose their low 8 bits here so that the second pass fits 32 bits
        // (colour x alpha x kOne x kOne / 256 < 2^32); what is left is still far finer than a level.
        for (size_t i = 0; i < rowValues; ++i) s[i] >>= 8;
        uint8_t* outAlpha = result.Alpha + size_t(j) * width;
        for (uint32_t i = 0; i < width; ++i) {
            const Contributions::Span& cols = across.spans[i];
            const uint16_t* w = &across.weights[cols.offset];
            const uint32_t* as = alphaSum.get() + cols.first;
            const uint32_t* v = s + size_t(cols.first) * 3;
            uint32_t alpha = 0, blue = 0, green = 0, red = 0;
            for (uint32_t k = 0; k < cols.count; ++k, v += 3) {
                alpha += w[k] * as[k];
                blue += w[k] * v[0];
                green += w[k] * v[1];
                red += w[k] * v[2];
            }
            outAlpha[i] = static_cast<uint8_t>((alpha + kHalf) >> (2 * kWeightBits));
            // Colour = premultiplied / alpha; where nothing shows, the colour is black.
            if (!alpha) {
                out[3 * i] = out[3 * i + 1] = out[3 * i + 2] = 0;
                continue;
            }
            const float scale = 256.0f / float(alpha);
            const uint32_t colours[3] = {blue, green, red};
            for (uint32_t c = 0; c < 3; ++c) {
                const float colour = float(colours[c]) * scale + 0.5f;
                out[3 * i + c] = colour >= 255.0f ? 255 : static_cast<uint8_t>(colour);
            }
        }
    }
    result.Metadata = Metadata;
    return Transfer(result);
}

}  // namespace ruvelto::image
