#include "tests/app/e2e/ruvelto_driver.h"

#include <commctrl.h>
#include <shlobj.h>
#include <psapi.h>

#include <cstdlib>
#include <cstring>
#include <vector>

#include "tests/app/e2e/remote_memory.h"

namespace ruvelto::testing {
namespace {

struct WindowSearch {
    DWORD processId;
    HWND found = nullptr;
};

struct CaptionSearch {
    DWORD processId;
    const std::string* caption;
    HWND found = nullptr;
};

BOOL CALLBACK FindByCaption(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<CaptionSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    if ((search->processId == 0 || pid == search->processId) && *search->caption == text &&
        (search->processId == 0 || IsWindowVisible(window))) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK FindDialog(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    char name[32] = {};
    GetClassNameA(window, name, sizeof name);
    if (pid == search->processId && std::strcmp(name, "#32770") == 0 && IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}

struct ChildSearch {
    HWND main;
    RECT wanted;
    const char* className;
    HWND found = nullptr;
};

BOOL CALLBACK FindChild(HWND child, LPARAM param) {
    auto* search = reinterpret_cast<ChildSearch*>(param);
    if (search->className) {
        char name[64] = {};
        GetClassNameA(child, name, sizeof name);
        if (lstrcmpiA(name, search->className) == 0) {
            search->found = child;
            return FALSE;
        }
        return TRUE;
    }
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, search->main, reinterpret_cast<POINT*>(&r), 2);
    if (r.left == search->wanted.left && r.top == search->wanted.top && r.right == search->wanted.right &&
        r.bottom == search->wanted.bottom) {
        search->found = child;
        return FALSE;
    }
    return TRUE;
}

HWND FindDescendant(HWND main, const char* className) {
    ChildSearch search{main, {}, className};
    EnumChildWindows(main, &FindChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

LRESULT Send(HWND window, UINT message, WPARAM w, LPARAM l) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(window, message, w, l, SMTO_NORMAL, 10000, &result);
    return static_cast<LRESULT>(result);
}

HANDLE OpenForMemory(DWORD pid) {
    return OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE | PROCESS_QUERY_INFORMATION, FALSE,
                       pid);
}

std::string TreeItemText(HWND tree, HANDLE process, HTREEITEM item) {
    RemoteBlock block(process, 1024);
    TVITEMA tv{};
    tv.mask = TVIF_TEXT | TVIF_HANDLE;
    tv.hItem = item;
    tv.pszText = static_cast<char*>(block.at(256));
    tv.cchTextMax = 512;
    block.Write(0, &tv, sizeof tv);
    Send(tree, TVM_GETITEMA, 0, reinterpret_cast<LPARAM>(block.at()));
    return block.ReadText(256, 512);
}

std::vector<HTREEITEM> TreeChildren(HWND tree, HTREEITEM item) {
    std::vector<HTREEITEM> children;
    auto child = reinterpret_cast<HTREEITEM>(Send(tree, TVM_GETNEXTITEM, TVGN_CHILD, reinterpret_cast<LPARAM>(item)));
    while (child) {
        children.push_back(child);
        child = reinterpret_cast<HTREEITEM>(Send(tree, TVM_GETNEXTITEM, TVGN_NEXT, reinterpret_cast<LPARAM>(child)));
    }
    return children;
}

bool SameFolderName(const std::string& text, const std::string& part) {
    if (part.size() == 2 && part[1] == ':') return text.find("(" + part + ")") != std::string::npos || text == part;
    return lstrcmpiA(text.c_str(), part.c_str()) == 0;
}

// The folder names of a GBK path; a trail byte 0x5C (運, 錦...) is no separator.
std::vector<std::string> PathParts(const std::string& path) {
    std::vector<std::string> parts;
    std::string part;
    for (size_t i = 0; i < path.size(); ++i) {
        const char c = path[i];
        if (IsDBCSLeadByte(static_cast<BYTE>(c)) && i + 1 < path.size()) {
            part += c;
            part += path[++i];
        } else if (c == '\\') {
            if (!part.empty()) parts.push_back(part);
            part.clear();
        } else {
            part += c;
        }
    }
    if (!part.empty()) parts.push_back(part);
    return parts;
}

}  // namespace

std::string WinelibProgram() { return RUVELTO_BINARY_DIR "/app/ruvelto.exe.so"; }

std::string ProgramUnderTest() {
    const char* chosen = std::getenv("RUVELTO_PROGRAM");
    return chosen && *chosen ? chosen : WinelibProgram();
}

bool RuveltoDriver::Start(const std::string& unixProgram) {
    companions_.SetInstalled(kArchiverKey, true);
    if (!program_.Start(WindowsPath(unixProgram), "")) return false;
    WaitFor([&] { return (main_ = ProgramWindow("Ruvelto 1.0")) != nullptr; }, 30000);
    // Let the window finish its start-up (the tree fills its root) before anything is driven.
    return main_ && WaitFor([&] { return TreeView() && Send(TreeView(), TVM_GETCOUNT, 0, 0) > 0; }, 20000);
}

HWND RuveltoDriver::Control(const ClientRect& rect) const {
    ChildSearch search{main_, {rect.left, rect.top, rect.left + rect.width, rect.top + rect.height}, nullptr};
    EnumChildWindows(main_, &FindChild, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND RuveltoDriver::ListView() const { return FindDescendant(main_, WC_LISTVIEWA); }
HWND RuveltoDriver::TreeView() const { return FindDescendant(main_, WC_TREEVIEWA); }
HWND RuveltoDriver::StatusBar() const { return FindDescendant(main_, STATUSCLASSNAMEA); }
HWND RuveltoDriver::SpinButton() const { return FindDescendant(main_, UPDOWN_CLASSA); }

void RuveltoDriver::Click(const ClientRect& control) { PostMessageA(Control(control), BM_CLICK, 0, 0); }

void RuveltoDriver::Type(const ClientRect& edit, const std::string& text) {
    Send(Control(edit), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

bool RuveltoDriver::IsChecked(const ClientRect& box) const {
    return Send(Control(box), BM_GETCHECK, 0, 0) == BST_CHECKED;
}

std::string RuveltoDriver::Text(const ClientRect& control) const {
    // Asked of the control itself: GetWindowText of another process's window reads only the
    // caption it was created with, not what an edit box holds now.
    char text[1024] = {};
    Send(Control(control), WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

int RuveltoDriver::Progress() const {
    return static_cast<int>(Send(Control(controls::kProgress), PBM_GETPOS, 0, 0));
}

std::string RuveltoDriver::StatusText() const {
    // The bar copies the whole text, however long: the block must hold it. Wine counts the
    // length in characters, each of which may take two bytes.
    const size_t length = 2 * LOWORD(Send(StatusBar(), SB_GETTEXTLENGTHA, 0, 0));
    HANDLE process = OpenForMemory(ProcessId());
    std::string text;
    {
        RemoteBlock block(process, length + 1);
        Send(StatusBar(), SB_GETTEXTA, 0, reinterpret_cast<LPARAM>(block.at()));
        text = block.ReadText(0, length + 1);
    }
    CloseHandle(process);
    return text;
}

bool RuveltoDriver::SelectFolder(const std::string& windowsPath) {
    // A folder the tree watches may refresh (re-create its children) while the way down is being
    // walked; walk it again then.
    for (int attempt = 0; attempt < 5; ++attempt) {
        if (TrySelectFolder(windowsPath)) return true;
        Sleep(500);
    }
    return false;
}

bool RuveltoDriver::TrySelectFolder(const std::string& windowsPath) {
    HWND tree = TreeView();
    HANDLE process = OpenForMemory(ProcessId());
    std::vector<std::string> parts = PathParts(windowsPath);
    auto root = reinterpret_cast<HTREEITEM>(Send(tree, TVM_GETNEXTITEM, TVGN_ROOT, 0));
    // The drive sits under the computer folder, one or two levels below the root.
    HTREEITEM current = nullptr;
    std::vector<HTREEITEM> level = {root};
    for (int depth = 0; depth < 3 && !current; ++depth) {
        std::vector<HTREEITEM> next;
        for (HTREEITEM item : level) {
            Send(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(item));
            for (HTREEITEM child : TreeChildren(tree, item)) {
                if (SameFolderName(TreeItemText(tree, process, child), parts[0])) {
                    current = child;
                    break;
                }
                next.push_back(child);
            }
            if (current) break;
        }
        level = next;
        if (level.size() > 64) level.resize(64);
    }
    for (size_t i = 1; current && i < parts.size(); ++i) {
        Send(tree, TVM_EXPAND, TVE_EXPAND, reinterpret_cast<LPARAM>(current));
        HTREEITEM found = nullptr;
        for (HTREEITEM child : TreeChildren(tree, current))
            if (SameFolderName(TreeItemText(tree, process, child), parts[i])) found = child;
        current = found;
    }
    CloseHandle(process);
    if (!current) return false;
    Send(tree, TVM_ENSUREVISIBLE, 0, reinterpret_cast<LPARAM>(current));
    if (!Send(tree, TVM_SELECTITEM, TVGN_CARET, reinterpret_cast<LPARAM>(current))) return false;
    // A handle of an item deleted by a refresh meanwhile may name another item now: the selected
    // item and its parents must carry the path's names.
    process = OpenForMemory(ProcessId());
    auto item = reinterpret_cast<HTREEITEM>(Send(tree, TVM_GETNEXTITEM, TVGN_CARET, 0));
    bool same = true;
    for (size_t i = parts.size(); same && i-- > 0;) {
        same = item && SameFolderName(TreeItemText(tree, process, item), parts[i]);
        item = reinterpret_cast<HTREEITEM>(Send(tree, TVM_GETNEXTITEM, TVGN_PARENT, reinterpret_cast<LPARAM>(item)));
    }
    CloseHandle(process);
    return same;
}

int RuveltoDriver::RowCount() const { return static_cast<int>(Send(ListView(), LVM_GETITEMCOUNT, 0, 0)); }

std::string RuveltoDriver::RowText(int row, int column) const { return ListText(ListView(), row, column); }

int RuveltoDriver::ListRowCount(HWND list) const { return static_cast<int>(Send(list, LVM_GETITEMCOUNT, 0, 0)); }

std::string RuveltoDriver::ListText(HWND list, int row, int column) const {
    HANDLE process = OpenForMemory(ProcessId());
    std::string text;
    {
        RemoteBlock block(process, 2048);
        LVITEMA item{};
        item.iSubItem = column;
        item.pszText = static_cast<char*>(block.at(512));
        item.cchTextMax = 1024;
        block.Write(0, &item, sizeof item);
        Send(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(block.at()));
        text = block.ReadText(512, 1024);
    }
    CloseHandle(process);
    return text;
}

bool RuveltoDriver::DropFiles(const std::vector<std::string>& windowsPaths) {
    std::string block(sizeof(DROPFILES), '\0');
    DROPFILES header{};
    header.pFiles = sizeof(DROPFILES);
    header.fWide = FALSE;
    std::memcpy(block.data(), &header, sizeof header);
    for (const std::string& path : windowsPaths) block += path + '\0';
    block += '\0';
    // The program owns the block from here on, as it owns the shell's; it is never freed.
    HANDLE process = OpenForMemory(ProcessId());
    void* remote = VirtualAllocEx(process, nullptr, block.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    const bool written = remote && WriteProcessMemory(process, remote, block.data(), block.size(), nullptr);
    CloseHandle(process);
    return written && PostMessageA(main_, WM_DROPFILES, reinterpret_cast<WPARAM>(remote), 0);
}

bool RuveltoDriver::AcceptsDrops() const { return (GetWindowLongA(main_, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0; }


HWND RuveltoDriver::ProgramWindow(const std::string& caption) const {
    CaptionSearch search{ProcessId(), &caption};
    EnumWindows(&FindByCaption, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND RuveltoDriver::ChildOfClass(HWND window, const char* className) { return FindDescendant(window, className); }

HWND RuveltoDriver::ChildWithText(HWND window, const std::string& text) {
    CaptionSearch search{0, &text};
    EnumChildWindows(window, &FindByCaption, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

int RuveltoDriver::CheckState(int row) const {
    const LRESULT state = Send(ListView(), LVM_GETITEMSTATE, static_cast<WPARAM>(row), LVIS_STATEIMAGEMASK);
    return static_cast<int>((state & LVIS_STATEIMAGEMASK) >> 12) - 1;
}

void RuveltoDriver::SetCheck(int row, bool checked) {
    HANDLE process = OpenForMemory(ProcessId());
    {
        RemoteBlock block(process, 512);
        LVITEMA item{};
        item.stateMask = LVIS_STATEIMAGEMASK;
        item.state = INDEXTOSTATEIMAGEMASK(checked ? 2 : 1);
        block.Write(0, &item, sizeof item);
        Send(ListView(), LVM_SETITEMSTATE, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(block.at()));
    }
    CloseHandle(process);
}

void RuveltoDriver::ClickRow(int row) {
    HWND list = ListView();
    HANDLE process = OpenForMemory(ProcessId());
    RECT label{LVIR_LABEL, 0, 0, 0};
    {
        RemoteBlock block(process, 64);
        block.Write(0, &label, sizeof label);
        Send(list, LVM_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(block.at()));
        block.Read(0, &label, sizeof label);
    }
    CloseHandle(process);
    POINT at{(label.left + label.right) / 2, (label.top + label.bottom) / 2};
    ClientToScreen(list, &at);
    // A click that reaches the window before it has come to the front, or before the cursor
    // has arrived, lands elsewhere: wait for both (briefly; a caller that must see the click's
    // effect clicks again).
    SetForegroundWindow(main_);
    SetCursorPos(at.x, at.y);
    POINT cursor{};
    WaitFor([&] { return GetForegroundWindow() == main_ && GetCursorPos(&cursor) && cursor.x == at.x && cursor.y == at.y; },
            2000);
    INPUT inputs[2] = {};
    inputs[0].type = inputs[1].type = INPUT_MOUSE;
    inputs[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
    inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
    SendInput(2, inputs, sizeof(INPUT));
}

MessageBoxSeen RuveltoDriver::NextMessageBox(DWORD milliseconds, int answer) {
    return DismissMessageBox(ProcessId(), milliseconds, answer);
}

bool RuveltoDriver::MessageBoxShown() const { return VisibleDialog() != nullptr; }

HWND RuveltoDriver::VisibleDialog() const {
    WindowSearch search{program_.info.dwProcessId};
    EnumWindows(&FindDialog, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

bool RuveltoDriver::WaitFor(const std::function<bool()>& condition, DWORD milliseconds) {
    const DWORD start = GetTickCount();
    while (!condition()) {
        if (GetTickCount() - start > milliseconds) return false;
        Sleep(50);
    }
    return true;
}

size_t RuveltoDriver::MemoryInUse() const {
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, ProcessId());
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(process, &counters, sizeof counters);
    CloseHandle(process);
    return counters.PagefileUsage;
}

}  // namespace ruvelto::testing
