// How long ruvelto.exe takes to show a large JPEG in its preview panel, from the click on its row
// to the picture on screen. Two 6000 x 4000 photos, one dark and one light, are listed; their
// rows are clicked in turn and the panel's middle is read from the screen until it turns to the
// clicked photo's brightness. Prints each time, the median and the slowest.
//   preview_run.exe [clicks]   (10)
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "tests/app/e2e/picture_files.h"
#include "tests/app/e2e/clock.h"
#include "tests/app/e2e/ruvelto_driver.h"

namespace ruvelto::testing {
namespace {


// The brightness (0-255) of the panel's middle as the screen shows it.
int PanelBrightness(HWND panel) {
    RECT r;
    GetClientRect(panel, &r);
    POINT middle{r.right / 2, r.bottom / 2};
    ClientToScreen(panel, &middle);
    // Read through a copy of the screen: the panel belongs to another process.
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, 1, 1);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, 1, 1, screen, middle.x, middle.y, SRCCOPY);
    const COLORREF c = GetPixel(memory, 0, 0);
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    if (c == CLR_INVALID) return -1;
    return (GetRValue(c) + GetGValue(c) + GetBValue(c)) / 3;
}

int Main(int clicks) {
    ScratchFolder folder("preview");
    folder.MakeFolder("src");
    std::printf("making two 6000 x 4000 JPEGs (quality 90)\n");
    // Photo-like: a plasma with grain, one darkened and one lightened, so that the panel tells
    // which is shown. Names sort the dark one first.
    const std::string base = "-size 1500x1000 plasma:fractal -seed 1 -resize 6000x4000! -attenuate 0.4 +noise Gaussian ";
    if (!Convert(base + "-fill black -colorize 70% -quality 90 " + folder.Unix("src/a-dark.jpg")) ||
        !Convert(base + "-fill white -colorize 70% -quality 90 " + folder.Unix("src/b-light.jpg")))
        return std::printf("could not make the pictures\n"), 2;

    RuveltoDriver program;
    if (!program.Start()) return std::printf("ruvelto.exe did not start\n"), 2;
    if (!program.SelectFolder(folder.Windows("src")) ||
        !RuveltoDriver::WaitFor([&] { return program.RowCount() == 2; }, 60000))
        return std::printf("could not list the pictures\n"), 2;
    const int darkRow = program.RowText(0).find("dark") != std::string::npos ? 0 : 1;
    HWND panel = program.Control(controls::kPreviewPanel);
    if (!panel) return std::printf("no preview panel\n"), 2;

    std::vector<double> times;
    int missed = 0;
    for (int i = 0; i < clicks; ++i) {
        const bool dark = i % 2 == 0;
        const double start = MillisecondsNow();
        program.ClickRow(dark ? darkRow : 1 - darkRow);
        const bool shown = RuveltoDriver::WaitFor(
            [&] {
                const int b = PanelBrightness(panel);
                return dark ? b >= 0 && b < 100 : b > 160;
            },
            10000);
        const double took = MillisecondsNow() - start;
        if (!shown) ++missed;
        times.push_back(took);
        std::printf("click %2d (%s): %.0f ms%s\n", i + 1, dark ? "dark" : "light", took, shown ? "" : " (not shown)");
        if (!shown) std::printf("  panel %p brightness %d\n", static_cast<void*>(panel), PanelBrightness(panel));
        Sleep(300);
    }
    std::sort(times.begin(), times.end());
    std::printf("preview of a 6000 x 4000 JPEG: median %.0f ms, slowest %.0f ms, %d of %d not shown\n",
                times[times.size() / 2], times.back(), missed, clicks);
    PostMessageA(program.MainWindow(), WM_CLOSE, 0, 0);
    program.WaitForExit(30000);
    return missed == 0 ? 0 : 1;
}

}  // namespace
}  // namespace ruvelto::testing

int main(int argc, char** argv) { return ruvelto::testing::Main(argc > 1 ? std::max(2, std::atoi(argv[1])) : 10); }
