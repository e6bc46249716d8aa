#include "app/entry_routine.h"

#include "app/app_state.h"
#include "image-data/program_image_data.h"
#include "runtime/entry_table.h"

namespace ruvelto::app {

int EntryRoutine() {
    const runtime::RuntimeEntryTable& rt = image_data::kRuntimeEntries;
    rt.runtimeHelper(runtime::kHelperStartRuntime);
    CreateAppState();
    rt.runtimeHelper(runtime::kHelperRegisterCleanup, &CleanUpAppState);
    rt.loadStartupWindow(kMainWindowId);
    rt.runMainLoop();
    return 0;
}

}  // namespace ruvelto::app
