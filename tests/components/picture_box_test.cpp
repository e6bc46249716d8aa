// PicBox as a person sees it: where each display mode puts a picture, DisplayMode clamping, GIF
// frames and their delays on screen, and boxes destroyed in the middle of an animation.
#include <gtest/gtest.h>

#include <windows.h>
#include <tlhelp32.h>
#include <winternl.h>
#include <ntgdi.h>

#include <algorithm>
#include <string>
#include <vector>

#include "components/gif_animation.h"
#include "forms/window_loading.h"
#include "tests/components/components_fixture.h"
#include "tests/components/picture_fixtures.h"

namespace ruvelto::components_test {
namespace {

using namespace image_data;

constexpr uint32_t kGreen = 0x00FF00, kRed = 0x0000FF, kBlue = 0xFF0000;

ComponentDescription Box(const std::string& name, const PicBoxProperties& p, int x, int y, int w, int h) {
    return Component(type_code::kPicBox, name).At(x, y, w, h).Flags(kVisible).Properties(PicBoxBlob(p));
}

PicBoxProperties Showing(std::vector<uint8_t> picture, uint32_t mode) {
    PicBoxProperties p;
    p.backColor = kGreen;
    p.picture = std::move(picture);
    p.displayMode = mode;
    return p;
}

int ThreadCount() {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    THREADENTRY32 entry{};
    entry.dwSize = sizeof entry;
    int count = 0;
    for (BOOL more = Thread32First(snapshot, &entry); more; more = Thread32Next(snapshot, &entry))
        count += entry.th32OwnerProcessID == GetCurrentProcessId();
    CloseHandle(snapshot);
    return count;
}

// The drawing objects this process holds, from the system's table of GDI handles (GetGuiResources
// answers 0 here).
int GdiObjectCount() {
    const auto* table = static_cast<const GDI_SHARED_MEMORY*>(NtCurrentTeb()->Peb->GdiSharedHandleTable);
    if (!table) return -1;
    int count = 0;
    for (const GDI_HANDLE_ENTRY& entry : table->Handles)
        count += entry.Type != 0 && !entry.StockFlag;
    return count;
}

class PicBoxTest : public ComponentsTest {};

TEST_F(PicBoxTest, ModeTwoCentresSmallPicturesAndShrinksLargeOnes) {
    Show(TestWindow({Box("small", Showing(SolidBmp(100, 50, kRed), 2), 0, 0, 300, 200),
                     Box("wide", Showing(SolidBmp(600, 100, kRed), 2), 310, 0, 300, 200)},
                    640, 420));
    HWND narrow = Unit("small"), wide = Unit("wide");
    // 100 x 50 in 300 x 200: unscaled at (100, 75).
    EXPECT_EQ(PixelAt(narrow, 100, 75), kRed);
    EXPECT_EQ(PixelAt(narrow, 199, 124), kRed);
    EXPECT_EQ(PixelAt(narrow, 99, 75), kGreen);
    EXPECT_EQ(PixelAt(narrow, 200, 124), kGreen);
    EXPECT_EQ(PixelAt(narrow, 100, 125), kGreen);
    // 600 x 100: 300 x 50 at (0, 75).
    EXPECT_EQ(PixelAt(wide, 0, 75), kRed);
    EXPECT_EQ(PixelAt(wide, 299, 124), kRed);
    EXPECT_EQ(PixelAt(wide, 0, 74), kGreen);
    EXPECT_EQ(PixelAt(wide, 150, 125), kGreen);

    // Natural size at the top-left corner, then stretched over the whole box.
    Write("small", 11, 0);
    EXPECT_EQ(PixelAt(narrow, 0, 0), kRed);
    EXPECT_EQ(PixelAt(narrow, 100, 0), kGreen);
    Write("small", 11, 1);
    EXPECT_EQ(PixelAt(narrow, 299, 199), kRed);

    Write("small", 11, 5);
    EXPECT_EQ(Read("small", 11), 2u) << "DisplayMode above 2 is stored as 2";
    EXPECT_EQ(PixelAt(narrow, 100, 75), kRed);

    WriteBytes("small", 10, {1, 2, 3, 4, 5});  // five bytes are no picture: the background shows
    EXPECT_EQ(PixelAt(narrow, 150, 100), kGreen);
}

// Samples the box's centre for a while and returns how long each colour stayed, run by run.
std::string lastColours;

std::vector<DWORD> RunsOf(HWND box, COLORREF color, DWORD milliseconds) {
    std::vector<DWORD> runs;
    lastColours.clear();
    COLORREF previous = CLR_INVALID;
    const DWORD start = GetTickCount();
    DWORD since = 0;
    bool inside = false, seenOther = false;
    while (GetTickCount() - start < milliseconds) {
        HDC dc = GetDC(box);
        const COLORREF seen = GetPixel(dc, 50, 25);
        const bool now = seen == color;
        ReleaseDC(box, dc);
        if (seen != previous && lastColours.size() < 200) lastColours += std::to_string(seen) + " ";
        previous = seen;
        const DWORD t = GetTickCount();
        if (now && !inside) since = t;
        if (!now && inside && seenOther) runs.push_back(t - since);  // only whole runs count
        if (!now) seenOther = true;
        inside = now;
        Sleep(1);
    }
    std::sort(runs.begin(), runs.end());
    return runs;
}

TEST_F(PicBoxTest, GifFramesAnimateAndADelayOfZeroShowsFiftyMilliseconds) {
    // Four red frames of delay 0 (200 ms together at 50 ms each), then blue for 200 ms: sampling
    // a busy screen cannot tell a single 50 ms frame apart reliably, four in a row it can.
    Show(TestWindow({Box("gif", Showing(RedBlueGif(0, 20, 4), 1), 10, 10, 100, 50)}));
    HWND box = Unit("gif");
    const std::vector<DWORD> red = RunsOf(box, kRed, 2000);
    const std::vector<DWORD> blue = RunsOf(box, kBlue, 2000);
    ASSERT_GE(red.size(), 3u) << "the red frames keep coming back; seen: " << lastColours;
    ASSERT_GE(blue.size(), 3u);
    const DWORD redMedian = red[red.size() / 2], blueMedian = blue[blue.size() / 2];
    // Red lasts as long as blue, give or take the 10 ms steps and the scheduler of a busy machine
    // (which stretches both alike); a delay of 0 taken as no time, as 10 ms or as 100 ms would
    // give red about 0, 0.2 or 2 times as long as blue.
    EXPECT_GE(redMedian, 140u);
    EXPECT_GE(blueMedian, 140u);
    const double ratio = double(redMedian) / double(blueMedian);
    EXPECT_GT(ratio, 0.6) << redMedian << " ms red, " << blueMedian << " ms blue";
    EXPECT_LT(ratio, 1.5) << redMedian << " ms red, " << blueMedian << " ms blue";

    Write("gif", 12, 0);  // Animate off: the first frame stands still
    Pump(100);
    EXPECT_EQ(PixelAt(box, 50, 25), kRed);
    EXPECT_EQ(RunsOf(box, kBlue, 300).size(), 0u);
}

TEST_F(PicBoxTest, BoxesDestroyedMidAnimationLeaveNoThreadOrDrawingObject) {
    Show(TestWindow({Box("gif", Showing(RedBlueGif(1, 1), 1), 10, 10, 100, 50)}));
    forms::DestroyUnit(kWindow, 0, true);
    Pump(60);
    const int threads = ThreadCount();
    const int gdiObjects = GdiObjectCount();
    ASSERT_GT(gdiObjects, 0);
    for (int i = 0; i < 100; ++i) {
        ASSERT_TRUE(Load(kWindow)) << i;
        Pump(i % 7);  // somewhere in the first frames
        forms::DestroyUnit(kWindow, i % 2 ? Id("gif") : 0, true);
        if (i % 2) forms::DestroyUnit(kWindow, 0, true);
    }
    Pump(60);
    EXPECT_EQ(ThreadCount(), threads);
    EXPECT_LE(GdiObjectCount(), gdiObjects + 2);
}

HANDLE WINAPI NoThread(LPSECURITY_ATTRIBUTES, SIZE_T, LPTHREAD_START_ROUTINE, LPVOID, DWORD, LPDWORD) {
    SetLastError(ERROR_NOT_ENOUGH_MEMORY);
    return nullptr;
}

// A GIF whose animation thread cannot start is still shown: its first frame, standing still.
TEST_F(PicBoxTest, GifWhoseThreadCannotStartShowsItsFirstFrame) {
    components::SetGifThreadStarterForTesting(&NoThread);
    Show(TestWindow({Box("gif", Showing(RedBlueGif(1, 1), 1), 10, 10, 100, 50)}));
    components::SetGifThreadStarterForTesting(nullptr);
    Pump(50);
    HWND box = Unit("gif");
    EXPECT_EQ(PixelAt(box, 50, 25), kRed);
    EXPECT_EQ(RunsOf(box, kBlue, 300).size(), 0u) << "no animation";
}

}  // namespace
}  // namespace ruvelto::components_test
