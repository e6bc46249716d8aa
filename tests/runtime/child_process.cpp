#include "tests/runtime/child_process.h"

#include <vector>

namespace ruvelto::testing {
namespace {

struct Search {
    DWORD processId;
    HWND box = nullptr;
};

BOOL CALLBACK FindBox(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<Search*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char className[32] = {};
    GetClassNameA(window, className, sizeof className);
    if (pid == search->processId && std::string(className) == "#32770" && IsWindowVisible(window)) {
        search->box = window;
        return FALSE;
    }
    return TRUE;
}

struct Parts {
    int answer = IDOK;
    std::string text;
    HWND button = nullptr;
    bool icon = false;
};

BOOL CALLBACK ReadPart(HWND child, LPARAM param) {
    auto* parts = reinterpret_cast<Parts*>(param);
    char className[32] = {};
    GetClassNameA(child, className, sizeof className);
    std::string cls = className;
    if (cls == "Static" || cls == "static") {
        if ((GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) {
            parts->icon = SendMessageA(child, STM_GETICON, 0, 0) != 0;
        } else {
            char text[1024] = {};
            GetWindowTextA(child, text, sizeof text);
            if (text[0]) parts->text = text;
        }
    } else if ((cls == "Button" || cls == "button") && GetDlgCtrlID(child) == parts->answer) {
        parts->button = child;
    }
    return TRUE;
}

}  // namespace

std::string WindowsPath(const std::string& unixPath) {
    std::string path = "Z:" + unixPath;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

bool ChildProcess::Start(const std::string& exe, const std::string& arguments) {
    STARTUPINFOA si{};
    si.cb = sizeof si;
    std::string commandLine = "\"" + exe + "\" " + arguments;
    std::vector<char> buffer(commandLine.begin(), commandLine.end());
    buffer.push_back(0);
    // Started elsewhere than its own folder, as from a shortcut: start-up must move there itself.
    char elsewhere[MAX_PATH];
    GetTempPathA(MAX_PATH, elsewhere);
    started = CreateProcessA(nullptr, buffer.data(), nullptr, nullptr, FALSE, 0, nullptr, elsewhere, &si, &info);
    return started;
}

DWORD ChildProcess::WaitForExit(DWORD milliseconds) {
    if (!started) return STILL_ACTIVE;
    WaitForSingleObject(info.hProcess, milliseconds);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(info.hProcess, &code);
    return code;
}

ChildProcess::~ChildProcess() {
    if (!started) return;
    if (WaitForExit(0) == STILL_ACTIVE) TerminateProcess(info.hProcess, 1);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
}

MessageBoxSeen DismissMessageBox(DWORD processId, DWORD milliseconds, int answer) {
    MessageBoxSeen seen;
    DWORD start = GetTickCount();
    Search search{processId};
    while (!search.box && GetTickCount() - start < milliseconds) {
        EnumWindows(&FindBox, reinterpret_cast<LPARAM>(&search));
        if (!search.box) Sleep(50);
    }
    if (!search.box) return seen;
    Sleep(100);  // let the box finish laying itself out
    seen.found = true;
    char title[256] = {};
    GetWindowTextA(search.box, title, sizeof title);
    seen.title = title;
    Parts parts;
    parts.answer = answer;
    EnumChildWindows(search.box, &ReadPart, reinterpret_cast<LPARAM>(&parts));
    seen.text = parts.text;
    seen.errorIcon = parts.icon;
    if (parts.button) PostMessageA(parts.button, BM_CLICK, 0, 0);
    else PostMessageA(search.box, WM_COMMAND, static_cast<WPARAM>(answer), 0);
    // Gone before the caller looks for the next box, which would otherwise find this one again.
    for (DWORD waited = 0; waited < 5000 && IsWindow(search.box) && IsWindowVisible(search.box); waited += 20) Sleep(20);
    return seen;
}

std::string ReadTextFile(const std::string& windowsPath) {
    HANDLE f = CreateFileA(windowsPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return "";
    std::string text;
    char buffer[4096];
    DWORD n;
    while (ReadFile(f, buffer, sizeof buffer, &n, nullptr) && n) text.append(buffer, n);
    CloseHandle(f);
    return text;
}

}  // namespace ruvelto::testing
