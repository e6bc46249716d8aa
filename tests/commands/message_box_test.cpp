// Message boxes as a person meets them: a separate program (message_box_child) shows the box,
// this test finds it, reads its title, text, icon and buttons, looks at the program's other
// window behind it, presses a button and checks the result code the program got. One box is kept
// as a picture (build/wine/artifacts/message_box.bmp).
#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "tests/forms/forms_fixture.h"
#include "tests/runtime/child_process.h"

namespace ruvelto::testing {
namespace {

const std::string kInformation = "\xD0\xC5\xCF\xA2\xA3\xBA";         // 信息：
const std::string kSystemTip = "\xCF\xB5\xCD\xB3\xCC\xE1\xCA\xBE";  // 系统提示
const std::string kTrue = "\xD5\xE6";                               // 真
const std::string kAh = "\xB0\xA1";                                 // 啊

struct BoxSeen {
    HWND box = nullptr;
    std::string title;
    std::string text;
    bool icon = false;
    std::set<int> buttons;
    bool topmost = false;
    bool bystanderEnabled = false;
};

struct Search {
    DWORD pid;
    const char* className;
    HWND found = nullptr;
};

BOOL CALLBACK FindWindowOf(HWND window, LPARAM param) {
    auto* s = reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char cls[64] = {};
    GetClassNameA(window, cls, sizeof cls);
    if (pid == s->pid && std::string(cls) == s->className && IsWindowVisible(window)) {
        s->found = window;
        return FALSE;
    }
    return TRUE;
}

HWND WaitForWindow(DWORD pid, const char* className, DWORD milliseconds) {
    Search s{pid, className};
    for (DWORD start = GetTickCount(); !s.found && GetTickCount() - start < milliseconds; Sleep(50))
        EnumWindows(&FindWindowOf, reinterpret_cast<LPARAM>(&s));
    return s.found;
}

BOOL CALLBACK ReadChild(HWND child, LPARAM param) {
    auto* seen = reinterpret_cast<BoxSeen*>(param);
    char cls[32] = {};
    GetClassNameA(child, cls, sizeof cls);
    const std::string c = cls;
    if (c == "Static" || c == "static") {
        if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            seen->icon = seen->icon || SendMessageA(child, STM_GETICON, 0, 0) != 0;
        } else {
            char text[512] = {};
            GetWindowTextA(child, text, sizeof text);
            if (text[0]) seen->text = text;
        }
    } else if ((c == "Button" || c == "button") && IsWindowVisible(child)) {
        seen->buttons.insert(GetDlgCtrlID(child));
    }
    return TRUE;
}

BoxSeen ReadBox(DWORD pid) {
    BoxSeen seen;
    seen.box = WaitForWindow(pid, "#32770", 20000);
    if (!seen.box) return seen;
    Sleep(150);  // let the box finish laying itself out
    char title[256] = {};
    GetWindowTextA(seen.box, title, sizeof title);
    seen.title = title;
    EnumChildWindows(seen.box, &ReadChild, reinterpret_cast<LPARAM>(&seen));
    seen.topmost = (GetWindowLongA(seen.box, GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    if (HWND bystander = WaitForWindow(pid, "RuveltoBoxBystander", 1000)) seen.bystanderEnabled = IsWindowEnabled(bystander);
    return seen;
}

// Clicks a button with the mouse, as a person would: the pointer moves onto it, presses, releases.
// Every event carries the position itself: a press that relied on an earlier cursor move could
// land where the pointer was before.
void ClickButton(HWND box, int id) {
    HWND button = GetDlgItem(box, id);
    ASSERT_NE(button, nullptr);
    RECT r;
    GetWindowRect(button, &r);
    const POINT at{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    SetForegroundWindow(box);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = at.x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    input.mi.dy = at.y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    for (DWORD action : {0ul, static_cast<unsigned long>(MOUSEEVENTF_LEFTDOWN), static_cast<unsigned long>(MOUSEEVENTF_LEFTUP)}) {
        input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE | action;
        SendInput(1, &input, sizeof input);
        Sleep(60);
    }
}

struct Case {
    const char* name;
    std::string title;
    std::string text;
    bool icon;
    std::set<int> buttons;
    bool systemModal;
    int press;
    int result;
};

std::string Repeat(const std::string& s, int n) {
    std::string out;
    for (int i = 0; i < n; ++i) out += s;
    return out;
}

class MessageBoxCommand : public ::testing::TestWithParam<Case> {};

TEST_P(MessageBoxCommand, ShowsTheValueAndReturnsThePressedButtonsCode) {
    const Case& c = GetParam();
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    const std::string log = std::string(temp) + "ruvelto-box-" + c.name + "-" + std::to_string(GetCurrentProcessId()) + ".log";
    DeleteFileA(log.c_str());
    ChildProcess child;
    ASSERT_TRUE(child.Start(WindowsPath(RUVELTO_BINARY_DIR "/tests/commands/message_box_child.exe.so"),
                            std::string("box ") + c.name + " " + log));
    const BoxSeen seen = ReadBox(child.info.dwProcessId);
    ASSERT_NE(seen.box, nullptr) << "no message box appeared";
    EXPECT_EQ(seen.title, c.title);
    EXPECT_EQ(seen.text, c.text);
    EXPECT_EQ(seen.icon, c.icon);
    EXPECT_EQ(seen.buttons, c.buttons);
    // Task-modal (the default) keeps the program's other windows from taking input meanwhile; a
    // system-modal box stays on top of everything instead and leaves them alone.
    EXPECT_EQ(seen.bystanderEnabled, c.systemModal);
    EXPECT_EQ(seen.topmost, c.systemModal);
    if (c.name == std::string("yes-no")) {  // a picture of one box for a person to look at
        const std::string folder = std::string(RUVELTO_BINARY_DIR) + "/artifacts";
        CreateDirectoryA(("Z:" + folder).c_str(), nullptr);
        EXPECT_TRUE(forms_test::SaveWindowPicture(seen.box, folder + "/message_box.bmp"));
    }
    ClickButton(seen.box, c.press);
    EXPECT_EQ(child.WaitForExit(20000), 0u);
    EXPECT_EQ(ReadTextFile(log), std::to_string(c.result));
    DeleteFileA(log.c_str());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MessageBoxCommand,
    ::testing::Values(
        Case{"int", kInformation, "42", false, {IDOK}, false, IDOK, 0},
        Case{"yes-no", kSystemTip, kTrue, true, {IDYES, IDNO}, false, IDNO, 6},
        Case{"system-modal", kInformation, "2024\xC4\xEA" "5\xD4\xC2" "6\xC8\xD5" "7\xCA\xB1" "8\xB7\xD6" "9\xC3\xEB",
             false, {IDOK, IDCANCEL}, true, IDCANCEL, 1},
        // 150 bytes of text: 49 whole characters fit in 99 bytes.
        Case{"long-text", kInformation, Repeat(kAh, 49), false, {IDABORT, IDRETRY, IDIGNORE}, false, IDIGNORE, 4},
        Case{"abort", kInformation, "a", true, {IDABORT, IDRETRY, IDIGNORE}, false, IDABORT, 2},
        Case{"byte-set", "", "", false, {IDYES, IDNO, IDCANCEL}, false, IDYES, 5},
        Case{"double", kInformation, "-3.5", false, {IDRETRY, IDCANCEL}, false, IDRETRY, 3},
        Case{"float", kInformation, "0.1", false, {IDOK}, false, IDOK, 0},
        Case{"try-continue", kInformation, "x", false, {IDCANCEL, IDTRYAGAIN, IDCONTINUE}, false, IDCONTINUE, 4}),
    [](const ::testing::TestParamInfo<Case>& info) {
        std::string name = info.param.name;
        for (char& ch : name)
            if (ch == '-') ch = '_';
        return name;
    });

}  // namespace
}  // namespace ruvelto::testing
