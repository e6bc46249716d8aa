/* A small Windows program for the Run tests: it records how it was started (command line, show
 * mode, process id, the state of its window) and how it ends, one line at a time, in the file
 * named by its first argument.
 *
 *   run_probe <record file> <mode> <exit code> [anything...]
 *   modes: quick  - record and exit
 *          linger - sleep 600 ms, then exit
 *          busy   - sleep 3 s without ever looking at messages, then exit
 *          window - show a window as told, then run a message loop until the window is closed
 */
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

static const char *recordFile;

static void Record(const char *line)
{
    HANDLE f = CreateFileA(recordFile, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, NULL, OPEN_ALWAYS, 0, NULL);
    if (f == INVALID_HANDLE_VALUE) return;
    DWORD n;
    WriteFile(f, line, (DWORD)strlen(line), &n, NULL);
    WriteFile(f, "\n", 1, &n, NULL);
    CloseHandle(f);
}

static LRESULT CALLBACK ProbeWindow(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

static void Finish(int code)
{
    char line[64];
    sprintf(line, "exit %d", code);
    Record(line);
    ExitProcess((UINT)code);
}

int main(int argc, char **argv)
{
    if (argc < 4) return 2;
    recordFile = argv[1];
    const char *mode = argv[2];
    const int code = atoi(argv[3]);

    char line[2048];
    snprintf(line, sizeof line, "command line: %s", GetCommandLineA());
    Record(line);
    STARTUPINFOA startup;
    GetStartupInfoA(&startup);
    sprintf(line, "show %d%s", startup.wShowWindow, (startup.dwFlags & STARTF_USESHOWWINDOW) ? "" : " (not asked)");
    Record(line);
    sprintf(line, "pid %lu", GetCurrentProcessId());
    Record(line);

    if (strcmp(mode, "linger") == 0) {
        Sleep(600);
    } else if (strcmp(mode, "busy") == 0) {
        Sleep(3000);
    } else if (strcmp(mode, "window") == 0) {
        WNDCLASSA wc = {0};
        wc.lpfnWndProc = ProbeWindow;
        wc.hInstance = GetModuleHandleA(NULL);
        wc.lpszClassName = "RuveltoRunProbe";
        RegisterClassA(&wc);
        HWND window = CreateWindowA("RuveltoRunProbe", "run probe", WS_OVERLAPPEDWINDOW, 10, 10, 200, 120, NULL, NULL,
                                    wc.hInstance, NULL);
        /* The first show follows what the starter asked for, as WinMain's nCmdShow would have it. */
        ShowWindow(window, (startup.dwFlags & STARTF_USESHOWWINDOW) ? startup.wShowWindow : SW_SHOWDEFAULT);
        sprintf(line, "window visible %d minimised %d maximised %d", IsWindowVisible(window) ? 1 : 0,
                IsIconic(window) ? 1 : 0, IsZoomed(window) ? 1 : 0);
        Record(line);
        Record("ready");
        SetTimer(window, 1, 20000, NULL); /* never outlive a failed test for long */
        MSG m;
        while (GetMessageA(&m, NULL, 0, 0) > 0) {
            if (m.message == WM_TIMER) DestroyWindow(window);
            DispatchMessageA(&m);
        }
    }
    Finish(code);
    return code;
}
