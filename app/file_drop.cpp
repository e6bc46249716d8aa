#include "app/file_drop.h"

#include <string>
#include <vector>

#include "app/app_state.h"
#include "app/desktop_dll_commands.h"
#include "app/handlers.h"
#include "app/picture_adding.h"
#include "app/status_text.h"
#include "app/texts.h"
#include "runtime/entry_table.h"

namespace ruvelto::app {
namespace {

// The forms engine hands the dropped paths over as one text, a path a line.
std::vector<std::string> Lines(const char* text) {
    std::vector<std::string> lines;
    std::string line;
    for (const char* c = text; c && *c; ++c) {
        if (*c != '\n') {
            line += *c;
            continue;
        }
        if (!line.empty()) lines.push_back(line);
        line.clear();
    }
    if (!line.empty()) lines.push_back(line);
    return lines;
}

bool RunUnderWay() { return App().RunActive; }

}  // namespace

void AcceptDroppedFiles(int32_t mainWindow) {
    runtime::CallDllCommand<void>(desktop_dll::kDragAcceptFiles,
                                  reinterpret_cast<void*>(static_cast<intptr_t>(mainWindow)), 1);
}

}  // namespace ruvelto::app

using namespace ruvelto::app;

// Argument: the text of the dropped paths, owned by the forms engine.
RUVELTO_HANDLER(ruvelto_on_files_dropped) {
    // The run reads the rows it works through as it goes: a list that changes under it would
    // have pictures converted or skipped by chance.
    if (RunUnderWay()) return ShowStatusNotice(texts::kBusyTryLater), kNoAnswer;
    const std::vector<std::string> paths = Lines(reinterpret_cast<const char*>(static_cast<uintptr_t>(a0)));
    if (paths.empty()) return kNoAnswer;
    ShowAddedCount(AddPictures(paths));
    return kNoAnswer;
}
