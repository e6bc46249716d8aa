// Entry slots 2-5 and 10-12: command calls, property access, the main loop, the start-up window
// and the runtime helpers.
#include "runtime/entry_table.h"

#include <cstdarg>

#include "runtime/forms_hooks.h"
#include "runtime/heap.h"
#include "runtime/runtime_error.h"
#include "runtime/runtime_state.h"
#include "runtime/startup.h"

namespace ruvelto::runtime {
namespace {

constexpr const char kNoSuchUnit[] =
    "\xD6\xB8\xB6\xA8\xB4\xB0\xBF\xDA\xBB\xF2\xB4\xB0\xBF\xDA\xD7\xE9\xBC\xFE\xB2\xBB\xB4\xE6\xD4\xDA\xBB\xF2"
    "\xC9\xD0\xCE\xB4\xD4\xD8\xC8\xEB";  // 指定窗口或窗口组件不存在或尚未载入
constexpr const char kStartupWindowFailed[] =
    "\xD4\xD8\xC8\xEB\xC6\xF4\xB6\xAF\xB4\xB0\xBF\xDA\xCA\xA7\xB0\xDC";  // 载入启动窗口失败

}  // namespace

ValueRecord EntryCallCommand(CommandEntry entry, int32_t count, ValueRecord* args) {
    ValueRecord result{};  // the command may leave any word as it found it
    entry(&result, count, args);
    return result;
}

uint64_t EntryReadProperty(uint32_t window, uint32_t unit, int32_t index, int32_t subField) {
    if (!Forms().readProperty) RaiseRuntimeError(kNoSuchUnit, 0);
    return Forms().readProperty(window, unit, index, subField);
}

void EntryWriteProperty(uint32_t window, uint32_t unit, int32_t index, int32_t subField, uint32_t lo, uint32_t hi) {
    if (!Forms().writeProperty) RaiseRuntimeError(kNoSuchUnit, 0);
    Forms().writeProperty(window, unit, index, subField, lo, hi);
}

void EntryRunMainLoop() {
    State().mainLoopEntered = true;
    const FormsHooks& forms = Forms();
    if (forms.loadedWindowCount && forms.runMessageLoop && forms.loadedWindowCount() > 0) forms.runMessageLoop();
}

void EntryLoadStartupWindow(uint32_t windowId) {
    if (!Forms().loadStartupWindow || !Forms().loadStartupWindow(windowId)) RaiseRuntimeError(kStartupWindowFailed, 0);
}

intptr_t EntryRuntimeHelper(int32_t helper, ...) {
    va_list args;
    va_start(args, helper);
    intptr_t result = 0;
    switch (helper) {
        case kHelperFindFile: {
            auto pattern = va_arg(args, const char*);
            auto mask = va_arg(args, uint32_t);
            auto anyFile = va_arg(args, int32_t);
            auto handle = va_arg(args, intptr_t*);
            result = reinterpret_cast<intptr_t>(FindFile(pattern, mask, anyFile, handle));
            break;
        }
        case kHelperEndFileSearch: EndFileSearch(va_arg(args, intptr_t)); break;
        case kHelperMakeArrayWritable: {
            auto elementSize = va_arg(args, uint32_t);
            heap::MakeArrayWritable(elementSize, va_arg(args, void**));
            break;
        }
        case kHelperRegisterCleanup: State().cleanupRoutine = va_arg(args, void (*)()); break;
        case kHelperStartRuntime: StartRuntime(); break;
        default: break;  // 4 and 5 read and write properties of data types this program has none of
    }
    va_end(args);
    return result;
}

}  // namespace ruvelto::runtime
