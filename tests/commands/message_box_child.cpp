// A program for the message box tests, so that its boxes can be read from another process: it
// shows a plain top-level window (to see whether the box disables it), calls MessageBox through
// the core library's command table with the arguments of the named case, and writes the result
// code to the log. "location" writes GetRunDirectory and GetExecutableName instead.
//
//   message_box_child box <case> <log>
//   message_box_child location <log>
#include <windows.h>

#include <string>
#include <vector>

#include "tests/commands/command_arguments.h"

using namespace ruvelto;
using namespace ruvelto::testing;

namespace {

const std::string kAh = "\xB0\xA1";                                 // 啊
const std::string kSystemTip = "\xCF\xB5\xCD\xB3\xCC\xE1\xCA\xBE";  // 系统提示

std::vector<ValueRecord> CaseArguments(const std::string& name, ArgumentStore& args) {
    std::string longText;
    for (int i = 0; i < 75; ++i) longText += kAh;  // 150 bytes
    if (name == "int") return {Int(42)};
    if (name == "yes-no") return {Bool(true), Int(MB_YESNO | MB_ICONINFORMATION), args.Text(kSystemTip)};
    if (name == "system-modal") return {Real(45418.297326388889, kTypeDateTime), Int(MB_SYSTEMMODAL | MB_OKCANCEL)};
    if (name == "long-text") return {args.Text(longText), Int(MB_ABORTRETRYIGNORE)};
    if (name == "abort") return {args.Text("a"), Int(MB_ABORTRETRYIGNORE | MB_ICONERROR)};
    if (name == "byte-set") return {args.Bytes({'4', '2'}), Int(MB_YESNOCANCEL), args.Text("")};
    if (name == "double") return {Real(-3.5), Int(MB_RETRYCANCEL)};
    if (name == "float") return {Float(0.1f)};
    if (name == "try-continue") return {args.Text("x"), Int(MB_CANCELTRYCONTINUE)};
    return {};
}

// The C library here is the Unix one: Windows paths go through the platform's own file calls.
void Log(const char* path, const std::string& text) {
    HANDLE f = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (f == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(f, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(f);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::string(argv[1]) == "location") {
        Log(argv[2], TakeText(CallCore(kGetRunDirectory, {})) + "\n" + TakeText(CallCore(kGetExecutableName, {})) + "\n");
        return 0;
    }
    if (argc != 4 || std::string(argv[1]) != "box") return 2;
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = "RuveltoBoxBystander";
    RegisterClassA(&wc);
    HWND bystander = CreateWindowA("RuveltoBoxBystander", "bystander", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 600, 500, 200,
                                   100, nullptr, nullptr, wc.hInstance, nullptr);
    ArgumentStore args;
    const ValueRecord result = CallCore(kMessageBox, CaseArguments(argv[2], args));
    Log(argv[3], std::to_string(static_cast<int32_t>(result.lo)) + (result.type == kTypeInt ? "" : " (not an int)"));
    DestroyWindow(bystander);
    return 0;
}
