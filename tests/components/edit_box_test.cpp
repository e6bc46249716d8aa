// EditBox as a real control: typing into numeric modes and leaving, the spin button pressed with
// the mouse, the change event of Text writes, selection writes, the height a font needs, and
// Enter in a multi-line box.
#include <gtest/gtest.h>

#include "tests/components/components_fixture.h"

namespace ruvelto::components_test {
namespace {

using namespace image_data;
using forms_test::PressKey;
using forms_test::TypeText;
using forms_test::WindowText;

ComponentDescription Edit(const std::string& name, const EditBoxProperties& p, int x, int y, int height = 24) {
    return Component(type_code::kEditBox, name)
        .At(x, y, 120, height)
        .Flags(kVisible | kTabStop)
        .Properties(EditBoxBlob(p))
        .On(0, RecordEvent0())
        .On(1, RecordEvent1());
}

EditBoxProperties Mode(uint32_t inputMode, const std::string& text = "") {
    EditBoxProperties p;
    p.inputMode = inputMode;
    p.text = text;
    return p;
}

EditBoxProperties Spin(uint32_t spinMode, const std::string& text) {
    EditBoxProperties p = Mode(components::kInputInteger, text);
    p.spinMode = spinMode;
    p.spinMin = 1;
    p.spinMax = 100;
    return p;
}

class EditBoxTest : public ComponentsTest {
protected:
    // Types into the box, then tabs away.
    std::string TypeAndLeave(const std::string& name, const char* keys) {
        SetFocus(Unit(name));
        Pump();
        SendMessageA(Unit(name), EM_SETSEL, 0, -1);
        TypeText(keys);
        PressKey(VK_TAB);
        return WindowText(Unit(name));
    }
};

TEST_F(EditBoxTest, IntegerModeFiltersKeysAndNormalisesWhenTheFocusLeaves) {
    Show(TestWindow({Edit("n", Mode(components::kInputInteger), 10, 10), Edit("byte", Mode(components::kInputByte), 10, 50),
                     Edit("other", Mode(0), 10, 90)}));
    SetFocus(Unit("n"));
    Pump();
    TypeText("12a-3");
    EXPECT_EQ(WindowText(Unit("n")), "12-3");
    PressKey(VK_TAB);
    EXPECT_EQ(WindowText(Unit("n")), "12");
    EXPECT_EQ(TypeAndLeave("n", "99999999999"), "2147483647");
    EXPECT_EQ(TypeAndLeave("n", "0"), "");
    EXPECT_EQ(TypeAndLeave("byte", "-300"), "255") << "no minus in byte mode, and 300 is clamped";
}

TEST_F(EditBoxTest, AutomaticSpinWrapsAroundItsRange) {
    Show(TestWindow({Edit("auto", Spin(components::kSpinAutomatic, "100"), 10, 10)}));
    HWND box = Unit("auto");
    HWND spin = GetWindow(box, GW_HWNDPREV);
    ASSERT_NE(spin, nullptr);
    RECT boxRect{}, spinRect{};
    GetWindowRect(box, &boxRect);
    GetWindowRect(spin, &spinRect);
    EXPECT_EQ(spinRect.left, boxRect.right) << "the spin button sits right of the box";
    EXPECT_EQ(spinRect.right - spinRect.left, 18);
    EXPECT_EQ(spinRect.top, boxRect.top);
    const int half = (spinRect.bottom - spinRect.top) / 4;
    ClickAt(spin, 9, half);  // the up arrow
    EXPECT_EQ(WindowText(box), "1");
    EXPECT_EQ(GetFocus(), box);
    ClickAt(spin, 9, 3 * half);  // the down arrow
    EXPECT_EQ(WindowText(box), "100");
    EXPECT_EQ(Count("auto", 0), 2) << "each step changes the text once";
}

TEST_F(EditBoxTest, ReportingSpinRaisesEventOneAndLeavesTheText) {
    Show(TestWindow({Edit("report", Spin(components::kSpinReporting, "60"), 10, 10)}));
    HWND spin = GetWindow(Unit("report"), GW_HWNDPREV);
    RECT r{};
    GetClientRect(spin, &r);
    ClickAt(spin, 9, r.bottom / 4);
    ClickAt(spin, 9, 3 * r.bottom / 4);
    ASSERT_EQ(Count("report", 1), 2);
    EXPECT_EQ(seen[0].a, 1u);
    EXPECT_EQ(static_cast<int32_t>(seen[1].a), -1);
    EXPECT_EQ(WindowText(Unit("report")), "60");
    EXPECT_EQ(Count("report", 0), 0);
}

TEST_F(EditBoxTest, WritingTextRaisesTheChangeEventOnceEachTime) {
    Show(TestWindow({Edit("e", Mode(0, "old"), 10, 10)}));
    WriteText("e", 8, "new text");
    EXPECT_EQ(Count("e", 0), 1);
    EXPECT_EQ(ReadText("e", 8), "new text");
    WriteText("e", 8, "new text");
    EXPECT_EQ(Count("e", 0), 2);
}

TEST_F(EditBoxTest, SelectionWrites) {
    Show(TestWindow({Edit("e", Mode(0, "hello world"), 10, 10)}));
    Write("e", 25, static_cast<uint32_t>(-1));
    DWORD start = 1, end = 0;
    SendMessageA(Unit("e"), EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(start, 0u);
    EXPECT_EQ(end, 11u);
    EXPECT_EQ(ReadText("e", 26), "hello world");
    Write("e", 24, 6);
    Write("e", 25, 5);
    EXPECT_EQ(Read("e", 24), 6u);
    EXPECT_EQ(Read("e", 25), 5u);
    EXPECT_EQ(ReadText("e", 26), "world");
    WriteText("e", 26, "there");
    EXPECT_EQ(ReadText("e", 8), "hello there");
    Write("e", 24, static_cast<uint32_t>(-1));
    EXPECT_EQ(Read("e", 24), 11u);
    EXPECT_EQ(Read("e", 25), 0u);
}

// The properties count bytes of the GBK text while the control counts characters.
TEST_F(EditBoxTest, SelectionAndMaxLengthCountBytesOfChineseText) {
    const std::string picture = "\xCD\xBC\xC6\xAC";  // 图片, two double-byte characters
    Show(TestWindow({Edit("e", Mode(0, picture + "abc"), 10, 10)}));
    struct Case {
        int32_t start, length;
        DWORD shownFrom, shownTo;  // characters selected on screen
        uint32_t readStart, readLength;
        std::string readText;
    } cases[] = {
        {4, 3, 2, 5, 4, 3, "abc"},
        {0, 2, 0, 1, 0, 2, "\xCD\xBC"},
        {1, 2, 0, 2, 0, 4, picture},  // cutting into a character selects it whole
        {2, 10, 1, 5, 2, 5, "\xC6\xAC" "abc"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.start);
        Write("e", 24, static_cast<uint32_t>(c.start));
        Write("e", 25, static_cast<uint32_t>(c.length));
        DWORD from = 0, to = 0;
        SendMessageA(Unit("e"), EM_GETSEL, reinterpret_cast<WPARAM>(&from), reinterpret_cast<LPARAM>(&to));
        EXPECT_EQ(from, c.shownFrom);
        EXPECT_EQ(to, c.shownTo);
        EXPECT_EQ(Read("e", 24), c.readStart);
        EXPECT_EQ(Read("e", 25), c.readLength);
        EXPECT_EQ(ReadText("e", 26), c.readText);
    }
    Write("e", 24, static_cast<uint32_t>(-1));
    EXPECT_EQ(Read("e", 24), 7u);

    // MaxLength 4 keeps four bytes of what is pasted or typed.
    Write("e", 14, 4);
    WriteText("e", 8, "");
    WriteText("e", 26, picture + "ab");
    EXPECT_EQ(WindowText(Unit("e")), picture);
    WriteText("e", 8, "\xCD\xBC");
    SetFocus(Unit("e"));
    SendMessageA(Unit("e"), EM_SETSEL, 2, 2);
    TypeText("abc");
    EXPECT_EQ(WindowText(Unit("e")), "\xCD\xBC" "ab");
}

TEST_F(EditBoxTest, ASingleLineBoxTooLowForItsFontGrows) {
    EditBoxProperties p;
    p.font = FontProperty("\xCB\xCE\xCC\xE5", -12);  // 宋体, 9 points at 96 dpi
    Show(TestWindow({Edit("low", p, 10, 10, 12)}));
    HWND box = Unit("low");
    HDC dc = GetDC(box);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(box, WM_GETFONT, 0, 0)));
    SIZE size{};
    GetTextExtentPoint32A(dc, "\xB9\xFA", 2, &size);
    SelectObject(dc, old);
    ReleaseDC(box, dc);
    RECT r{};
    GetWindowRect(box, &r);
    EXPECT_EQ(r.bottom - r.top, size.cy + 2 * GetSystemMetrics(SM_CYEDGE));
    EXPECT_EQ(r.right - r.left, 120) << "the width is kept";
    EXPECT_EQ(Read("low", 3), static_cast<uint64_t>(r.bottom - r.top));
}

TEST_F(EditBoxTest, AMultiLineBoxGetsEnterDespiteADefaultButton) {
    EditBoxProperties multi;
    multi.multiLine = 1;
    multi.text = "a";
    EditBoxProperties readOnly = multi;
    readOnly.inputMode = components::kInputReadOnly;
    ButtonProperties ok;
    ok.buttonType = 1;
    Show(TestWindow({Edit("multi", multi, 10, 10, 60), Edit("ro", readOnly, 10, 80, 60),
                     Component(type_code::kButton, "ok").At(200, 10, 80, 28).Flags(kVisible | kTabStop)
                         .Properties(ButtonBlob(ok)).On(0, RecordEvent0())}));
    SetFocus(Unit("multi"));
    Pump();
    SendMessageA(Unit("multi"), EM_SETSEL, 1, 1);
    PressKey(VK_RETURN);
    EXPECT_EQ(WindowText(Unit("multi")), "a\r\n");
    EXPECT_EQ(Count("ok", 0), 0);
    SetFocus(Unit("ro"));
    Pump();
    PressKey(VK_RETURN);
    EXPECT_EQ(Count("ok", 0), 1) << "a read-only box leaves Enter to the window";
}

}  // namespace
}  // namespace ruvelto::components_test
