// Window and component behaviour under real mouse and keyboard input: clicks reach handlers as
// common events and as the control's own notification reflected back to it, a mouse handler can
// swallow the click, closing can be refused, Esc closes, and arrow keys move among radio boxes.
#include <gtest/gtest.h>

#include "forms/event_record.h"
#include "forms/unit_commands.h"
#include "tests/forms/forms_fixture.h"
#include "tests/forms/test_components.h"

namespace ruvelto::forms_test {
namespace {

using namespace image_data;
constexpr uint32_t kMain = 0x52010001;

struct Log {
    int clicks = 0;
    int downs = 0;
    uint32_t downX = 0, downY = 0;
    int closeAsked = 0;
    bool allowClose = false;
    int radioEvents = 0;
} log;

uint64_t Clicked() {
    ++log.clicks;
    return forms::kReturnsNothing;
}
uint64_t ButtonDown(uint32_t x, uint32_t y, uint32_t) {
    ++log.downs;
    log.downX = x, log.downY = y;
    return forms::kReturnsNothing;
}
uint64_t SwallowDown(uint32_t, uint32_t, uint32_t) {
    ++log.downs;
    return forms::HandlerReturns(0);
}
uint64_t Closing() {
    ++log.closeAsked;
    return forms::HandlerReturns(log.allowClose ? 1 : 0);
}
uint64_t RadioChosen() {
    ++log.radioEvents;
    return forms::kReturnsNothing;
}

void ClickAt(HWND window, int x, int y) {
    POINT p{x, y};
    ClientToScreen(window, &p);
    // The position travels with each event of the input itself (a button event takes its
    // coordinates only together with MOUSEEVENTF_MOVE), so that no pointer motion the display
    // reports late can move the click elsewhere.
    const DWORD ax = static_cast<DWORD>(MulDiv(p.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1));
    const DWORD ay = static_cast<DWORD>(MulDiv(p.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1));
    const DWORD at = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    mouse_event(at, ax, ay, 0, 0);
    mouse_event(at | MOUSEEVENTF_LEFTDOWN, ax, ay, 0, 0);
    mouse_event(at | MOUSEEVENTF_LEFTUP, ax, ay, 0, 0);
    PumpInput();
}

class WindowBehaviourTest : public FormsTest {
protected:
    void SetUp() override { log = {}; }
};

TEST_F(WindowBehaviourTest, MouseClicksRaiseCommonEventsAndReflectedNotifications) {
    WindowDescription w = TestWindow(kMain, "mouse");
    w.components = {
        Component(type_code::kButton, "button").At(20, 20, 120, 30).Flags(kVisible | kTabStop)
            .Properties(CaptionBlob("Press")).On(0, Handler(&Clicked)).On(forms::kLeftButtonDown, Handler(&ButtonDown)),
        Component(type_code::kEditBox, "guarded").At(20, 80, 140, 24).Flags(kVisible | kTabStop)
            .Properties(EditBlob("")).On(forms::kLeftButtonDown, Handler(&SwallowDown)),
        Component(type_code::kEditBox, "open").At(20, 120, 140, 24).Flags(kVisible | kTabStop).Properties(EditBlob("")),
    };
    Start({w});
    ASSERT_TRUE(Load(kMain));
    HWND form = WindowHandle(kMain);
    Activate(form, UnitHandle(kMain, "open"));

    // A loaded machine may deliver the click late, never lose it: wait for it.
    ClickAt(form, 30, 25);
    EXPECT_TRUE(PumpUntil([] { return log.clicks == 1; }));
    EXPECT_EQ(log.clicks, 1);
    EXPECT_EQ(log.downs, 1);
    EXPECT_EQ(log.downX, 10u);  // in the button's client coordinates
    EXPECT_EQ(log.downY, 5u);

    // The swallowed button-down never reaches the edit box, so it never takes the focus.
    ClickAt(form, 40, 90);
    EXPECT_TRUE(PumpUntil([] { return log.downs == 2; }));
    EXPECT_EQ(log.downs, 2);
    EXPECT_EQ(GetFocus(), UnitHandle(kMain, "button"));
}

TEST_F(WindowBehaviourTest, CloseCanBeRefusedAndEscClosesWhenAllowed) {
    WindowDescription w = TestWindow(kMain, "close");
    w.window.On(1, Handler(&Closing));
    w.components = {Component(type_code::kEditBox, "edit").At(20, 20, 140, 24).Flags(kVisible | kTabStop)
                        .Properties(EditBlob(""))};
    Start({w});
    ASSERT_TRUE(Load(kMain));
    HWND form = WindowHandle(kMain);
    Activate(form, UnitHandle(kMain, "edit"));
    PressKey(VK_ESCAPE);
    EXPECT_EQ(log.closeAsked, 1);
    EXPECT_TRUE(IsWindow(form));
    log.allowClose = true;
    PressKey(VK_ESCAPE);
    EXPECT_EQ(log.closeAsked, 2);
    EXPECT_FALSE(IsWindow(form));
    EXPECT_EQ(WindowHandle(kMain), nullptr);
}

TEST_F(WindowBehaviourTest, ArrowKeysMoveAndCheckAmongRadioBoxes) {
    WindowDescription w = TestWindow(kMain, "radios");
    auto radio = [](const std::string& name, int y) {
        return Component(type_code::kRadioBox, name).At(20, y, 120, 22).Flags(kVisible | kTabStop)
            .Properties(CaptionBlob(name)).On(0, Handler(&RadioChosen));
    };
    ComponentDescription one = radio("one", 20), two = radio("two", 50), three = radio("three", 80);
    one.tabOrder = 1, two.tabOrder = 2, three.tabOrder = 3;
    w.components = {one, two, three};
    Start({w});
    ASSERT_TRUE(Load(kMain));
    HWND h1 = UnitHandle(kMain, "one"), h2 = UnitHandle(kMain, "two"), h3 = UnitHandle(kMain, "three");
    Activate(WindowHandle(kMain), h1);
    PressKey(VK_DOWN);
    EXPECT_EQ(GetFocus(), h2);
    EXPECT_EQ(SendMessageA(h2, BM_GETCHECK, 0, 0), BST_CHECKED);
    PressKey(VK_UP);
    PressKey(VK_UP);  // from the first round to the last
    EXPECT_EQ(GetFocus(), h3);
    EXPECT_EQ(SendMessageA(h3, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(SendMessageA(h1, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(SendMessageA(h2, BM_GETCHECK, 0, 0), BST_UNCHECKED);
    EXPECT_EQ(log.radioEvents, 3);

    ValueRecord unit[1] = {{kMain, IdOf(kMain, "two"), type_code::kRadioBox}};
    ValueRecord result{};
    forms::GetWindowHandleCommand(&result, 1, unit);
    EXPECT_EQ(reinterpret_cast<HWND>(static_cast<uintptr_t>(result.lo)), h2);
}

}  // namespace
}  // namespace ruvelto::forms_test
