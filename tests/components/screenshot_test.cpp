// A window holding every standard component in several states, captured as a picture under the
// build folder (build/wine/artifacts/components.bmp) for a person to look at. The test checks
// what can be checked by pixels: colours at known spots of the components.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/components/components_fixture.h"

namespace ruvelto::components_test {
namespace {

using namespace image_data;

class ScreenshotTest : public ComponentsTest {};

TEST_F(ScreenshotTest, EveryComponentTypeInSeveralStates) {
    auto button = [](const char* caption, uint32_t type) {
        ButtonProperties p;
        p.caption = caption;
        p.buttonType = type;
        return ButtonBlob(p);
    };
    auto check = [](const char* caption, bool checked, bool radio) {
        CheckBoxProperties p = radio ? RadioBoxDefaults() : CheckBoxDefaults();
        p.caption = caption;
        p.checked = checked;
        return radio ? RadioBoxBlob(p) : CheckBoxBlob(p);
    };
    auto edit = [](const char* text, uint32_t mode, uint32_t spin, bool multi) {
        EditBoxProperties p;
        p.text = text;
        p.inputMode = mode;
        p.spinMode = spin;
        p.multiLine = multi;
        return EditBoxBlob(p);
    };
    auto label = [](const char* caption, auto change) {
        LabelProperties p;
        p.caption = caption;
        change(p);
        return LabelBlob(p);
    };
    const uint32_t V = kVisible, T = kTabStop, D = kDisabled;
    LabelProperties separator;
    separator.caption.clear();
    separator.backColor = 0x606060;
    ShapeBoxProperties circle;
    circle.shape = 3, circle.fillColor = 0x80C0FF, circle.lineWidth = 2;
    ShapeBoxProperties sunken;
    sunken.shape = 4, sunken.effect = 2;
    ProcessBarProperties progress;
    progress.position = 60;
    SliderBarProperties slider;
    slider.position = 7;
    HScrollBarProperties scroll;
    scroll.position = 40;
    GroupBoxProperties group;
    group.caption = "\xB8\xF1\xCA\xBD\xD7\xAA\xBB\xBB";  // 格式转换

    Show(TestWindow(
        {
            Component(type_code::kButton, "b1").At(10, 10, 90, 28).Flags(V | T).Properties(button("\xBF\xAA\xCA\xBC", 1)),  // 开始
            Component(type_code::kButton, "b2").At(110, 10, 90, 28).Flags(V | T).Properties(button("\xC8\xAB\xD1\xA1", 0)),  // 全选
            Component(type_code::kButton, "b3").At(210, 10, 90, 28).Flags(V | D).Properties(button("\xBD\xFB\xD3\xC3", 0)),  // 禁用
            Component(type_code::kCheckBox, "c1").At(10, 30, 70, 20).In("group").Flags(V | T).Properties(check("jpg", true, false)),
            Component(type_code::kCheckBox, "c2").At(90, 30, 70, 20).In("group").Flags(V | T).Properties(check("png", false, false)),
            Component(type_code::kCheckBox, "c3").At(170, 30, 70, 20).In("group").Flags(V | D).Properties(check("ico", true, false)),
            Component(type_code::kRadioBox, "r1").At(10, 60, 90, 20).In("group").Flags(V | T).Properties(check("\xB0\xB4\xB1\xC8\xC0\xFD", true, true)),  // 按比例
            Component(type_code::kRadioBox, "r2").At(110, 60, 90, 20).In("group").Flags(V | T).Properties(check("\xD7\xD4\xB6\xA8\xD2\xE5", false, true)),  // 自定义
            Component(type_code::kGroupBox, "group").At(10, 50, 290, 95).Flags(V).Properties(GroupBoxBlob(group)),
            Component(type_code::kEditBox, "e1").At(10, 155, 150, 24).Flags(V | T).Properties(edit("D:\\\xCD\xBC\xC6\xAC", 0, 0, false)),  // 图片
            Component(type_code::kEditBox, "e2").At(170, 155, 50, 24).Flags(V | T).Properties(edit("60", 7, 2, false)),
            Component(type_code::kEditBox, "e3").At(250, 155, 50, 24).Flags(V | D).Properties(edit("75", 7, 1, false)),
            Component(type_code::kEditBox, "e4").At(10, 185, 290, 50).Flags(V | T).Properties(edit("\xB6\xE0\xD0\xD0\r\nmulti-line", 0, 0, true)),  // 多行
            Component(type_code::kLabel, "l1").At(320, 10, 150, 24).Flags(V).Properties(label("\xD1\xB9\xCB\xF5\xC6\xB7\xD6\xCA:", [](LabelProperties&) {})),  // 压缩品质:
            Component(type_code::kLabel, "l2").At(320, 40, 150, 24).Flags(V).Properties(label("Raised", [](LabelProperties& p) { p.textEffect = 1; p.backColor = 0xC0C0C0; })),
            Component(type_code::kLabel, "l3").At(320, 70, 150, 30).Flags(V).Properties(label("Gradient", [](LabelProperties& p) { p.gradientMode = 2; p.gradientColors[1] = 0xFFC080; p.horizontalAlign = 1; })),
            Component(type_code::kLabel, "l4").At(320, 110, 150, 50).Flags(V).Properties(label("Frame", [](LabelProperties& p) { p.border = 6; p.backColor = 0xFFFFFF; p.horizontalAlign = 1; p.textEffect = 3; p.textColor = 0x0000C0; })),
            Component(type_code::kLabel, "sep").At(310, 10, 1, 230).Flags(V).Properties(LabelBlob(separator)),
            Component(type_code::kShapeBox, "s1").At(480, 10, 100, 60).Flags(V).Properties(ShapeBoxBlob(circle)),
            Component(type_code::kShapeBox, "s2").At(480, 80, 100, 60).Flags(V).Properties(ShapeBoxBlob(sunken)),
            Component(type_code::kProcessBar, "p").At(10, 250, 570, 18).Flags(V).Properties(ProcessBarBlob(progress)),
            Component(type_code::kSliderBar, "sl").At(10, 280, 200, 30).Flags(V | T).Properties(SliderBarBlob(slider)),
            Component(type_code::kHScrollBar, "sc").At(230, 285, 200, 18).Flags(V).Properties(HScrollBarBlob(scroll)),
        },
        600, 360));
    SetFocus(Unit("e2"));
    Pump(300);
    // What the picture shows, at a few known spots of the components (client coordinates).
    const struct {
        const char* unit;
        int x, y;
        COLORREF colour;
        const char* what;
    } spots[] = {
        {"s1", 50, 30, 0x80C0FF, "the circle's fill"},
        {"l2", 140, 5, 0xC0C0C0, "the raised label's background, right of its text"},
        {"sep", 0, 100, 0x606060, "the one-pixel separator label"},
        {"l4", 12, 8, 0xFFFFFF, "the framed label inside its frame"},
        {"l3", 75, 3, 0xFFC080, "the gradient label's middle colour at its centre"},
        {"p", 171, 9, GetSysColor(COLOR_HIGHLIGHT), "the filled part of the progress bar at 60"},
        {"e1", 130, 10, GetSysColor(COLOR_WINDOW), "the edit box's background"},
    };
    for (const auto& spot : spots) EXPECT_EQ(PixelAt(Unit(spot.unit), spot.x, spot.y), spot.colour) << spot.what;
    EXPECT_NE(PixelAt(Unit("p"), 513, 9), GetSysColor(COLOR_HIGHLIGHT)) << "the progress bar is filled past 60";
    EXPECT_NE(PixelAt(Unit("l3"), 2, 15), 0xFFC080u) << "the gradient runs from another colour";
    // The ticked check box shows its mark; the unticked one has no dark pixel in its box.
    auto darkPixels = [this](const char* unit) {
        int dark = 0;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 16; ++x) {
                const COLORREF c = PixelAt(Unit(unit), x, y);
                if (GetRValue(c) + GetGValue(c) + GetBValue(c) < 200) ++dark;
            }
        return dark;
    };
    EXPECT_GT(darkPixels("c1"), darkPixels("c2") + 10);

    const std::string folder = std::string(RUVELTO_BINARY_DIR) + "/artifacts";
    CreateDirectoryA(("Z:" + folder).c_str(), nullptr);
    EXPECT_TRUE(forms_test::SaveWindowPicture(WindowHandle(kWindow), folder + "/components.bmp"));
}

}  // namespace
}  // namespace ruvelto::components_test
