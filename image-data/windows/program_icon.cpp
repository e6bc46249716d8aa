#include "image-data/windows/program_icon.h"

#include <algorithm>
#include <cmath>

namespace ruvelto::image_data {
namespace {

struct Rgba {
    uint8_t r, g, b, a;
};

// The motif, in a unit square: a rounded blue photo frame holding a green hill under a yellow
// sun, with a white border; outside the frame the icon is transparent.
Rgba Motif(double x, double y) {
    const double radius = 0.18;
    const double cx = std::clamp(x, radius, 1 - radius), cy = std::clamp(y, radius, 1 - radius);
    if (std::hypot(x - cx, y - cy) > radius) return {0, 0, 0, 0};
    if (x < 0.08 || x > 0.92 || y < 0.08 || y > 0.92) return {255, 255, 255, 255};
    if (std::hypot(x - 0.68, y - 0.32) < 0.13) return {255, 214, 40, 255};
    const double hill = 0.62 + 0.12 * std::cos((x - 0.3) * 5.0);
    if (y > hill) return {46, 160, 67, 255};
    const uint8_t sky = static_cast<uint8_t>(120 + 100 * y);
    return {40, static_cast<uint8_t>(sky / 2 + 40), sky, 255};
}

// The 16 colours of the 4-bit images: the standard VGA palette.
const Rgba kPalette[16] = {{0, 0, 0, 0},       {128, 0, 0, 0},   {0, 128, 0, 0},   {128, 128, 0, 0},
                           {0, 0, 128, 0},     {128, 0, 128, 0}, {0, 128, 128, 0}, {192, 192, 192, 0},
                           {128, 128, 128, 0}, {255, 0, 0, 0},   {0, 255, 0, 0},   {255, 255, 0, 0},
                           {0, 0, 255, 0},     {255, 0, 255, 0}, {0, 255, 255, 0}, {255, 255, 255, 0}};

uint8_t Nearest(const Rgba& c) {
    int best = 0, bestDistance = 1 << 30;
    for (int i = 0; i < 16; ++i) {
        const int dr = c.r - kPalette[i].r, dg = c.g - kPalette[i].g, db = c.b - kPalette[i].b;
        const int d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) best = i, bestDistance = d;
    }
    return static_cast<uint8_t>(best);
}

void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// One icon image: header, palette, colour rows and AND mask, all bottom-up.
std::vector<uint8_t> IconImage(int size, int bits) {
    std::vector<uint8_t> pixels, mask;
    const int colourRow = (size * bits + 31) / 32 * 4, maskRow = (size + 31) / 32 * 4;
    pixels.assign(static_cast<size_t>(colourRow) * size, 0);
    mask.assign(static_cast<size_t>(maskRow) * size, 0);
    for (int row = 0; row < size; ++row) {
        const int y = size - 1 - row;
        for (int x = 0; x < size; ++x) {
            const Rgba c = Motif((x + 0.5) / size, (y + 0.5) / size);
            uint8_t* line = pixels.data() + static_cast<size_t>(row) * colourRow;
            if (bits == 32) {
                line[4 * x] = c.b, line[4 * x + 1] = c.g, line[4 * x + 2] = c.r, line[4 * x + 3] = c.a;
            } else if (c.a) {
                const uint8_t index = Nearest(c);
                line[x / 2] |= static_cast<uint8_t>(x % 2 ? index : index << 4);
            }
            if (!c.a) mask[static_cast<size_t>(row) * maskRow + x / 8] |= static_cast<uint8_t>(0x80 >> (x % 8));
        }
    }
    std::vector<uint8_t> out;
    Put32(out, 40);
    Put32(out, static_cast<uint32_t>(size));
    Put32(out, static_cast<uint32_t>(2 * size));
    Put16(out, 1);
    Put16(out, static_cast<uint32_t>(bits));
    Put32(out, 0);
    Put32(out, static_cast<uint32_t>(pixels.size() + mask.size()));
    for (int i = 0; i < 4; ++i) Put32(out, 0);
    if (bits == 4)
        for (const Rgba& c : kPalette) out.insert(out.end(), {c.b, c.g, c.r, 0});
    out.insert(out.end(), pixels.begin(), pixels.end());
    out.insert(out.end(), mask.begin(), mask.end());
    return out;
}

}  // namespace

std::vector<uint8_t> ProgramIcon() {
    struct Entry {
        int size, bits;
    };
    const Entry entries[] = {{32, 32}, {16, 32}, {48, 32}, {24, 32}, {32, 4}, {16, 4}, {48, 4}, {24, 4}};
    std::vector<std::vector<uint8_t>> images;
    for (const Entry& e : entries) images.push_back(IconImage(e.size, e.bits));
    std::vector<uint8_t> file;
    Put16(file, 0);
    Put16(file, 1);
    Put16(file, static_cast<uint32_t>(images.size()));
    uint32_t offset = 6 + 16 * static_cast<uint32_t>(images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        file.push_back(static_cast<uint8_t>(entries[i].size));
        file.push_back(static_cast<uint8_t>(entries[i].size));
        file.push_back(entries[i].bits == 4 ? 16 : 0);
        file.push_back(0);
        Put16(file, 1);
        Put16(file, static_cast<uint32_t>(entries[i].bits));
        Put32(file, static_cast<uint32_t>(images[i].size()));
        Put32(file, offset);
        offset += static_cast<uint32_t>(images[i].size());
    }
    for (const auto& image : images) file.insert(file.end(), image.begin(), image.end());
    return file;
}

}  // namespace ruvelto::image_data
