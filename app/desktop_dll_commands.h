// DLL commands of the program image that reach the desktop: accepting files dropped from the
// shell, the open dialog that takes several files, and the clipboard. They follow the program
// image's other DLL commands, in this order.
#pragma once
#include <cstdint>

namespace ruvelto::app::desktop_dll {

constexpr uint32_t kFirst = 38;
enum Command : uint32_t {
    kDragAcceptFiles = kFirst,
    kGetOpenFileNameA,
    kCommDlgExtendedError,
    kOpenClipboard,
    kEmptyClipboard,
    kSetClipboardData,
    kCloseClipboard,
    kGlobalAlloc,
    kGlobalLock,
    kGlobalUnlock,
    kGlobalFree,
};

}  // namespace ruvelto::app::desktop_dll
