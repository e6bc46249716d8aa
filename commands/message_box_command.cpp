// MessageBox: any value shown in a box without owner, the pressed button as a result code.
#include <windows.h>

#include "commands/system_commands.h"

#include <string>

#include "commands/command_values.h"
#include "commands/message_text.h"

namespace ruvelto::core_commands {
namespace {

const char kDefaultTitle[] = "\xD0\xC5\xCF\xA2\xA3\xBA";  // 信息：

// Result codes: 0 OK, 1 Cancel, 2 Abort, 3 Retry, 4 Ignore, 5 Yes, 6 No; a failure gives 0.
int32_t ResultCode(int button) {
    switch (button) {
    case IDOK: return 0;
    case IDCANCEL: return 1;
    case IDABORT: return 2;
    case IDRETRY: return 3;
    case IDIGNORE: return 4;
    case IDYES: return 5;
    case IDNO: return 6;
    // Cancel / Try Again / Continue is the newer form of Abort / Retry / Ignore.
    case IDTRYAGAIN: return 3;
    case IDCONTINUE: return 4;
    default: return 0;
    }
}

}  // namespace

void MessageBox(ValueRecord* result, int32_t count, ValueRecord* args) {
    const commands::Arguments a(count, args);
    const std::string text = commands::MessageText(a.View(0));
    const std::string title = a.Given(2) ? std::string(a.Text(2)) : kDefaultTitle;
    UINT style = a.Given(1) ? static_cast<UINT>(a.Int(1)) : 0;
    // Without an owner the box would leave the program's windows usable behind it.
    if (!(style & MB_SYSTEMMODAL)) style |= MB_TASKMODAL;
    commands::SetInt(result, ResultCode(MessageBoxA(nullptr, text.c_str(), title.c_str(), style)));
}

}  // namespace ruvelto::core_commands
