// A window with a menu, a tiled background picture and a few components, loaded from a builder
// template and captured from the screen into build/.../forms_screenshot.bmp for a person to look
// at. The test itself checks what can be checked by pixels: the picture is tiled behind the
// components and the menu bar is there.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "forms/window_properties.h"
#include "tests/forms/forms_fixture.h"
#include "tests/forms/test_components.h"

namespace ruvelto::forms_test {
namespace {

using namespace image_data;
constexpr uint32_t kMain = 0x52010001;

// A 24-bit BMP file of a 40 x 40 tile: blue-to-white diagonal stripes.
std::vector<uint8_t> TileBitmap() {
    const int size = 40, stride = size * 3;
    std::vector<uint8_t> file(54 + stride * size);
    auto put = [&file](size_t at, uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) file[at + i] = uint8_t(v >> (8 * i));
    };
    file[0] = 'B', file[1] = 'M';
    put(2, static_cast<uint32_t>(file.size()), 4);
    put(10, 54, 4);
    put(14, 40, 4);
    put(18, size, 4);
    put(22, size, 4);
    put(26, 1, 2);
    put(28, 24, 2);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            uint8_t* p = &file[54 + y * stride + x * 3];
            bool stripe = ((x + y) / 10) % 2 == 0;
            p[0] = 230, p[1] = stripe ? 200 : 240, p[2] = stripe ? 170 : 240;  // B, G, R
        }
    return file;
}

class ScreenshotTest : public FormsTest {};

TEST_F(ScreenshotTest, WindowWithMenuTiledBackgroundAndComponents) {
    WindowDescription w;
    w.windowId = kMain;
    forms::WindowProperties p;
    p.caption = "Ruvelto \xB4\xB0\xBF\xDA";  // 窗口
    p.position = 0;
    p.minButton = true;
    p.picture = TileBitmap();
    p.pictureMode = 1;
    w.window.At(60, 60, 420, 300).Flags(kVisible).Properties(p.Save());
    MenuItemDescription save = MenuItem("\xB1\xA3\xB4\xE6(&S)", 1);  // 保存(&S)
    save.shortcut = 19;
    w.menu = {MenuItem("\xCE\xC4\xBC\xFE(&F)", 0), save, MenuItem("-", 1), MenuItem("\xCD\xCB\xB3\xF6", 1),
              MenuItem("\xB0\xEF\xD6\xFA(&H)", 0), MenuItem("\xB9\xD8\xD3\xDA", 1)};  // 文件 保存 退出 帮助 关于
    w.components = {
        Component(type_code::kLabel, "label").At(20, 20, 120, 20).Flags(kVisible).Properties(CaptionBlob("\xCE\xC4\xBC\xFE\xC3\xFB:")),
        Component(type_code::kEditBox, "edit").At(140, 18, 240, 24).Flags(kVisible | kTabStop)
            .Properties(EditBlob("picture.jpg")),
        Component(type_code::kCheckBox, "check").At(20, 60, 160, 22).Flags(kVisible | kTabStop)
            .Properties(CaptionBlob("\xB8\xC4\xB1\xE4\xB3\xDF\xB4\xE7(&R)")),  // 改变尺寸(&R)
        Component(type_code::kRadioBox, "radio1").At(20, 90, 100, 22).Flags(kVisible | kTabStop).Properties(CaptionBlob("JPG")),
        Component(type_code::kRadioBox, "radio2").At(130, 90, 100, 22).Flags(kVisible | kTabStop).Properties(CaptionBlob("PNG")),
        Component(type_code::kButton, "start").At(260, 200, 120, 30).Flags(kVisible | kTabStop)
            .Properties(CaptionBlob("\xBF\xAA\xCA\xBC(&G)", 1)),  // 开始(&G)
    };
    Start({w});
    ASSERT_TRUE(Load(kMain));
    HWND window = WindowHandle(kMain);
    Activate(window, UnitHandle(kMain, "edit"));
    UpdateWindow(window);
    Pump(300);

    ASSERT_NE(GetMenu(window), nullptr);
    // The tile shows at the client's top-left corner and again one tile further on.
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    HDC screen = GetDC(nullptr);
    COLORREF corner = GetPixel(screen, origin.x + 2, origin.y + 2);
    COLORREF repeated = GetPixel(screen, origin.x + 42, origin.y + 42);
    COLORREF bottom = GetPixel(screen, origin.x + 402, origin.y + 202);
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(corner, RGB(240, 240, 230));  // the tile is bottom-up: its top rows start light
    EXPECT_EQ(repeated, corner);
    EXPECT_EQ(bottom, corner);
    EXPECT_TRUE(SaveWindowPicture(window, std::string(RUVELTO_BINARY_DIR) + "/forms_screenshot.bmp"));
}

}  // namespace
}  // namespace ruvelto::forms_test
