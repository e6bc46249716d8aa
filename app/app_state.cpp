#include "app/app_state.h"

#include "image-data/library_command_tables.h"
#include "image-data/program_image_data.h"

namespace ruvelto::app {
namespace {

const runtime::RuntimeEntryTable& Runtime() { return image_data::kRuntimeEntries; }

constexpr int kImageFreeCommand = 10;  // the image class library's `Free`, in its command table
constexpr uint32_t kImageTypeCode = 0x40001;

}  // namespace

AppState& App() {
    static AppState state;
    return state;
}

void CreateAppState() {
    AppState& app = App();
    app.PictureObject = static_cast<void**>(Runtime().allocate(4));
    *app.PictureObject = nullptr;
    auto guard = static_cast<const void**>(Runtime().allocate(4));
    *guard = image_data::constant::ClassMethodTable();
    app.GuardObject = guard;
}

void CleanUpAppState() {
    AppState& app = App();
    Runtime().free(app.CurrentPicturePath), app.CurrentPicturePath = nullptr;
    Runtime().free(app.SourceFolder), app.SourceFolder = nullptr;
    if (app.PictureObject) {
        if (CommandEntry freeImage = image_data::kImageLibraryCommands[kImageFreeCommand]) {
            ValueRecord object{static_cast<uint32_t>(reinterpret_cast<uintptr_t>(app.PictureObject)), 0, kImageTypeCode};
            Runtime().callCommand(freeImage, 1, &object);
        }
        Runtime().free(app.PictureObject), app.PictureObject = nullptr;
    }
    Runtime().free(app.PreviewBytes), app.PreviewBytes = nullptr;
    if (app.GuardObject) {
        // Slot 0 of the class's method table is the routine run when an object is released.
        auto methods = *static_cast<void (*const* const*)(void*)>(app.GuardObject);
        if (methods && methods[0]) methods[0](app.GuardObject);
        Runtime().free(app.GuardObject), app.GuardObject = nullptr;
    }
    Runtime().free(app.BrowseInitialFolder), app.BrowseInitialFolder = nullptr;
}

}  // namespace ruvelto::app
