// Label, GroupBox and ShapeBox as painted: gradients and gradient frames, the label's message
// 0x8075, shape outlines, and group box captions.
#include <gtest/gtest.h>

#include "components/gradient.h"
#include "tests/components/components_fixture.h"

namespace ruvelto::components_test {
namespace {

using namespace image_data;

ComponentDescription LabelOf(const std::string& name, const LabelProperties& p, int x, int y, int w, int h) {
    return Component(type_code::kLabel, name).At(x, y, w, h).Flags(kVisible).Properties(LabelBlob(p));
}

ComponentDescription ShapeOf(const std::string& name, const ShapeBoxProperties& p, int x, int y, int w, int h) {
    return Component(type_code::kShapeBox, name).At(x, y, w, h).Flags(kVisible).Properties(ShapeBoxBlob(p));
}

class PassiveTest : public ComponentsTest {};

TEST_F(PassiveTest, LabelMessageRaisesEventZeroAndAnswersWithTheHandlersValue) {
    LabelProperties p;
    Show(TestWindow({LabelOf("answers", p, 10, 10, 80, 20).On(0, AnswerSeven()), LabelOf("silent", p, 10, 40, 80, 20)}));
    EXPECT_EQ(SendMessageA(Unit("answers"), 0x8075, 3, 4), 7);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0].a, 3u);
    EXPECT_EQ(seen[0].b, 4u);
    EXPECT_EQ(SendMessageA(Unit("silent"), 0x8075, 3, 4), 0) << "no handler answers 0";
}

TEST_F(PassiveTest, GradientBackgroundsAndFrames) {
    LabelProperties gradient;
    gradient.caption.clear();
    gradient.gradientMode = 2;  // left to right
    gradient.gradientColors[0] = 0x000000, gradient.gradientColors[1] = 0xFF000000, gradient.gradientColors[2] = 0xFFFFFF;
    LabelProperties unused = gradient;
    unused.gradientColors[0] = unused.gradientColors[2] = 0xFF000000;
    unused.backColor = 0x3366CC;
    LabelProperties framed;
    framed.caption.clear();
    framed.border = 6;
    framed.frameWidth = 2;
    framed.frameColors[0] = 0x0000FF, framed.frameColors[1] = 0xFF000000, framed.frameColors[2] = 0x00FF00;
    framed.backColor = 0xFFFFFF;
    Show(TestWindow({LabelOf("g", gradient, 10, 10, 101, 30), LabelOf("u", unused, 10, 50, 60, 30),
                     LabelOf("f", framed, 10, 90, 100, 60)}));
    const uint32_t stops[3] = {0x000000, 0xFF000000, 0xFFFFFF};
    for (int x : {0, 37, 100}) {
        EXPECT_EQ(PixelAt(Unit("g"), x, 15), components::GradientColorAt(components::UsedColors(stops), x, 101)) << x;
    }
    EXPECT_EQ(PixelAt(Unit("u"), 30, 15), 0x3366CCu) << "fewer than two used colours: the back colour";

    // FrameWidth 2 draws a 5-pixel frame: red at the top edge fading to green, the inside white.
    HWND f = Unit("f");
    EXPECT_EQ(PixelAt(f, 50, 0), 0x0000FFu);
    EXPECT_EQ(PixelAt(f, 50, 4), components::GradientColorAt(components::UsedColors(framed.frameColors), 4, 5));
    EXPECT_EQ(PixelAt(f, 0, 30), 0x0000FFu) << "the left band runs from the left edge";
    EXPECT_EQ(PixelAt(f, 50, 5), 0xFFFFFFu);
    EXPECT_EQ(PixelAt(f, 5, 30), 0xFFFFFFu);

    Write("u", 20, 1);  // GradientMode top to bottom, still without two colours
    EXPECT_EQ(PixelAt(Unit("u"), 30, 15), 0x3366CCu);
    Write("f", 10, 0);  // no frame any more
    EXPECT_EQ(PixelAt(f, 50, 0), 0xFFFFFFu);
}

