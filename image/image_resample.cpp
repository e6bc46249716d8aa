// Resampling a picture to a new width and height, separably: each output row first gathers its
// source rows into one accumulator row, which is then gathered across. The filter is a tent:
// shrinking weighs every source pixel within one output pixel's width of the output pixel's
// centre by its distance (a plain box average would let fine stripes beat into bands at ratios
// that are not whole numbers), enlarging interpolates linearly between the two nearest pixels. Transparent pixels are weighted by their
// alpha, so an opaque colour next to a transparent area keeps its colour instead of taking on
// the hidden colour of its transparent neighbours.
#include <cmath>
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
    const size_t rowValues = size_t(inWidth) * channels;
    auto sum = NewArray<uint32_t>(rowValues);                         // weighted values (premultiplied)
    auto alphaSum = NewArray<uint32_t>(kind.alpha ? inWidth : 0);     // weighted alpha
    auto expanded = NewArray<uint8_t>(kind.expand ? size_t(inWidth) * 3 : 0);
    auto expandedAlpha = NewArray<uint8_t>(kind.alpha ? inWidth : 0);
    if (!across.Build(inWidth, width) || !down.Build(inHeight, height) || !sum || !alphaSum || !expanded ||
        !expandedAlpha) {
        SetLastError(kErrNoMemory);
        return false;
    }

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

    for (uint32_t j = 0; j < height; ++j) {
        const Contributions::Span& rows = down.spans[j];
        std::memset(sum.get(), 0, rowValues * sizeof(uint32_t));
        if (kind.alpha) std::memset(alphaSum.get(), 0, inWidth * sizeof(uint32_t));
        for (uint32_t k = 0; k < rows.count; ++k) {
            const uint32_t w = down.weights[rows.offset + k];
            const uint8_t* values = nullptr;
            const uint8_t* alphas = nullptr;
            sourceRow(rows.first + k, values, alphas);
            uint32_t* s = sum.get();
            if (!kind.alpha) {
                for (size_t i = 0; i < rowValues; ++i) s[i] += w * values[i];
                continue;
            }
            // Colour times alpha: 255 * 255 * kOne still fits; the second pass widens to 64 bits.
            uint32_t* as = alphaSum.get();
            for (uint32_t x = 0; x < inWidth; ++x) {
                const uint32_t a = alphas[x];
                as[x] += w * a;
                for (uint32_t c = 0; c < 3; ++c) s[3 * x + c] += w * (values[3 * x + c] * a);
            }
        }

        uint8_t* out = result.GetBits(j);
        uint8_t* outAlpha = kind.alpha ? result.Alpha + size_t(j) * width : nullptr;
        for (uint32_t i = 0; i < width; ++i) {
            const Contributions::Span& cols = across.spans[i];
            const uint16_t* w = &across.weights[cols.offset];
            if (!kind.alpha) {
                for (uint32_t c = 0; c < channels; ++c) {
                    uint32_t total = 1u << (2 * kWeightBits - 1);
                    const uint32_t* s = sum.get() + size_t(cols.first) * channels + c;
                    for (uint32_t k = 0; k < cols.count; ++k, s += channels) total += w[k] * *s;
                    out[size_t(i) * channels + c] = static_cast<uint8_t>(total >> (2 * kWeightBits));
                }
                continue;
            }
            uint32_t alphaTotal = 0;
            uint64_t premultiplied[3] = {0, 0, 0};
            const uint32_t* as = alphaSum.get() + cols.first;
            const uint32_t* s = sum.get() + size_t(cols.first) * 3;
            for (uint32_t k = 0; k < cols.count; ++k, s += 3) {
                alphaTotal += w[k] * as[k];
                for (uint32_t c = 0; c < 3; ++c) premultiplied[c] += uint64_t(w[k]) * s[c];
            }
            // Colour = premultiplied / alpha; where nothing shows, the colour is black.
            const uint32_t a = (alphaTotal + (1u << (2 * kWeightBits - 1))) >> (2 * kWeightBits);
            outAlpha[i] = static_cast<uint8_t>(a);
            for (uint32_t c = 0; c < 3; ++c) {
                uint32_t v = 0;
                if (alphaTotal) {
                    const double colour = double(premultiplied[c]) / double(alphaTotal);
                    v = colour >= 255.0 ? 255 : static_cast<uint32_t>(colour + 0.5);
                }
                out[size_t(i) * 3 + c] = static_cast<uint8_t>(v);
            }
        }
    }
    return Transfer(result);
}

}  // namespace ruvelto::image
