// Files dropped on a window from the desktop shell: the window's "files dropped" event gets their
// full paths as one text, one path a line, in the order the shell gives them. Only windows that
// asked for drops (DragAcceptFiles) receive them.
#include <windows.h>
#include <shellapi.h>

#include <cstring>
#include <string>

#include "forms/form_window.h"
#include "runtime/address_word.h"
#include "runtime/heap.h"

namespace ruvelto::forms {

void FormWindow::OnDropFiles(HDROP drop) {
    std::string paths;
    const UINT count = DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DragQueryFileA(drop, i, nullptr, 0);
        if (length == 0) continue;
        std::string path(length + 1, '\0');
        if (DragQueryFileA(drop, i, path.data(), length + 1) == 0) continue;
        path.resize(std::strlen(path.c_str()));
        paths += path;
        paths += '\n';
    }
    DragFinish(drop);
    if (paths.empty()) return;
    char* text = static_cast<char*>(heap::Allocate(static_cast<uint32_t>(paths.size() + 1)));
    std::memcpy(text, paths.c_str(), paths.size() + 1);
    RaiseWindowEvent(kWindowFilesDropped, {AddressWord(text)});
    heap::Free(text);
}

}  // namespace ruvelto::forms
