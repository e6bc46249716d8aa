// Starting a test program in a process of its own and dealing with the message boxes it shows,
// the way a person would: find the box, read its text, press its button.
#pragma once
#include <windows.h>

#include <string>

namespace ruvelto::testing {

// A Unix path of the build as a Windows path (Wine's Z: drive).
std::string WindowsPath(const std::string& unixPath);

struct ChildProcess {
    PROCESS_INFORMATION info{};
    bool started = false;

    bool Start(const std::string& exe, const std::string& arguments);
    // The exit code once the process has ended, or STILL_ACTIVE after the time-out.
    DWORD WaitForExit(DWORD milliseconds);
    ~ChildProcess();
};

struct MessageBoxSeen {
    bool found = false;
    std::string title;
    std::string text;
    bool errorIcon = false;
};

// Waits for a message box of the process, reads it and presses the button with the id answer
// (its OK button by default; IDYES or IDNO for a question).
MessageBoxSeen DismissMessageBox(DWORD processId, DWORD milliseconds, int answer = IDOK);

std::string ReadTextFile(const std::string& windowsPath);

}  // namespace ruvelto::testing
