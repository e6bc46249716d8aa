// ProcessBar, SliderBar and HScrollBar as real controls: ranges used the other way round,
// clamped writes, the slider's sizes and keyboard steps, and the scroll bar's arrows and thumb.
#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>

#include "tests/components/components_fixture.h"

namespace ruvelto::components_test {
namespace {

using namespace image_data;
using forms_test::PressKey;

class BarsTest : public ComponentsTest {};

TEST_F(BarsTest, ProcessBarRangeTheOtherWayRoundAndClampedWrites) {
    ProcessBarProperties p;
    p.minimum = 100, p.maximum = 0, p.position = 50;
    Show(TestWindow({Component(type_code::kProcessBar, "bar").At(10, 10, 300, 20).Flags(kVisible).Properties(ProcessBarBlob(p))}));
    HWND bar = Unit("bar");
    PBRANGE range{};
    SendMessageA(bar, PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    EXPECT_EQ(range.iLow, 0);
    EXPECT_EQ(range.iHigh, 100);
    EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), 0) << "the clamp uses the stored maximum";
    EXPECT_EQ(Read("bar", 13), 50u);

    Write("bar", 12, 200);  // Maximum
    Write("bar", 11, static_cast<uint32_t>(-5));  // Minimum
    Write("bar", 13, 40000);  // Position
    EXPECT_EQ(Read("bar", 11), 0u);
    EXPECT_EQ(Read("bar", 13), 32767u);
    EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), 200);

    Write("bar", 9, 0);  // the same Vertical: nothing re-created
    EXPECT_EQ(Unit("bar"), bar);
    Write("bar", 9, 1);
    EXPECT_NE(Unit("bar"), bar);
    EXPECT_TRUE(GetWindowLongA(Unit("bar"), GWL_STYLE) & PBS_VERTICAL);
    EXPECT_EQ(SendMessageA(Unit("bar"), PBM_GETPOS, 0, 0), 200) << "the re-created bar keeps its values";
}

TEST_F(BarsTest, SliderSizesFollowTheRangeAndKeysRaiseEventZero) {
    SliderBarProperties p;
    p.minimum = 1, p.maximum = 3, p.pageSize = 5, p.position = 1;
    Show(TestWindow({Component(type_code::kSliderBar, "slider").At(10, 10, 200, 30).Flags(kVisible | kTabStop)
                         .Properties(SliderBarBlob(p)).On(0, RecordEvent0())}));
    HWND slider = Unit("slider");
    EXPECT_EQ(SendMessageA(slider, TBM_GETPAGESIZE, 0, 0), 2);
    Write("slider", 15, 0);
    EXPECT_EQ(Read("slider", 15), 1u) << "page size below 1 becomes 1";
    SetFocus(slider);
    Pump();
    PressKey(VK_RIGHT);
    EXPECT_GE(Count("slider", 0), 1);
    EXPECT_EQ(Read("slider", 19), 2u);
    Write("slider", 19, 40000);
    EXPECT_EQ(Read("slider", 19), 32767u);
    EXPECT_EQ(SendMessageA(slider, TBM_GETPOS, 0, 0), 3);
}

// Writing Minimum or Maximum sends the range and nothing else: a position the control was
// given directly (a DLL call of SendMessageA, say) stays where it is.
TEST_F(BarsTest, RangeWritesSendOnlyTheRange) {
    ProcessBarProperties bar;
    bar.position = 50;
    SliderBarProperties slider;
    slider.minimum = 1, slider.maximum = 10, slider.position = 2, slider.pageSize = 8;
    Show(TestWindow({Component(type_code::kProcessBar, "bar").At(10, 10, 300, 20).Flags(kVisible).Properties(ProcessBarBlob(bar)),
                     Component(type_code::kSliderBar, "slider").At(10, 50, 200, 30).Flags(kVisible).Properties(SliderBarBlob(slider))}));
    SendMessageA(Unit("bar"), PBM_SETPOS, 70, 0);
    Write("bar", 11, 10);  // Minimum
    Write("bar", 12, 90);  // Maximum
    PBRANGE range{};
    SendMessageA(Unit("bar"), PBM_GETRANGE, FALSE, reinterpret_cast<LPARAM>(&range));
    EXPECT_EQ(range.iLow, 10);
    EXPECT_EQ(range.iHigh, 90);
    EXPECT_EQ(SendMessageA(Unit("bar"), PBM_GETPOS, 0, 0), 70);
    EXPECT_EQ(Read("bar", 13), 50u);

    SendMessageA(Unit("slider"), TBM_SETPOS, TRUE, 7);
    Write("slider", 17, 3);  // Minimum
    Write("slider", 18, 9);  // Maximum
    EXPECT_EQ(SendMessageA(Unit("slider"), TBM_GETRANGEMIN, 0, 0), 3);
    EXPECT_EQ(SendMessageA(Unit("slider"), TBM_GETRANGEMAX, 0, 0), 9);
    EXPECT_EQ(SendMessageA(Unit("slider"), TBM_GETPOS, 0, 0), 7);
    EXPECT_EQ(SendMessageA(Unit("slider"), TBM_GETPAGESIZE, 0, 0), 8) << "the sizes are not sent again";
}

TEST_F(BarsTest, ScrollBarArrowsThumbAndTrackEvents) {
    HScrollBarProperties p;
    p.minimum = 1, p.maximum = 100, p.position = 1, p.trackEvents = 0;
    Show(TestWindow({Component(type_code::kHScrollBar, "scroll").At(10, 10, 300, 20).Flags(kVisible)
                         .Properties(HScrollBarBlob(p)).On(0, RecordEvent0())}));
    HWND scroll = Unit("scroll");
    EXPECT_NE(SendMessageA(scroll, 0x8002, 0, 0), 0) << "the scroll bar answers the engine's question";
    const int arrow = GetSystemMetrics(SM_CXHSCROLL);
    ClickAt(scroll, arrow / 2, 10);
    EXPECT_EQ(Count("scroll", 0), 0) << "the left arrow at the minimum changes nothing";
    ClickAt(scroll, 300 - arrow / 2, 10);
    EXPECT_EQ(Count("scroll", 0), 1);
    EXPECT_EQ(Read("scroll", 12), 2u);

    // Without TrackEvents a drag moves the position only when the thumb is released.
    SCROLLBARINFO info{};
    info.cbSize = sizeof info;
    GetScrollBarInfo(scroll, OBJID_CLIENT, &info);
    const int thumb = (info.xyThumbTop + info.xyThumbBottom) / 2;
    seen.clear();
    DragFromTo(scroll, thumb, 10, thumb + 120, 10);
    EXPECT_EQ(Count("scroll", 0), 1);
    EXPECT_GT(Read("scroll", 12), 2u);

    Write("scroll", 13, 1);  // TrackEvents on: every step of a drag counts
    GetScrollBarInfo(scroll, OBJID_CLIENT, &info);
    seen.clear();
    const int from = (info.xyThumbTop + info.xyThumbBottom) / 2;
    DragFromTo(scroll, from, 10, from - 100, 10);
    EXPECT_GT(Count("scroll", 0), 1);

    EnableWindow(scroll, FALSE);
    Write("scroll", 12, 50);
    EXPECT_FALSE(IsWindowEnabled(scroll)) << "setting the position does not enable the bar";
    EXPECT_EQ(GetScrollPos(scroll, SB_CTL), 50);
}

}  // namespace
}  // namespace ruvelto::components_test
