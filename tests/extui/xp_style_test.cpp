// The XP-style skin on real controls of a real top-level window: which controls it takes, how it
// follows their state, switching on twice and off, controls created while it is on, and its
// fixed edit-frame colours in each scheme. Pixels are read back from the controls as painted.
#include <gtest/gtest.h>

#include <windows.h>

#include <commctrl.h>

#include <string>
#include <vector>

#include "extui/xp_style.h"
#include "extui/xp_style_records.h"
#include "extui/xp_style_schemes.h"
#include "tests/forms/forms_fixture.h"

namespace ruvelto::extui {
namespace {

using forms_test::MouseAt;
using forms_test::Pump;
using forms_test::PumpUntil;
constexpr COLORREF kOwnerDrawnRed = RGB(200, 0, 0);

LRESULT CALLBACK HostProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_DRAWITEM) {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        HBRUSH red = CreateSolidBrush(kOwnerDrawnRed);
        FillRect(item->hDC, &item->rcItem, red);
        DeleteObject(red);
        return TRUE;
    }
    if (message == WM_CTLCOLORBTN && GetPropA(window, "brush"))
        return reinterpret_cast<LRESULT>(GetPropA(window, "brush"));  // a parent with a colour of its own
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED)
        SetPropA(window, "clicks", reinterpret_cast<HANDLE>(reinterpret_cast<intptr_t>(GetPropA(window, "clicks")) + 1));
    return DefWindowProcA(window, message, wParam, lParam);
}

COLORREF WindowPixel(HWND window, int x, int y) {
    HDC dc = GetWindowDC(window);
    const COLORREF c = GetPixel(dc, x, y);
    ReleaseDC(window, dc);
    return c;
}

class XpStyleTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        INITCOMMONCONTROLSEX init{sizeof init, ICC_INTERNET_CLASSES | ICC_UPDOWN_CLASS | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&init);
        WNDCLASSA c{};
        c.lpfnWndProc = &HostProcedure;
        c.hInstance = GetModuleHandleA(nullptr);
        c.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        c.lpszClassName = "XpStyleTestHost";
        c.hCursor = LoadCursor(nullptr, IDC_ARROW);
        RegisterClassA(&c);
    }

    void SetUp() override {
        host_ = CreateWindowExA(0, "XpStyleTestHost", "skin", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 520, 360,
                                nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        ASSERT_TRUE(host_);
        SetForegroundWindow(host_);
        Pump(100);
    }

    void TearDown() override {
        ApplyXPStyle(0);
        DestroyWindow(host_);
        Pump(30);
    }

    // Edits get their sunken frame as real programs give it (a WS_BORDER edit draws its border
    // inside its client area).
    HWND Child(const char* className, const char* text, DWORD style, int x, int y, int w, int h, HWND parent = nullptr) {
        const bool edit = lstrcmpiA(className, "Edit") == 0 && (style & WS_BORDER);
        return Create(edit ? WS_EX_CLIENTEDGE : 0, className, text, edit ? style & ~WS_BORDER : style, x, y, w, h, parent);
    }
    HWND Create(DWORD exStyle, const char* className, const char* text, DWORD style, int x, int y, int w, int h, HWND parent) {
        HWND child = CreateWindowExA(exStyle, className, text, WS_CHILD | WS_VISIBLE | style, x, y, w, h, parent ? parent : host_,
                                     reinterpret_cast<HMENU>(static_cast<intptr_t>(100 + count_++)),
                                     GetModuleHandleA(nullptr), nullptr);
        EXPECT_TRUE(child) << className;
        return child;
    }

    static bool Skinned(HWND window) { return CountSkinRecords(window) == 1; }
    int Clicks() const { return static_cast<int>(reinterpret_cast<intptr_t>(GetPropA(host_, "clicks"))); }

    HWND host_ = nullptr;
    int count_ = 0;
};