TEST_F(PassiveTest, ShapeBoxCircleAndSunkenOutline) {
    ShapeBoxProperties circle;
    circle.shape = components::kShapeCircle;
    circle.backColor = 0xFFFFFF;
    circle.lineColor = 0x0000FF;
    ShapeBoxProperties sunken;
    sunken.effect = 2;
    sunken.backColor = 0x808080;
    Show(TestWindow({ShapeOf("circle", circle, 10, 10, 100, 40), ShapeOf("sunken", sunken, 10, 60, 50, 30)}));
    // A circle of diameter 40 centred horizontally: its outline touches x = 30 and x = 69.
    HWND c = Unit("circle");
    EXPECT_EQ(PixelAt(c, 50, 0), 0x0000FFu);
    EXPECT_EQ(PixelAt(c, 50, 39), 0x0000FFu);
    EXPECT_EQ(PixelAt(c, 30, 20), 0x0000FFu);
    EXPECT_EQ(PixelAt(c, 69, 20), 0x0000FFu);
    EXPECT_EQ(PixelAt(c, 28, 20), 0xFFFFFFu);
    EXPECT_EQ(PixelAt(c, 71, 20), 0xFFFFFFu);
    EXPECT_EQ(PixelAt(c, 50, 20), 0xFFFFFFu) << "not filled";

    // Black outline on (1, 1, 50, 30), then white on (0, 0, 49, 29).
    HWND s = Unit("sunken");
    EXPECT_EQ(PixelAt(s, 0, 0), 0xFFFFFFu);
    EXPECT_EQ(PixelAt(s, 48, 28), 0xFFFFFFu);
    EXPECT_EQ(PixelAt(s, 49, 29), 0x000000u);
    EXPECT_EQ(PixelAt(s, 49, 1), 0x000000u);
    EXPECT_EQ(PixelAt(s, 1, 29), 0x000000u);
    EXPECT_EQ(PixelAt(s, 1, 1), 0x000000u);
    EXPECT_EQ(PixelAt(s, 0, 1), 0xFFFFFFu);
    EXPECT_EQ(PixelAt(s, 1, 28), 0xFFFFFFu) << "the white pass is drawn over the black one";
    EXPECT_EQ(PixelAt(s, 25, 15), 0x808080u);

    Write("circle", 9, 40);  // Shape above 7 becomes 7, a vertical line on the left edge
    EXPECT_EQ(Read("circle", 9), 7u);
    EXPECT_EQ(PixelAt(c, 0, 20), 0x0000FFu);
    EXPECT_EQ(PixelAt(c, 50, 0), 0xFFFFFFu);
    Write("circle", 12, static_cast<uint32_t>(-4));
    EXPECT_EQ(Read("circle", 12), 0u) << "a negative line width becomes 0";
}

TEST_F(PassiveTest, GroupBoxHoldsItsComponentsAndClampsItsAlignment) {
    GroupBoxProperties g;
    g.caption = "\xCC\xED\xBC\xD3\xCD\xBC\xC6\xAC";  // 添加图片
    LabelProperties inner;
    Show(TestWindow({LabelOf("inner", inner, 10, 20, 60, 20).In("group"),
                     Component(type_code::kGroupBox, "group").At(10, 10, 200, 100).Flags(kVisible).Properties(GroupBoxBlob(g))}));
    EXPECT_EQ(GetParent(Unit("inner")), Unit("group"));
    EXPECT_EQ(ReadText("group", 8), g.caption);
    Write("group", 9, 5);
    EXPECT_EQ(Read("group", 9), 2u);
    EXPECT_EQ(GetWindowLongA(Unit("group"), GWL_STYLE) & 0x300, BS_RIGHT);
}

}  // namespace
}  // namespace ruvelto::components_test
