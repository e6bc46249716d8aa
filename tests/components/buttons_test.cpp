// Button, CheckBox and RadioBox as real controls: check writes, alignment clamps, clicks and
// their events, tabbing onto a radio box, re-creation for a new picture, Enter and the default
// button.
#include <gtest/gtest.h>

#include "tests/components/components_fixture.h"

namespace ruvelto::components_test {
namespace {

using namespace image_data;
using forms_test::PressKey;

ComponentDescription PushButton(const std::string& name, int x, int y, uint32_t buttonType = 0) {
    ButtonProperties p;
    p.caption = name;
    p.buttonType = buttonType;
    return Component(type_code::kButton, name).At(x, y, 100, 28).Flags(kVisible | kTabStop).Properties(ButtonBlob(p)).On(0, RecordEvent0());
}

ComponentDescription Check(const std::string& name, int x, int y) {
    CheckBoxProperties p = CheckBoxDefaults();
    p.caption = name;
    return Component(type_code::kCheckBox, name).At(x, y, 120, 24).Flags(kVisible | kTabStop).Properties(CheckBoxBlob(p)).On(0, RecordEvent0());
}

ComponentDescription Radio(const std::string& name, int x, int y, bool checked = false) {
    CheckBoxProperties p = RadioBoxDefaults();
    p.caption = name;
    p.checked = checked;
    return Component(type_code::kRadioBox, name).At(x, y, 120, 24).Flags(kVisible | kTabStop).Properties(RadioBoxBlob(p)).On(0, RecordEvent0());
}

class ButtonsTest : public ComponentsTest {};

TEST_F(ButtonsTest, CheckedWrittenAsTwoChecksTheBoxAndReadsBackAsTrue) {
    Show(TestWindow({Check("ico", 10, 10), Radio("r", 10, 40)}));
    Write("ico", 18, 2);
    EXPECT_EQ(SendMessageA(Unit("ico"), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(Read("ico", 18), 1u);
    Write("r", 18, 5);
    EXPECT_EQ(SendMessageA(Unit("r"), BM_GETCHECK, 0, 0), BST_CHECKED);
    Write("ico", 18, 0);
    EXPECT_EQ(SendMessageA(Unit("ico"), BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(Read("ico", 18), 0u);
    EXPECT_TRUE(seen.empty()) << "writing the check state is not a click";
}

TEST_F(ButtonsTest, AlignmentWritesClampToTheirRange) {
    Show(TestWindow({PushButton("b", 10, 10), Check("c", 10, 50)}));
    struct Case {
        const char* unit;
        int32_t index;
        int32_t written;
        uint32_t stored;
        DWORD mask, style;
    } cases[] = {
        {"b", 11, 7, 2, 0x300, BS_RIGHT},   {"b", 11, -1, 0, 0x300, BS_LEFT}, {"b", 12, 9, 2, 0xC00, BS_BOTTOM},
        {"c", 13, 7, 2, 0x300, BS_RIGHT},   {"c", 13, -1, 0, 0x300, BS_LEFT}, {"c", 14, -3, 0, 0xC00, BS_TOP},
    };
    for (const Case& c : cases) {
        Write(c.unit, c.index, static_cast<uint32_t>(c.written));
        EXPECT_EQ(Read(c.unit, c.index), c.stored) << c.unit << " " << c.index << " " << c.written;
        EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(Unit(c.unit), GWL_STYLE)) & c.mask, c.style) << c.unit << c.written;
    }
}

TEST_F(ButtonsTest, ClicksRaiseEventZeroAfterTheCheckToggles) {
    Show(TestWindow({PushButton("b", 10, 10), Check("c", 10, 50), Radio("r1", 10, 90, true), Radio("r2", 10, 120)}));
    ClickAt(Unit("b"), 20, 10);
    EXPECT_EQ(Count("b", 0), 1);
    ClickAt(Unit("c"), 8, 12);
    EXPECT_EQ(Count("c", 0), 1);
    EXPECT_EQ(Read("c", 18), 1u);
    ClickAt(Unit("r2"), 8, 12);
    EXPECT_EQ(Count("r2", 0), 1);
    EXPECT_EQ(Read("r2", 18), 1u);
    EXPECT_EQ(Read("r1", 18), 0u) << "the other radio box under the same parent is unchecked";
}

TEST_F(ButtonsTest, TabbingOntoARadioBoxChecksItWithoutEventZero) {
    Show(TestWindow({PushButton("first", 10, 10), Radio("r", 10, 60)}));
    SetFocus(Unit("first"));
    Pump();
    PressKey(VK_TAB);
    ASSERT_EQ(GetFocus(), Unit("r"));
    EXPECT_EQ(SendMessageA(Unit("r"), BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(Count("r", 0), 0);
}

TEST_F(ButtonsTest, ANewPictureRecreatesTheButtonKeepingPlaceAndFocus) {
    Show(TestWindow({PushButton("other", 10, 10), PushButton("b", 150, 60)}));
    HWND before = Unit("b");
    SetFocus(before);
    Pump();
    RECT oldRect{};
    GetWindowRect(before, &oldRect);
    WriteBytes("b", 8, {'n', 'o', 't', ' ', 'a', ' ', 'p', 'i', 'c'});
    Pump();
    HWND after = Unit("b");
    ASSERT_NE(after, nullptr);
    EXPECT_NE(after, before);
    EXPECT_FALSE(IsWindow(before));
    RECT newRect{};
    GetWindowRect(after, &newRect);
    EXPECT_TRUE(EqualRect(&oldRect, &newRect));
    EXPECT_TRUE(IsWindowVisible(after));
    EXPECT_EQ(GetFocus(), after);
    EXPECT_EQ(forms_test::WindowText(after), "b") << "an undecodable picture leaves the caption";
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(after, GWL_STYLE)) & (BS_ICON | BS_BITMAP), 0u);
    EXPECT_EQ(ReadText("b", 10), "b");
    EXPECT_TRUE(seen.empty()) << "re-creation raises no events";
}

TEST_F(ButtonsTest, EnterClicksOnlyADefaultButton) {
    Show(TestWindow({PushButton("plain", 10, 10, 0), PushButton("ok", 10, 60, 1)}));
    SetFocus(Unit("plain"));
    Pump();
    PressKey(VK_RETURN);
    EXPECT_EQ(Count("plain", 0), 0) << "a ButtonType 0 button is never clicked by Enter";
    EXPECT_EQ(Count("ok", 0), 1);
    Write("ok", 9, 0);
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongA(Unit("ok"), GWL_STYLE)) & 0x1F, static_cast<DWORD>(BS_PUSHBUTTON));
    PressKey(VK_RETURN);
    EXPECT_EQ(Count("ok", 0), 1) << "no default button remains";
}

}  // namespace
}  // namespace ruvelto::components_test