TEST_F(XpStyleTest, TakesTheControlsOfItsKindsAndLeavesTheOthersAlone) {
    struct Case {
        const char* name;
        const char* className;
        DWORD style;
        const char* text;
        bool skinned;
    };
    const Case cases[] = {
        {"push button", "Button", BS_PUSHBUTTON | WS_TABSTOP, "OK", true},
        {"default push button", "Button", BS_DEFPUSHBUTTON, "OK", true},
        {"check box", "Button", BS_AUTOCHECKBOX, "check", true},
        {"three-state box", "Button", BS_AUTO3STATE, "three", true},
        {"radio button", "Button", BS_AUTORADIOBUTTON, "radio", true},
        {"push-like check box", "Button", BS_AUTOCHECKBOX | BS_PUSHLIKE, "like", true},
        {"group box", "Button", BS_GROUPBOX, "group", true},
        {"owner-drawn button", "Button", BS_OWNERDRAW, "owner", false},
        {"bitmap button", "Button", BS_PUSHBUTTON | BS_BITMAP, "", false},
        {"edit", "Edit", WS_BORDER, "text", true},
        {"drop-down combo box", "ComboBox", CBS_DROPDOWN, "", true},
        {"drop-down list", "ComboBox", CBS_DROPDOWNLIST, "", true},
        {"simple combo box", "ComboBox", CBS_SIMPLE, "", false},
        {"up-down control", UPDOWN_CLASSA, 0, "", true},
        {"scroll bar", "ScrollBar", SBS_HORZ, "", false},
        {"list box", "ListBox", WS_BORDER, "", false},
        {"progress bar", PROGRESS_CLASSA, 0, "", false},
        {"static text", "Static", 0, "label", false},
    };
    std::vector<HWND> windows;
    int y = 4;
    for (const Case& c : cases) {
        windows.push_back(Child(c.className, c.text, c.style, 4 + (y / 320) * 250, y % 320, 120, 16));
        y += 17;
    }
    HWND address = Child(WC_IPADDRESSA, "", 0, 260, 280, 160, 22);
    ASSERT_TRUE(ApplyXPStyle(1));
    Pump(50);
    for (size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(Skinned(windows[i]), cases[i].skinned) << cases[i].name;
    int fields = 0;
    for (HWND field = FindWindowExA(address, nullptr, "Edit", nullptr); field;
         field = FindWindowExA(address, field, "Edit", nullptr), ++fields)
        EXPECT_FALSE(Skinned(field)) << "an edit of the IP address control";
    EXPECT_EQ(fields, 4);
    EXPECT_FALSE(Skinned(address));
    EXPECT_FALSE(Skinned(host_));
}

TEST_F(XpStyleTest, OwnerDrawnButtonKeepsItsOwnLook) {
    HWND owner = Child("Button", "owner", BS_OWNERDRAW, 10, 10, 100, 30);
    HWND push = Child("Button", "push", BS_PUSHBUTTON, 10, 50, 100, 30);
    ASSERT_TRUE(ApplyXPStyle(1));
    RedrawWindow(host_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
    Pump(50);
    EXPECT_EQ(WindowPixel(owner, 50, 15), kOwnerDrawnRed);
    EXPECT_EQ(WindowPixel(push, 0, 15), SchemeColours(1).buttonBorder);  // the skin's frame, for contrast
}

TEST_F(XpStyleTest, DisablingRepaintsTheDisabledLookAndEnablingRestoresIt) {
    HWND button = Child("Button", "push", BS_PUSHBUTTON, 10, 10, 100, 30);
    ASSERT_TRUE(ApplyXPStyle(2));
    Pump(30);
    const COLORREF normal = SchemeColours(2).buttonBorder, disabled = DisabledColours{}.border;
    EXPECT_EQ(WindowPixel(button, 0, 15), normal);
    EnableWindow(button, FALSE);
    Pump(30);
    EXPECT_EQ(WindowPixel(button, 0, 15), disabled);
    EXPECT_EQ(WindowPixel(button, 50, 2), DisabledColours{}.face);
    EnableWindow(button, TRUE);
    Pump(30);
    EXPECT_EQ(WindowPixel(button, 0, 15), normal);
    EXPECT_NE(WindowPixel(button, 50, 2), DisabledColours{}.face);
}

// A parent that changes its colour makes a new brush and deletes the old one; the button's
// corners, painted with the parent's background, must take the new colour (never black from a
// deleted brush), even when the button repaints without an erase first.
TEST_F(XpStyleTest, CornersFollowTheParentsColourAfterItsOldBrushIsDeleted) {
    HBRUSH green = CreateSolidBrush(RGB(0, 128, 0));
    SetPropA(host_, "brush", green);
    HWND button = Child("Button", "push", BS_PUSHBUTTON, 10, 10, 100, 30);
    ASSERT_TRUE(ApplyXPStyle(1));
    Pump(30);
    EXPECT_EQ(WindowPixel(button, 0, 0), RGB(0, 128, 0));

    HBRUSH blue = CreateSolidBrush(RGB(0, 0, 160));
    SetPropA(host_, "brush", blue);
    DeleteObject(green);
    InvalidateRect(button, nullptr, FALSE);
    UpdateWindow(button);
    Pump(30);
    EXPECT_EQ(WindowPixel(button, 0, 0), RGB(0, 0, 160));
    RemovePropA(host_, "brush");
    DestroyWindow(button);
    DeleteObject(blue);
}

TEST_F(XpStyleTest, SwitchingOnTwiceSubclassesOnceAndOffRestoresEveryProcedure) {
    HWND button = Child("Button", "push", BS_PUSHBUTTON, 10, 10, 100, 30);
    HWND edit = Child("Edit", "text", WS_BORDER, 10, 50, 100, 22);
    HWND box = Child("Button", "box", BS_AUTOCHECKBOX, 10, 80, 100, 22);
    const LONG_PTR before[] = {GetWindowLongPtrA(button, GWLP_WNDPROC), GetWindowLongPtrA(edit, GWLP_WNDPROC),
                               GetWindowLongPtrA(box, GWLP_WNDPROC)};
    ASSERT_TRUE(ApplyXPStyle(1));
    const LONG_PTR skin = GetWindowLongPtrA(button, GWLP_WNDPROC);
    ASSERT_TRUE(ApplyXPStyle(3));
    for (HWND w : {button, edit, box}) {
        EXPECT_EQ(CountSkinRecords(w), 1);
        ASSERT_TRUE(FindSkinRecord(w));
        // Subclassed over the skin itself, a control would call itself for ever.
        EXPECT_NE(reinterpret_cast<LONG_PTR>(FindSkinRecord(w)->previous), skin);
    }
    // A click goes through the whole chain once.
    RECT r;
    GetWindowRect(button, &r);
    const POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    MouseAt(centre, 0);
    MouseAt(centre, MOUSEEVENTF_LEFTDOWN);
    MouseAt(centre, MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(PumpUntil([&] { return Clicks() > 0; }));
    Pump(30);
    EXPECT_EQ(Clicks(), 1);
    SendMessageA(box, BM_CLICK, 0, 0);
    EXPECT_EQ(SendMessageA(box, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_TRUE(FindSkinRecord(box)->state & skin_state::kChecked);

    EXPECT_TRUE(ApplyXPStyle(0));
    EXPECT_EQ(GetWindowLongPtrA(button, GWLP_WNDPROC), before[0]);
    EXPECT_EQ(GetWindowLongPtrA(edit, GWLP_WNDPROC), before[1]);
    EXPECT_EQ(GetWindowLongPtrA(box, GWLP_WNDPROC), before[2]);
    EXPECT_EQ(FirstSkinRecord(), nullptr);
    EXPECT_FALSE(ApplyXPStyle(0)) << "switching off what is off";
    EXPECT_FALSE(ApplyXPStyle(7));
}

TEST_F(XpStyleTest, ControlCreatedWhileOnIsSkinnedAndLetGoWhenDestroyed) {
    ASSERT_TRUE(ApplyXPStyle(1));
    HWND later = Child("Button", "later", BS_PUSHBUTTON, 10, 10, 100, 30);
    HWND group = Child("Button", "inner", BS_GROUPBOX, 10, 60, 200, 100);
    HWND inside = Child("Edit", "", WS_BORDER, 10, 30, 100, 22, group);
    Pump(30);
    EXPECT_TRUE(Skinned(later));
    EXPECT_TRUE(Skinned(inside));
    EXPECT_EQ(WindowPixel(later, 0, 15), SchemeColours(1).buttonBorder);
    EXPECT_EQ(WindowPixel(inside, 0, 5), SchemeColours(1).editFrame);
    DestroyWindow(later);
    EXPECT_EQ(CountSkinRecords(later), 0);
    ApplyXPStyle(0);
    HWND afterOff = Child("Button", "off", BS_PUSHBUTTON, 10, 10, 100, 30);
    EXPECT_FALSE(Skinned(afterOff));
}

TEST_F(XpStyleTest, EditFrameHasTheSchemeColourAndDisabledAndReadOnlyLooks) {
    HWND edit = Child("Edit", "text", WS_BORDER, 10, 10, 120, 22);
    HWND readOnly = Child("Edit", "fixed", WS_BORDER | ES_READONLY, 10, 40, 120, 22);
    const COLORREF schemeFrames[] = {0x00BD9E7B, 0x007FB9A4, 0x00D7C5C6};
    for (int scheme = 1; scheme <= 3; ++scheme) {
        ASSERT_TRUE(ApplyXPStyle(scheme));
        Pump(30);
        EXPECT_EQ(WindowPixel(edit, 0, 10), schemeFrames[scheme - 1]) << "scheme " << scheme;
        EXPECT_EQ(WindowPixel(edit, 1, 10), GetSysColor(COLOR_WINDOW)) << "scheme " << scheme;
        EXPECT_EQ(WindowPixel(readOnly, 1, 10), GetSysColor(COLOR_BTNFACE)) << "scheme " << scheme;
    }
    EnableWindow(edit, FALSE);
    Pump(30);
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(WindowPixel(edit, 0, 10), RGB(GetRValue(face) - 0x20, GetGValue(face) - 0x20, GetBValue(face) - 0x20));
    EXPECT_EQ(WindowPixel(edit, 1, 10), face);
    SendMessageA(readOnly, EM_SETREADONLY, FALSE, 0);
    Pump(30);
    EXPECT_FALSE(FindSkinRecord(readOnly)->state & skin_state::kReadOnly);
    EXPECT_EQ(WindowPixel(readOnly, 1, 10), GetSysColor(COLOR_WINDOW));
}

TEST_F(XpStyleTest, UpDownNextToAnEditKnowsItsSide) {
    HWND edit = Child("Edit", "5", WS_BORDER, 10, 10, 60, 22);
    HWND spin = Child(UPDOWN_CLASSA, "", UDS_ALIGNRIGHT | UDS_SETBUDDYINT, 0, 0, 16, 22);
    SendMessageA(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit), 0);
    ASSERT_TRUE(ApplyXPStyle(1));
    ASSERT_TRUE(FindSkinRecord(spin) && FindSkinRecord(edit));
    EXPECT_TRUE(FindSkinRecord(spin)->state & skin_state::kAttachedRight);
    EXPECT_TRUE(FindSkinRecord(edit)->state & skin_state::kEditUpDownRight);
}

// The standard controls in each scheme, for a person to look at
// (build/wine/artifacts/xp_style_scheme_N.bmp).
TEST_F(XpStyleTest, PicturesOfEachScheme) {
    Child("Button", "\xC8\xB7\xB6\xA8", BS_DEFPUSHBUTTON | WS_TABSTOP, 20, 20, 90, 30);  // 确定
    Child("Button", "\xCC\xF8\xB9\xFD", BS_PUSHBUTTON, 120, 20, 90, 30);                  // 跳过
    HWND off = Child("Button", "\xBD\xFB\xD3\xC3", BS_PUSHBUTTON, 220, 20, 90, 30);       // 禁用
    EnableWindow(off, FALSE);
    HWND group = Child("Button", "\xD1\xA1\xCF\xEE", BS_GROUPBOX, 20, 64, 290, 120);      // 选项
    HWND check = Child("Button", "\xB8\xF1\xCA\xBD\xD7\xAA\xBB\xBB", BS_AUTOCHECKBOX, 36, 88, 110, 20);  // 格式转换
    SendMessageA(check, BM_SETCHECK, BST_CHECKED, 0);
    Child("Button", "\xCB\xF5\xB7\xC5", BS_AUTOCHECKBOX, 160, 88, 100, 20);  // 缩放
    HWND radio = Child("Button", "\xB0\xB4\xB1\xC8\xC0\xFD", BS_AUTORADIOBUTTON, 36, 116, 100, 20);  // 按比例
    SendMessageA(radio, BM_SETCHECK, BST_CHECKED, 0);
    Child("Button", "\xD7\xD4\xB6\xA8\xD2\xE5", BS_AUTORADIOBUTTON, 160, 116, 100, 20);  // 自定义
    HWND edit = Child("Edit", "100", WS_BORDER | ES_NUMBER, 36, 146, 60, 22);
    HWND spin = Child(UPDOWN_CLASSA, "", UDS_ALIGNRIGHT | UDS_SETBUDDYINT | UDS_ARROWKEYS, 0, 0, 16, 22);
    SendMessageA(spin, UDM_SETBUDDY, reinterpret_cast<WPARAM>(edit), 0);
    HWND combo = Child("ComboBox", "", CBS_DROPDOWNLIST | WS_VSCROLL, 160, 146, 120, 120);
    for (const char* item : {"BMP", "GIF", "JPG", "PNG", "ICO"}) SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item));
    SendMessageA(combo, CB_SETCURSEL, 2, 0);
    Child("Edit", "\xD6\xBB\xB6\xC1", WS_BORDER | ES_READONLY, 330, 20, 150, 22);  // 只读
    (void)group;
    const std::string folder = std::string(RUVELTO_BINARY_DIR) + "/artifacts";
    CreateDirectoryA(("Z:" + folder).c_str(), nullptr);
    for (int scheme = 1; scheme <= 3; ++scheme) {
        ASSERT_TRUE(ApplyXPStyle(scheme));
        RedrawWindow(host_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        Pump(100);
        EXPECT_TRUE(forms_test::SaveWindowPicture(host_, folder + "/xp_style_scheme_" + std::to_string(scheme) + ".bmp"));
    }
}

}  // namespace
}  // namespace ruvelto::extui
