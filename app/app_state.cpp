#include "app/app_state.h"

#include "app/program_commands.h"
#include "app/runtime_facade.h"
#include "app/single_instance_guard.h"
#include "image-data/library_command_tables.h"
#include "image-data/program_image_data.h"
#include "runtime/address_word.h"

namespace ruvelto::app {
AppState& App() {
    static AppState state;
    return state;
}

void CreateAppState() {
    AppState& app = App();
    app.PictureObject = NewImageObjectSlot();
    // The object's one word names its class's method table.
    auto guard = static_cast<uint32_t*>(Allocate(4));
    *guard = AddressWord(image_data::constant::ClassMethodTable());
    app.GuardObject = guard;
}

void CleanUpAppState() {
    AppState& app = App();
    Free(app.CurrentPicturePath), app.CurrentPicturePath = nullptr;
    Free(app.SourceFolder), app.SourceFolder = nullptr;
    ReleaseImageObject(app.PictureObject);
    Free(app.PreviewBytes), app.PreviewBytes = nullptr;
    UnloadPicture(app.PreviewPicture), app.PreviewPicture = 0;
    if (app.GuardObject) {
        // Slot 0 of the class's method table is the routine run when an object is released.
        if (void* release = ClassMethod(app.GuardObject, 0)) reinterpret_cast<void (*)(void*)>(release)(app.GuardObject);
        Free(app.GuardObject), app.GuardObject = nullptr;
    }
    Free(app.BrowseInitialFolder), app.BrowseInitialFolder = nullptr;
    app.ListedFiles.clear();
}

BusyScope::BusyScope() { ++App().BusyDepth; }

BusyScope::~BusyScope() {
    if (--App().BusyDepth == 0 && App().CloseRequested) ExitProgram(0);
}

}  // namespace ruvelto::app
