// The window's background picture goes through the program's own picture decoder: formats it
// refuses leave the background colour, PCX pictures show, and a centred picture's shrunk size is
// truncated.
#include <gtest/gtest.h>

#include "forms/property_access.h"
#include "forms/window_properties.h"
#include "tests/forms/forms_fixture.h"
#include "runtime/address_word.h"

namespace ruvelto::forms_test {
namespace {

constexpr uint32_t kWindow = 0x52010001;
constexpr COLORREF kBack = 0x00FF00;

void Put16(std::vector<uint8_t>& v, uint32_t x) { v.push_back(uint8_t(x)), v.push_back(uint8_t(x >> 8)); }
void Put32(std::vector<uint8_t>& v, uint32_t x) { for (int i = 0; i < 4; ++i) v.push_back(uint8_t(x >> (8 * i))); }

// A red BMP; with `rle`, 8-bit RLE-compressed (a format the picture decoder refuses).
std::vector<uint8_t> RedBmp(int width, int height, bool rle) {
    const uint32_t row = (uint32_t(width) * 3 + 3) & ~3u;
    std::vector<uint8_t> v = {'B', 'M'};
    Put32(v, 0), Put32(v, 0), Put32(v, rle ? 54 + 8 : 54);
    Put32(v, 40), Put32(v, uint32_t(width)), Put32(v, uint32_t(height));
    Put16(v, 1), Put16(v, rle ? 8 : 24), Put32(v, rle ? 1 : 0);
    for (int i = 0; i < 3; ++i) Put32(v, 0);
    Put32(v, rle ? 2 : 0), Put32(v, 0);
    if (rle) {
        Put32(v, 0x000000), Put32(v, 0xFF0000);  // palette: black, red
        for (int y = 0; y < height; ++y) v.insert(v.end(), {uint8_t(width), 1, 0, 0});
        v.insert(v.end(), {0, 1});
        return v;
    }
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) v.insert(v.end(), {0, 0, 255});
        v.resize(v.size() + row - uint32_t(width) * 3, 0);
    }
    return v;
}

// A 256-colour PCX, 8 x 8 pixels of palette entry 5, which is blue.
std::vector<uint8_t> BluePcx() {
    std::vector<uint8_t> v(128, 0);
    v[0] = 10, v[1] = 5, v[2] = 1, v[3] = 8, v[8] = 7, v[10] = 7, v[65] = 1, v[66] = 8;
    for (int y = 0; y < 8; ++y) v.insert(v.end(), {0xC8, 5});
    v.push_back(12);
    for (int i = 0; i < 256; ++i) v.insert(v.end(), {0, 0, uint8_t(i == 5 ? 255 : 0)});
    return v;
}

class WindowBackgroundTest : public FormsTest {
protected:
    HWND ShowWith(std::vector<uint8_t> picture, uint32_t mode) {
        image_data::WindowDescription w = TestWindow(kWindow, "Background", 360, 240);
        forms::WindowProperties p;
        p.position = 0;
        p.backColor = kBack;
        p.picture = std::move(picture);
        p.pictureMode = mode;
        w.window.Properties(p.Save());
        Start({w});
        EXPECT_TRUE(Load(kWindow));
        return WindowHandle(kWindow);
    }
};

COLORREF PixelAt(HWND window, int x, int y) {
    UpdateWindow(window);
    HDC dc = GetDC(window);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return c;
}

TEST_F(WindowBackgroundTest, PcxPictureShows) {
    HWND window = ShowWith(BluePcx(), 0);
    EXPECT_EQ(PixelAt(window, 0, 0), 0xFF0000u);
    EXPECT_EQ(PixelAt(window, 7, 7), 0xFF0000u);
    EXPECT_EQ(PixelAt(window, 8, 8), kBack);
}

TEST_F(WindowBackgroundTest, RleBmpLeavesTheBackgroundColour) {
    HWND window = ShowWith(RedBmp(8, 8, true), 0);
    EXPECT_EQ(PixelAt(window, 2, 2), kBack);
}

TEST_F(WindowBackgroundTest, CentredPictureSizeIsTruncated) {
    // Three client widths plus one by three client heights: shrunk by W / (3W + 1), the height
    // comes to just under H, and truncation leaves the last row to the background colour.
    HWND window = ShowWith({}, 2);
    RECT client{};
    GetClientRect(window, &client);
    const int W = client.right, H = client.bottom;
    // Written as a handler writes it: a byte set block (dimension count, size, bytes).
    const std::vector<uint8_t> picture = RedBmp(3 * W + 1, 3 * H, false);
    std::vector<uint8_t> block(8, 0);
    block[0] = 1;
    for (int i = 0; i < 4; ++i) block[4 + i] = uint8_t(picture.size() >> (8 * i));
    block.insert(block.end(), picture.begin(), picture.end());
    forms::WriteProperty(kWindow, OwnIdOf(kWindow), forms::kPicture, -1,
                         AddressWord(block.data()), 0);
    EXPECT_EQ(PixelAt(window, W / 2, H - 2), 0x0000FFu);
    EXPECT_EQ(PixelAt(window, W / 2, H - 1), kBack) << "the shrunk height is truncated, not rounded";
}

}  // namespace
}  // namespace ruvelto::forms_test
