#include "forms/form_window_look.h"


#include <cmath>
#include <cstring>

#include "forms/gdi_values.h"
#include "runtime/sound_playback.h"

namespace ruvelto::forms {
namespace {

uint16_t Half(const uint8_t* p) { return uint16_t(p[0] | p[1] << 8); }
uint32_t Word(const uint8_t* p) { return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24; }

using Points = std::vector<POINT>;
constexpr int kSide = 32767;

Points Regular(int corners, double startDegrees, bool star) {
    Points points;
    const double pi = 3.14159265358979323846;
    int n = star ? corners * 2 : corners;
    for (int i = 0; i < n; ++i) {
        double r = star && (i % 2) ? 0.382 : 1.0;
        double a = (startDegrees + 360.0 * i / n) * pi / 180.0;
        points.push_back({LONG(std::lround(16383 + 16383 * r * std::cos(a))),
                          LONG(std::lround(16383 + 16383 * r * std::sin(a)))});
    }
    return points;
}

Points Mirror(Points points, bool horizontal) {
    for (POINT& p : points) (horizontal ? p.x : p.y) = kSide - (horizontal ? p.x : p.y);
    return points;
}

// The point lists of shapes 4-29 in a 0-32767 square.
Points ShapePoints(uint32_t shape) {
    const Points leftArrow = {{32767, 8191}, {32767, 24576}, {8191, 24576}, {8191, 32767},
                              {0, 16383},    {8191, 0},      {8191, 8191}};
    const Points upArrow = {{16383, 0}, {32767, 16383}, {24576, 16383}, {24576, 32767},
                            {8191, 32767}, {8191, 16383}, {0, 16383}};
    const Points rightChevron = {{0, 0}, {16383, 0}, {32767, 16383}, {16383, 32767}, {0, 32767}, {16383, 16383}};
    switch (shape) {
        case 4: return {{16383, 0}, {32767, 32767}, {0, 32767}};
        case 5: return {{0, 0}, {32767, 0}, {16383, 32767}};
        case 6: return {{32767, 0}, {32767, 32767}, {0, 16383}};
        case 7: return {{0, 0}, {32767, 16383}, {0, 32767}};
        case 8: return {{0, 0}, {32767, 32767}, {0, 32767}};
        case 9: return {{32767, 0}, {32767, 32767}, {0, 32767}};
        case 10: return {{8191, 0}, {32767, 0}, {24576, 32767}, {0, 32767}};
        case 11: return {{8191, 0}, {24576, 0}, {32767, 32767}, {0, 32767}};
        case 12: return {{16383, 0}, {32767, 16383}, {16383, 32767}, {0, 16383}};
        case 13: return Regular(5, -90, true);
        case 14: return Regular(5, -90, false);
        case 15: return Regular(6, 0, false);
        case 16: return Regular(8, 22.5, false);
        case 17: return {{10922, 0},     {21845, 0},     {21845, 10922}, {32767, 10922}, {32767, 21845}, {21845, 21845},
                         {21845, 32767}, {10922, 32767}, {10922, 21845}, {0, 21845},     {0, 10922},     {10922, 10922}};
        case 18: return upArrow;
        case 19: return Mirror(upArrow, false);
        case 20: return leftArrow;
        case 21: return Mirror(leftArrow, true);
        case 22: return rightChevron;
        case 23: return Mirror(rightChevron, true);
        case 24: return {{0, 0}, {24576, 0}, {32767, 16383}, {24576, 32767}, {0, 32767}};
        case 25: return Mirror({{0, 0}, {24576, 0}, {32767, 16383}, {24576, 32767}, {0, 32767}}, true);
        case 26: return Regular(6, -90, true);
        case 27: return Regular(8, -90, true);
        case 28: return Regular(10, 0, false);
        case 29: return {{8191, 0}, {24576, 0}, {32767, 8191}, {32767, 24576}, {24576, 32767}, {8191, 32767},
                         {0, 24576}, {0, 8191}};
        default: return {};
    }
}

}  // namespace

HICON IconFromIconFile(const std::vector<uint8_t>& bytes, int size) {
    const uint8_t* data = bytes.data();
    const size_t length = bytes.size();
    if (length < 6 || Half(data) != 0 || Half(data + 2) != 1) return nullptr;
    uint32_t count = Half(data + 4);
    if (count == 0 || 6 + 16ull * count > length) return nullptr;
    int chosen = -1;
    for (uint32_t i = 0; i < count; ++i) {
        const uint8_t* entry = data + 6 + 16 * i;
        int width = entry[0] ? entry[0] : 256;
        uint32_t colours = entry[2] ? entry[2] : Half(entry + 6) ? (Half(entry + 6) >= 24 ? 1u << 24 : 1u << Half(entry + 6)) : 256;
        if (width == size && colours > 15) {
            chosen = static_cast<int>(i);
            break;
        }
    }
    if (chosen < 0) chosen = static_cast<int>(count - 1);
    const uint8_t* entry = data + 6 + 16 * chosen;
    uint32_t imageSize = Word(entry + 8), offset = Word(entry + 12);
    if (imageSize == 0 || offset > length || imageSize > length - offset) return nullptr;
    int width = entry[0] ? entry[0] : 256, height = entry[1] ? entry[1] : 256;
    return CreateIconFromResourceEx(const_cast<uint8_t*>(data + offset), imageSize, TRUE, 0x00030000, width, height, 0);
}

HRGN MakeWindowShape(uint32_t shape, int width, int height) {
    switch (shape) {
        case 0: return nullptr;
        case 1: return CreateEllipticRgn(0, 0, width, height);
        case 2: {
            int corner = std::min(width / 5, height / 5);
            return CreateRoundRectRgn(0, 0, width, height, corner, corner);
        }
        case 3: {
            HRGN outer = CreateEllipticRgn(0, 0, width, height);
            HRGN inner = CreateEllipticRgn(width / 4, height / 4, width - width / 4, height - height / 4);
            CombineRgn(outer, outer, inner, RGN_DIFF);
            DeleteObject(inner);
            return outer;
        }
        default: break;
    }
    Points points = ShapePoints(shape);
    if (points.empty()) return nullptr;
    for (POINT& p : points) p.x = MulDiv(p.x, width, kSide), p.y = MulDiv(p.y, height, kSide);
    return CreatePolygonRgn(points.data(), static_cast<int>(points.size()), WINDING);
}

void PaintBackground(HDC dc, const RECT& client, const RECT& dirty, const components::PictureDrawable* picture,
                     uint32_t mode, uint32_t backColor) {
    HBRUSH back = CreateSolidBrush(ResolveColor(backColor));
    if (!picture || picture->width <= 0 || picture->height <= 0) {
        FillRect(dc, &dirty, back);
        DeleteObject(back);
        return;
    }
    const int cw = client.right - client.left, ch = client.bottom - client.top;
    const int pw = picture->width, ph = picture->height;
    if (picture->icon) FillRect(dc, &dirty, back);  // icons draw with transparent parts
    RECT covered{0, 0, 0, 0};
    switch (mode) {
        case 1:  // tiled
            for (int y = 0; y < ch; y += ph)
                for (int x = 0; x < cw; x += pw) components::DrawPicture(dc, *picture, x, y, -1, -1);
            covered = client;
            break;
        case 2: {  // centred, shrunk to fit when larger
            const components::PictureRect r = components::FitCentred(cw, ch, pw, ph);
            components::DrawPicture(dc, *picture, r.x, r.y, r.width, r.height);
            covered = {r.x, r.y, r.x + r.width, r.y + r.height};
            break;
        }
        case 3:  // stretched
            components::DrawPicture(dc, *picture, 0, 0, cw, ch);
            covered = client;
            break;
        default:  // top-left, natural size
            components::DrawPicture(dc, *picture, 0, 0, -1, -1);
            covered = {0, 0, pw, ph};
            break;
    }
    // Fill what the picture left uncovered.
    HRGN rest = CreateRectRgnIndirect(&dirty);
    HRGN picturePart = CreateRectRgnIndirect(&covered);
    CombineRgn(rest, rest, picturePart, RGN_DIFF);
    FillRgn(dc, rest, back);
    DeleteObject(picturePart);
    DeleteObject(rest);
    DeleteObject(back);
}

namespace {
uint32_t backgroundSound = 0;  // the runtime's playback number of the sound a window started
}

void PlayBackgroundSound(const std::vector<uint8_t>& sound, bool loop) {
    StopBackgroundSound();
    if (!sound.empty()) backgroundSound = runtime::PlaySoundData(sound.data(), static_cast<uint32_t>(sound.size()), loop);
}

void StopBackgroundSound() {
    if (backgroundSound) runtime::StopSoundPlayback(backgroundSound);
    backgroundSound = 0;
}

}  // namespace ruvelto::forms
