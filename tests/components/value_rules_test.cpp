// The value rules of the standard components as plain logic: edit box key filter, focus-leave
// normalisation, spin stepping and selection writes; bar ranges and clamps; label gradients.
#include <gtest/gtest.h>

#include "components/bar_properties.h"
#include "components/edit_box_input.h"
#include "components/edit_box_properties.h"
#include "components/gradient.h"

namespace ruvelto::components {
namespace {

std::string Typed(uint32_t mode, const std::string& keys) {
    std::string text;
    for (char c : keys) {
        if (AcceptsCharacter(mode, static_cast<unsigned char>(c))) text += c;
    }
    return text;
}

TEST(EditBoxInput, KeyFilterOfEachMode) {
    EXPECT_EQ(Typed(kInputInteger, "12a-3"), "12-3");
    EXPECT_EQ(Typed(kInputIntegerText, "1.5-x"), "15-");
    EXPECT_EQ(Typed(kInputByte, "-300"), "300");
    EXPECT_EQ(Typed(kInputDouble, "-1.5e3"), "-1.53");
    EXPECT_EQ(Typed(kInputNormal, "a-1.\xB9\xFA"), "a-1.\xB9\xFA");
    EXPECT_EQ(Typed(kInputDateTime, "2024/1/1"), "2024/1/1");
    for (uint32_t mode = 0; mode <= 11; ++mode) {
        EXPECT_TRUE(AcceptsCharacter(mode, 8)) << "backspace passes in mode " << mode;
        EXPECT_TRUE(AcceptsCharacter(mode, 22)) << "Ctrl+V passes in mode " << mode;
    }
}

TEST(EditBoxInput, FocusLeaveNormalisation) {
    struct Case {
        uint32_t mode;
        const char* text;
        const char* expected;
    } cases[] = {
        {kInputNormal, " 0 ", " 0 "},
        {kInputIntegerText, "12-3", "12-3"},
        {kInputByte, "300", "255"},
        {kInputByte, "-7", ""},  // 0 after the clamp, and "0" becomes empty
        {kInputByte, "42abc", "42"},
        {kInputShort, "-40000", "-32768"},
        {kInputShort, "0", ""},
        {kInputInteger, "12-3", "12"},
        {kInputInteger, "99999999999", "2147483647"},
        {kInputInteger, "-99999999999", "-2147483648"},
        {kInputInteger, "0", ""},
        {kInputInteger, "00", ""},
        {kInputInteger, "", ""},
        {kInputLong, "123456789012", "123456789012"},
        {kInputLong, "99999999999999999999999", "9223372036854775807"},
        {kInputFloat, "3.14159265", "3.14159"},
        {kInputDouble, "3.14159265358979", "3.14159265359"},
        {kInputDouble, "-", ""},
        {kInputDateTime, "2024-3-5", "2024\xC4\xEA" "3\xD4\xC2" "5\xC8\xD5"},
        {kInputDateTime, "2024/03/05 14:30", "2024\xC4\xEA" "3\xD4\xC2" "5\xC8\xD5" "14\xCA\xB1" "30\xB7\xD6"},
        {kInputDateTime, "2024\xC4\xEA" "2\xD4\xC2" "29\xC8\xD5" "8\xCA\xB1", "2024\xC4\xEA" "2\xD4\xC2" "29\xC8\xD5" "8\xCA\xB1"},
        {kInputDateTime, "2023-2-29", ""},
        {kInputDateTime, "1899-12-30", ""},  // the zero date-time
        {kInputDateTime, "tomorrow", ""},
        {kInputDateTime, "2024-1-1 25:00", ""},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(NormalisedText(c.mode, c.text), c.expected) << "mode " << c.mode << " text " << c.text;
    }
}

TEST(EditBoxInput, DateTimeTextsGiveDaysSince1899) {
    double value = 0;
    ASSERT_TRUE(ParseDateTimeText("1900-1-1", &value));
    EXPECT_DOUBLE_EQ(value, 2.0);
    ASSERT_TRUE(ParseDateTimeText("2000-01-01 12:00:00", &value));
    EXPECT_DOUBLE_EQ(value, 36526.5);
    ASSERT_TRUE(ParseDateTimeText("1899-12-29 06:00", &value));
    EXPECT_DOUBLE_EQ(value, -1.25);
}

TEST(EditBoxInput, AutomaticSpinWrapsAtTheBounds) {
    EXPECT_EQ(SpinStep(100, +1, 1, 100), 1);
    EXPECT_EQ(SpinStep(1, -1, 1, 100), 100);
    EXPECT_EQ(SpinStep(50, +1, 1, 100), 51);
    EXPECT_EQ(SpinStep(50, -1, 1, 100), 49);
    EXPECT_EQ(SpinStep(500, -1, 1, 100), 100) << "a text beyond the range wraps too";
    EXPECT_EQ(SpinStep(LeadingInteger("abc"), +1, 1, 100), 1);
    EXPECT_EQ(SpinStep(INT32_MAX, +1, INT32_MIN, INT32_MAX), INT32_MIN);
}

TEST(EditBoxInput, SelectionWrites) {
    EXPECT_EQ(SelectionForLength(3, -1, 10).start, 0);
    EXPECT_EQ(SelectionForLength(3, -1, 10).length, 10);
    EXPECT_EQ(SelectionForLength(3, -4, 10).length, 0);
    EXPECT_EQ(SelectionForStart(-1, 4, 10).start, 10);
    EXPECT_EQ(SelectionForStart(-1, 4, 10).length, 0);
    EXPECT_EQ(SelectionForStart(-9, 4, 10).start, 0);
    EXPECT_EQ(SelectionForStart(-9, 4, 10).length, 4);
}

TEST(BarRules, RangesClampsAndPositions) {
    EXPECT_EQ(ClampRangeValue(-5), 0);
    EXPECT_EQ(ClampRangeValue(40000), 32767);
    EXPECT_EQ(ClampStep(0), 1);
    EXPECT_EQ(ClampStep(99999), 32767);
    // Minimum 100 and maximum 0: the range is 0..100 and every position is sent as 0.
    EXPECT_EQ(RangeOf(100, 0).lower, 0);
    EXPECT_EQ(RangeOf(100, 0).upper, 100);
    for (int32_t p : {-3, 0, 50, 100, 200}) EXPECT_EQ(SentPosition(p, 100, 0), 0) << p;
    EXPECT_EQ(SentPosition(50, 0, 100), 50);
    EXPECT_EQ(SentPosition(150, 0, 100), 100);
    // Slider sizes: range 1..3 with page size 5 sends 2; never below 1.
    EXPECT_EQ(SliderSentSize(5, 1, 3), 2);
    EXPECT_EQ(SliderSentSize(5, 3, 1), 2);
    EXPECT_EQ(SliderSentSize(1, 4, 4), 1);
    EXPECT_EQ(SliderSelection(-2, 5, 0, 10).lower, 0);
    EXPECT_EQ(SliderSelection(-2, 5, 0, 10).upper, 3);
    EXPECT_EQ(SliderSelection(8, 5, 0, 10).upper, 10);
}

TEST(BarRules, ScrollRequestsStepTheStoredPosition) {
    HScrollBarProperties bar;
    bar.minimum = 1, bar.maximum = 100, bar.position = 50, bar.lineChange = 1, bar.pageChange = 10;
    const BarRange range{1, 100};
    struct Case {
        uint32_t request;
        int32_t thumb;
        bool moves;
        int32_t expected;
    } cases[] = {
        {kScrollLineLeft, 0, true, 49},   {kScrollLineRight, 0, true, 51}, {kScrollPageLeft, 0, true, 40},
        {kScrollPageRight, 0, true, 60},  {kScrollThumbPosition, 77, true, 77}, {kScrollThumbTrack, 70, true, 70},
        {kScrollLeft, 0, true, 1},        {kScrollRight, 0, true, 100},    {kScrollEnd, 0, false, 0},
    };
    for (const Case& c : cases) {
        int32_t position = -1;
        EXPECT_EQ(ScrollTarget(bar, c.request, c.thumb, range, &position), c.moves) << c.request;
        if (c.moves) {
            EXPECT_EQ(position, c.expected) << c.request;
        }
    }
    bar.trackEvents = 0;
    int32_t position = -1;
    EXPECT_FALSE(ScrollTarget(bar, kScrollThumbTrack, 70, range, &position));
    EXPECT_TRUE(ScrollTarget(bar, kScrollThumbPosition, 70, range, &position));
    bar.position = 1;
    ASSERT_TRUE(ScrollTarget(bar, kScrollLineLeft, 0, range, &position));
    EXPECT_EQ(position, 1) << "the arrow at the minimum stays at the minimum";
}

TEST(Gradient, ColoursAlongTheSpan) {
    const uint32_t three[3] = {0x000000, 0xFFFFFF, 0x0000FF};
    GradientStops stops = UsedColors(three);
    ASSERT_EQ(stops.count, 3);
    // S = 100, k = 3: g = 50.
    EXPECT_EQ(GradientColorAt(stops, 0, 100), 0x000000u);
    EXPECT_EQ(GradientColorAt(stops, 25, 100), 0x7F7F7Fu);
    EXPECT_EQ(GradientColorAt(stops, 50, 100), 0xFFFFFFu);
    EXPECT_EQ(GradientColorAt(stops, 75, 100), 0x8080FFu) << "falling channels truncate toward zero";
    EXPECT_EQ(GradientColorAt(stops, 99, 100), 0x0606FFu);
    EXPECT_EQ(GradientColorAt(stops, 100, 100), 0x0000FFu);
    EXPECT_EQ(GradientColorAt(stops, 3, 1), 0x0000FFu) << "a span shorter than the segments stays defined";

    const uint32_t one[3] = {0xFF000000, 0x123456, 0xFF000000};
    EXPECT_FALSE(UsedColors(one).Drawable());
    const uint32_t none[3] = {0xFF000000, 0xFF000000, 0xFF000000};
    EXPECT_EQ(UsedColors(none).count, 0);
}

TEST(Gradient, DirectionsAndFrameBands) {
    int p = 0, s = 0;
    struct Case {
        uint32_t direction;
        int x, y, position, span;
    } cases[] = {
        {1, 3, 7, 7, 20},  {2, 3, 7, 3, 10},  {5, 3, 7, 12, 20}, {6, 3, 7, 6, 10},
        {3, 3, 7, 10, 20}, {4, 3, 7, 13, 20}, {7, 3, 7, 18, 20}, {8, 3, 7, 15, 20},
    };
    for (const Case& c : cases) {
        GradientPosition(c.direction, c.x, c.y, 10, 20, &p, &s);
        EXPECT_EQ(p, c.position) << c.direction;
        EXPECT_EQ(s, c.span) << c.direction;
    }

    EXPECT_EQ(EffectiveFrameWidth(2, 100, 100), 5) << "below 5 counts as 5";
    EXPECT_EQ(EffectiveFrameWidth(30, 40, 100), 20) << "limited to half the client";
    const uint32_t colors[3] = {0x000000, 0xFF000000, 0xFFFFFF};
    GradientStops stops = UsedColors(colors);
    uint32_t c = 0;
    EXPECT_FALSE(FramePixelColor(stops, 5, 10, 10, 40, 30, &c));
    ASSERT_TRUE(FramePixelColor(stops, 5, 20, 0, 40, 30, &c));
    EXPECT_EQ(c, 0x000000u) << "top band starts dark at the edge";
    ASSERT_TRUE(FramePixelColor(stops, 5, 20, 29, 40, 30, &c));
    EXPECT_EQ(c, GradientColorAt(stops, 4, 5)) << "bottom band runs top to bottom";
    ASSERT_TRUE(FramePixelColor(stops, 5, 0, 15, 40, 30, &c));
    EXPECT_EQ(c, 0x000000u) << "left band starts at the left edge";
    ASSERT_TRUE(FramePixelColor(stops, 5, 39, 15, 40, 30, &c));
    EXPECT_EQ(c, GradientColorAt(stops, 4, 5)) << "right band runs left to right";
}

}  // namespace
}  // namespace ruvelto::components
