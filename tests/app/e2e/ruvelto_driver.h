// Drives a running ruvelto.exe from this process the way a person would: finds the main window
// and its controls, clicks, types, picks a folder in the tree, reads and checks list rows through
// the program's own memory, and reads and closes its message boxes.
#pragma once
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "tests/app/e2e/companion_registry.h"
#include "tests/runtime/child_process.h"

namespace ruvelto::testing {

// A rectangle in the main window's client area (the roster's rectangles, containers added).
struct ClientRect {
    int left, top, width, height;
};

// The program the end-to-end tests drive (a Unix path): this build's winelib ruvelto.exe.so, or
// the one RUVELTO_PROGRAM names, such as the Windows release's PE ruvelto.exe.
std::string ProgramUnderTest();
// This build's winelib program, whatever RUVELTO_PROGRAM says.
std::string WinelibProgram();

class RuveltoDriver {
public:
    // Starts ruvelto.exe and waits for its main window. A companion program counts as installed
    // meanwhile, so that the program does not stop at its companion offer.
    bool Start(const std::string& unixProgram = ProgramUnderTest());
    DWORD ProcessId() const { return program_.info.dwProcessId; }
    HWND MainWindow() const { return main_; }
    bool Running() { return program_.WaitForExit(0) == STILL_ACTIVE; }
    DWORD WaitForExit(DWORD milliseconds) { return program_.WaitForExit(milliseconds); }

    // The control whose window covers exactly this rectangle.
    HWND Control(const ClientRect& rect) const;
    HWND ListView() const;
    HWND TreeView() const;
    HWND StatusBar() const;
    HWND SpinButton() const;  // the percentage box's up-down control

    // Input, posted so that a handler that opens a box never blocks this process.
    void Click(const ClientRect& control);
    void Type(const ClientRect& edit, const std::string& text);
    bool IsChecked(const ClientRect& box) const;
    std::string Text(const ClientRect& control) const;
    int Progress() const;
    std::string StatusText() const;

    // The folder tree: expands the way down from the computer folder and selects the folder.
    bool SelectFolder(const std::string& windowsPath);

    // The picture list.
    int RowCount() const;
    std::string RowText(int row, int column = 0) const;
    int CheckState(int row) const;  // -1 none, 0 unchecked, 1 checked
    void SetCheck(int row, bool checked);
    void ClickRow(int row);

    // Any list view of the program (the failure list's, say).
    int ListRowCount(HWND list) const;
    std::string ListText(HWND list, int row, int column) const;

    // Files and folders dropped from the shell onto the main window, as the shell's drop target
    // does it: a DROPFILES block in the program's memory posted as WM_DROPFILES. The paths are
    // Windows paths in GBK.
    bool DropFiles(const std::vector<std::string>& windowsPaths);
    // Whether the main window asked the shell for drops (WS_EX_ACCEPTFILES).
    bool AcceptsDrops() const;

    // A visible top-level window of the program with this caption, or null.
    HWND ProgramWindow(const std::string& caption) const;
    // The child window of a window with this text (a button by its caption), or null.
    static HWND ChildWithText(HWND window, const std::string& text);
    // The first child window of a window of this class (a list view of another window), or null.
    static HWND ChildOfClass(HWND window, const char* className);

    // The next message box of the program: read and closed with OK, or with the button answer.
    MessageBoxSeen NextMessageBox(DWORD milliseconds = 20000, int answer = IDOK);
    bool MessageBoxShown() const;
    // A dialog box of the program on screen (message box or common dialog), or null.
    HWND VisibleDialog() const;

    // Waits, polling, until the condition holds.
    static bool WaitFor(const std::function<bool()>& condition, DWORD milliseconds);

    // The program's committed memory, in bytes.
    size_t MemoryInUse() const;

private:
    bool TrySelectFolder(const std::string& windowsPath);

    CompanionRegistry companions_;  // before the program, so that the program ends first
    ChildProcess program_;
    HWND main_ = nullptr;
};

// The main window's controls, in its client coordinates.
namespace controls {
constexpr ClientRect kStartButton{705, 472, 80, 32};
constexpr ClientRect kOutputFolder{389, 478, 208, 24};
constexpr ClientRect kCheckAll{202, 478, 56, 24};
constexpr ClientRect kInvert{263, 478, 56, 24};
constexpr ClientRect kProgress{201, 112, 584, 16};
// In 分组框3 at (127, 12).
constexpr ClientRect kConvertSwitch{127 + 427, 12 + 10, 70, 20};
constexpr ClientRect kResizeSwitch{127 + 224, 12 + 10, 48, 20};
constexpr ClientRect kPercentRadio{127 + 223, 12 + 32, 56, 20};
constexpr ClientRect kCustomRadio{127 + 223, 12 + 59, 56, 20};
constexpr ClientRect kPercentage{127 + 301, 12 + 32, 32, 20};
constexpr ClientRect kCustomWidth{127 + 301, 12 + 59, 32, 20};
constexpr ClientRect kCustomHeight{127 + 355, 12 + 59, 32, 20};
constexpr ClientRect kFormatBmp{127 + 585, 12 + 32, 40, 20};
constexpr ClientRect kFormatGif{127 + 513, 12 + 32, 48, 20};
constexpr ClientRect kFormatJpg{127 + 441, 12 + 32, 48, 20};
constexpr ClientRect kFormatPng{127 + 513, 12 + 59, 40, 20};
constexpr ClientRect kFormatIco{127 + 441, 12 + 59, 40, 20};
constexpr ClientRect kQualityText{127 + 86, 12 + 19, 32, 20};
// In 分组框2 at (6, 318).
constexpr ClientRect kPreviewPanel{6 + 8, 318 + 16, 176, 160};
}  // namespace controls

}  // namespace ruvelto::testing
