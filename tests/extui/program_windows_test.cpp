// The program's main and about windows as their descriptions build them (the directory tree
// left out, handlers unbound), captured for a person to look at (build/wine/artifacts/
// main_window.bmp and about_window.bmp): the main window's tiled background picture and the
// about window's banner show the pictures the builder carries.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "components/picture_decoder.h"
#include "image-data/windows/program_windows.h"
#include "image-data/windows/window_pictures.h"
#include "tests/extui/extui_fixture.h"

namespace ruvelto::extui_test {
namespace {

using namespace image_data;

// The window under the test's window id, without the types this test has no library for and
// without handlers.
WindowDescription Loadable(WindowDescription w) {
    w.windowId = components_test::kWindow;
    std::erase_if(w.components, [](const ComponentDescription& c) { return c.typeCode == type_code::kDirTree; });
    for (ComponentDescription& c : w.components) c.events.clear();
    for (MenuItemDescription& m : w.menu) m.handler = HandlerRef::None();
    return w;
}

// The colour of a picture's pixel (x, y from the top), decoded by the picture decoder.
COLORREF PicturePixel(const std::vector<uint8_t>& bytes, int x, int y) {
    components::PicturePixels p;
    if (!components::DecodePicturePixels(bytes.data(), bytes.size(), &p)) return CLR_INVALID;
    const uint8_t* bgr = p.pixels + (size_t(p.height - 1 - y) * size_t(p.width) + size_t(x)) * 3;
    const COLORREF c = RGB(bgr[2], bgr[1], bgr[0]);
    std::free(p.pixels);
    return c;
}

bool Near(COLORREF a, COLORREF b) {
    return std::abs(GetRValue(a) - GetRValue(b)) <= 4 && std::abs(GetGValue(a) - GetGValue(b)) <= 4 &&
           std::abs(GetBValue(a) - GetBValue(b)) <= 4;
}

std::string Artifact(const char* name) {
    const std::string folder = std::string(RUVELTO_BINARY_DIR) + "/artifacts";
    CreateDirectoryA(("Z:" + folder).c_str(), nullptr);
    return folder + "/" + name;
}

class ProgramWindowsTest : public ExtendedTest {};

TEST_F(ProgramWindowsTest, MainWindowShowsItsTiledBackground) {
    ASSERT_TRUE(ShowExtended(Loadable(MainWindow())));
    HWND window = WindowHandle(components_test::kWindow);
    Pump(300);
    EXPECT_TRUE(forms_test::SaveWindowPicture(window, Artifact("main_window.bmp")));
    const std::vector<uint8_t> tile = MainWindowBackground();
    // Spots no component covers; the picture repeats every 360 x 300 pixels.
    for (POINT p : {POINT{2, 2}, POINT{199, 110}, POINT{365, 105}}) {
        const COLORREF expected = PicturePixel(tile, p.x % 360, p.y % 300);
        EXPECT_TRUE(Near(PixelAt(window, p.x, p.y), expected)) << p.x << ", " << p.y;
    }
}

TEST_F(ProgramWindowsTest, AboutWindowShowsItsBanner) {
    ASSERT_TRUE(ShowExtended(Loadable(AboutWindow())));
    HWND window = WindowHandle(components_test::kWindow);
    Pump(300);
    EXPECT_TRUE(forms_test::SaveWindowPicture(window, Artifact("about_window.bmp")));
    HWND banner = UnitHandle(components_test::kWindow, "\xCD\xBC\xC6\xAC\xBF\xF2" "1");  // 图片框1
    const std::vector<uint8_t> jpeg = AboutWindowPicture();
    for (POINT p : {POINT{300, 20}, POINT{200, 150}, POINT{360, 110}}) {
        EXPECT_TRUE(Near(PixelAt(banner, p.x, p.y), PicturePixel(jpeg, p.x, p.y))) << p.x << ", " << p.y;
    }
}

}  // namespace
}  // namespace ruvelto::extui_test
