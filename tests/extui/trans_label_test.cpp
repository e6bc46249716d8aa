// TransLabel in a loaded window, looked at on the screen: what lies beneath shows through its
// empty and written parts, moving it repaints both places, and the alignment rules.
#include <windows.h>

#include <gtest/gtest.h>

#include "extui/extended_types.h"
#include "tests/extui/extui_fixture.h"

namespace ruvelto::extui_test {
namespace {

using namespace image_data;

enum Index { kCaption = 8, kEffect = 9, kTextColor = 11, kWordWrap = 13, kVerticalAlign = 14 };

constexpr COLORREF kRed = RGB(255, 0, 0), kBlue = RGB(0, 0, 255), kBlack = RGB(0, 0, 0);

ComponentDescription Backdrop(const char* name, int x, int y, int w, int h, COLORREF color) {
    LabelProperties p;
    p.caption = "";
    p.backColor = color;
    return Component(type_code::kLabel, name).At(x, y, w, h).Flags(kVisible).Properties(LabelBlob(p));
}

ComponentDescription Transparent(const std::string& caption, int x, int y, int w, int h, uint32_t wordWrap = 0,
                                 uint32_t verticalAlign = 1) {
    TransLabelProperties p;
    p.caption = caption;
    p.font = FontProperty("Arial", -20, 700);
    p.wordWrap = wordWrap;
    p.verticalAlign = verticalAlign;
    return Component(type_code::kTransLabel, "label").At(x, y, w, h).Flags(kVisible).Properties(TransLabelBlob(p));
}

// What the screen shows in a rectangle of a window's client area.
struct Area {
    int black = 0, red = 0, blue = 0, other = 0;
    int top = 1 << 30, bottom = -1;  // rows holding black pixels
};

Area Look(HWND window, int x, int y, int w, int h) {
    Pump(100);
    Area a;
    POINT origin{x, y};
    ClientToScreen(window, &origin);
    HDC screen = GetDC(nullptr);
    for (int dy = 0; dy < h; ++dy) {
        for (int dx = 0; dx < w; ++dx) {
            const COLORREF c = GetPixel(screen, origin.x + dx, origin.y + dy);
            if (c == kBlack) {
                ++a.black;
                a.top = std::min(a.top, dy), a.bottom = std::max(a.bottom, dy);
            } else if (c == kRed) {
                ++a.red;
            } else if (c == kBlue) {
                ++a.blue;
            } else {
                ++a.other;
            }
        }
    }
    ReleaseDC(nullptr, screen);
    return a;
}

class TransLabelTest : public ExtendedTest {
protected:
    HWND Window() const { return WindowHandle(components_test::kWindow); }
};

TEST_F(TransLabelTest, WhatLiesBeneathShowsThrough) {
    // Earlier records lie above later ones: the label is over the red backdrop, which is shown
    // after it while the window loads and still does not cover it.
    ASSERT_TRUE(ShowExtended(TestWindow({Transparent("MW", 40, 40, 120, 40), Backdrop("red", 20, 20, 200, 100, kRed)})));
    Area written = Look(Window(), 40, 40, 120, 40);
    EXPECT_GT(written.black, 40) << "the text";
    EXPECT_GT(written.red, 120 * 40 / 2) << "and around it the backdrop";
    EXPECT_EQ(Look(Window(), 120, 40, 40, 40).red, 40 * 40) << "no background of its own beside the text";

    WriteText("label", kCaption, "");
    Area empty = Look(Window(), 40, 40, 120, 40);
    EXPECT_EQ(empty.red, 120 * 40) << "an empty caption paints nothing";

    WriteText("label", kCaption, "MW");
    Write("label", kTextColor, kBlue);
    Area blue = Look(Window(), 40, 40, 120, 40);
    EXPECT_EQ(blue.black, 0) << "the old text is painted over from beneath";
    EXPECT_GT(blue.blue, 40);

    // The caption and the font's face name for the text conversion.
    EXPECT_EQ(EnumeratedTexts(&extui::TransLabelInterface, Unit("label")), (std::vector<std::string>{"MW", "Arial"}));

    Write("label", kEffect, 7);
    EXPECT_EQ(Read("label", kEffect), 3u);
    Area shadowed = Look(Window(), 40, 40, 120, 40);
    EXPECT_GT(shadowed.black, 0) << "the black shadow";
}

TEST_F(TransLabelTest, MovingRepaintsTheOldAndTheNewPlace) {
    ASSERT_TRUE(ShowExtended(TestWindow({Transparent("MW", 20, 150, 100, 40), Backdrop("blue", 200, 140, 160, 60, kBlue)})));
    Area before = Look(Window(), 20, 150, 100, 40);
    ASSERT_GT(before.black, 40);
    Write("label", 0, 220);  // Left: over the blue picture
    Area old = Look(Window(), 20, 150, 100, 40);
    EXPECT_EQ(old.black, 0) << "nothing of the text stays behind";
    Area now = Look(Window(), 220, 150, 100, 40);
    EXPECT_GT(now.black, 40) << "the text on top";
    EXPECT_GT(now.blue, 100 * 40 / 2) << "the picture beneath it";
}

TEST_F(TransLabelTest, VerticalAlignCountsOnlyOnASingleLine) {
    struct Case {
        uint32_t wordWrap, verticalAlign;
    };
    std::vector<int> tops;
    for (Case c : {Case{0, 0}, Case{0, 2}, Case{1, 0}, Case{1, 2}}) {
        ASSERT_TRUE(ShowExtended(TestWindow({Transparent("Hi", 20, 20, 200, 80, c.wordWrap, c.verticalAlign)})));
        Area a = Look(Window(), 20, 20, 200, 80);
        ASSERT_GT(a.black, 0);
        tops.push_back(a.top);
        TearDown();
    }
    EXPECT_LT(tops[0], tops[1]) << "single line: top above bottom";
    EXPECT_EQ(tops[2], tops[3]) << "word wrap: the same place whatever VerticalAlign says";
}

TEST_F(TransLabelTest, NewerDataRefusesTheWindow) {
    std::vector<uint8_t> newer = TransLabelBlob(TransLabelProperties{});
    newer[0] = 2;
    EXPECT_FALSE(ShowExtended(TestWindow({Component(type_code::kTransLabel, "label").At(0, 0, 50, 20)
                                              .Flags(kVisible).Properties(newer)})));
}

}  // namespace
}  // namespace ruvelto::extui_test
