// Windows loaded from builder templates and driven with real keyboard input: handlers that keep
// or alter keys, tab order and its tie rule, mnemonics, Enter and the default button, and that
// nothing is delivered while a window loads.
#include <gtest/gtest.h>

#include "forms/event_record.h"
#include "tests/forms/forms_fixture.h"
#include "tests/forms/test_components.h"

namespace ruvelto::forms_test {
namespace {

using namespace image_data;
constexpr uint32_t kMain = 0x52010001;

struct Counts {
    int keysDown = 0;
    int changes = 0;
    int clicksF = 0;
    int clicksOther = 0;
    int created = 0;
    int gotFocus = 0;
} counts;

uint64_t KeyDownRefused(uint32_t, uint32_t) {
    ++counts.keysDown;
    return forms::HandlerReturns(0);
}
uint64_t KeyDownAllowed(uint32_t, uint32_t) {
    ++counts.keysDown;
    return forms::HandlerReturns(1);
}
uint64_t CharBecomesA(uint32_t) { return forms::HandlerReturns(65); }
uint64_t Changed() {
    ++counts.changes;
    return forms::kReturnsNothing;
}
uint64_t ClickedF() {
    ++counts.clicksF;
    return forms::kReturnsNothing;
}
uint64_t ClickedOther() {
    ++counts.clicksOther;
    return forms::kReturnsNothing;
}
uint64_t Created() {
    ++counts.created;
    return forms::kReturnsNothing;
}
uint64_t GotFocus() {
    ++counts.gotFocus;
    return forms::kReturnsNothing;
}

ComponentDescription Edit(const std::string& name, int x, int y) {
    return Component(type_code::kEditBox, name).At(x, y, 140, 24).Flags(kVisible | kTabStop).Properties(EditBlob(""));
}
ComponentDescription Button(const std::string& name, const std::string& caption, int x, int y, uint32_t isDefault = 0) {
    return Component(type_code::kButton, name)
        .At(x, y, 100, 26)
        .Flags(kVisible | kTabStop)
        .Properties(CaptionBlob(caption, isDefault));
}

class KeyboardTest : public FormsTest {
protected:
    void SetUp() override { counts = {}; }
};

TEST_F(KeyboardTest, KeyAndCharacterHandlersKeepOrAlterKeys) {
    WindowDescription w = TestWindow(kMain, "keys");
    w.components = {
        Edit("refuses", 10, 10).On(forms::kKeyDown, Handler(&KeyDownRefused)),
        Edit("allows", 10, 40).On(forms::kKeyDown, Handler(&KeyDownAllowed)),
        Edit("upper", 10, 70).On(forms::kCharInput, Handler(&CharBecomesA)),
        Edit("plain", 10, 100).On(0, Handler(&Changed)),
    };
    Start({w});
    ASSERT_TRUE(Load(kMain));
    // The edit box reports its text set while it is created; loading keeps that to itself.
    EXPECT_EQ(counts.changes, 0);

    Activate(WindowHandle(kMain), UnitHandle(kMain, "refuses"));
    TypeText("ab");
    EXPECT_EQ(WindowText(UnitHandle(kMain, "refuses")), "");
    EXPECT_EQ(counts.keysDown, 2);

    Activate(WindowHandle(kMain), UnitHandle(kMain, "allows"));
    TypeText("ab");
    EXPECT_EQ(WindowText(UnitHandle(kMain, "allows")), "ab");

    Activate(WindowHandle(kMain), UnitHandle(kMain, "upper"));
    TypeText("xyz");
    EXPECT_EQ(WindowText(UnitHandle(kMain, "upper")), "AAA");

    Activate(WindowHandle(kMain), UnitHandle(kMain, "plain"));
    TypeText("q");
    EXPECT_EQ(WindowText(UnitHandle(kMain, "plain")), "q");
    EXPECT_EQ(counts.changes, 1);
}

// The unit holding the focus after a key, by name.
std::string Focused(const FormsTest&, HWND a, HWND b, HWND c) {
    HWND f = GetFocus();
    return f == a ? "a" : f == b ? "b" : f == c ? "c" : "?";
}

TEST_F(KeyboardTest, TabOrderWrapsAndPutsHigherRecordsFirstAmongEqualOrders) {
    WindowDescription w = TestWindow(kMain, "tabs");
    ComponentDescription a = Edit("a", 10, 10), b = Edit("b", 10, 40), c = Edit("c", 10, 70);
    a.tabOrder = 1, b.tabOrder = 1, c.tabOrder = 0;  // order: c, then b before a (higher record first)
    w.components = {a, b, c};
    Start({w});
    ASSERT_TRUE(Load(kMain));
    HWND ha = UnitHandle(kMain, "a"), hb = UnitHandle(kMain, "b"), hc = UnitHandle(kMain, "c");
    Activate(WindowHandle(kMain), hc);
    PressKey(VK_TAB);
    EXPECT_EQ(Focused(*this, ha, hb, hc), "b");
    PressKey(VK_TAB);
    EXPECT_EQ(Focused(*this, ha, hb, hc), "a");
    PressKey(VK_TAB);  // from the last back to the first
    EXPECT_EQ(Focused(*this, ha, hb, hc), "c");
    PressKey(VK_TAB, {VK_SHIFT});  // from the first back round to the last
    EXPECT_EQ(Focused(*this, ha, hb, hc), "a");
    PressKey(VK_TAB, {VK_SHIFT});
    EXPECT_EQ(Focused(*this, ha, hb, hc), "b");
}

TEST_F(KeyboardTest, AltMnemonicClicksTheButtonButNotWithCtrl) {
    WindowDescription w = TestWindow(kMain, "mnemonics");
    w.components = {Edit("edit", 10, 10), Button("file", "&File", 10, 50).On(0, Handler(&ClickedF)),
                    Button("other", "&Other", 120, 50).On(0, Handler(&ClickedOther))};
    Start({w});
    ASSERT_TRUE(Load(kMain));
    Activate(WindowHandle(kMain), UnitHandle(kMain, "edit"));
    PressKey('F', {VK_MENU});
    EXPECT_EQ(counts.clicksF, 1);
    PressKey('F', {VK_MENU, VK_CONTROL});
    EXPECT_EQ(counts.clicksF, 1);
    PressKey('O', {VK_MENU});
    EXPECT_EQ(counts.clicksOther, 1);
    EXPECT_EQ(counts.clicksF, 1);
}

TEST_F(KeyboardTest, EnterClicksTheDefaultButtonUnlessTheFocusedUnitWantsIt) {
    WindowDescription w = TestWindow(kMain, "enter");
    w.components = {Edit("single", 10, 10), Component(type_code::kEditBox, "multi").At(10, 40, 140, 60)
                                                 .Flags(kVisible | kTabStop).Properties(EditBlob("", true)),
                    Button("ok", "OK", 10, 110, 1).On(0, Handler(&ClickedF))};
    Start({w});
    ASSERT_TRUE(Load(kMain));
    Activate(WindowHandle(kMain), UnitHandle(kMain, "single"));
    PressKey(VK_RETURN);
    EXPECT_EQ(counts.clicksF, 1);
    Activate(WindowHandle(kMain), UnitHandle(kMain, "multi"));
    TypeText("x");
    PressKey(VK_RETURN);
    EXPECT_EQ(counts.clicksF, 1);
    EXPECT_EQ(WindowText(UnitHandle(kMain, "multi")), "x\r\n");
}

TEST_F(KeyboardTest, EventsDuringLoadingAreNotDeliveredButCreatedIs) {
    WindowDescription w = TestWindow(kMain, "loading");
    w.window.On(forms::kGotFocus, Handler(&GotFocus)).On(0, Handler(&Created));
    w.components = {Edit("edit", 10, 10).On(0, Handler(&Changed)).On(forms::kGotFocus, Handler(&GotFocus))};
    w.components[0].propertyBlock = EditBlob("initial");
    Start({w});
    ASSERT_TRUE(Load(kMain));
    EXPECT_EQ(counts.changes, 0);
    EXPECT_EQ(counts.created, 1);
    EXPECT_EQ(WindowText(UnitHandle(kMain, "edit")), "initial");
}

}  // namespace
}  // namespace ruvelto::forms_test
