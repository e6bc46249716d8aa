// The main window's created event: the XP-style skin, the single-instance guard and, while
// neither companion program is installed, the modal companion offer.
#include "app/app_state.h"
#include "app/companion_texts.h"
#include "app/file_drop.h"
#include "app/handlers.h"
#include "app/photo_info_option.h"
#include "app/remembered_options.h"
#include "app/runtime_facade.h"
#include "app/single_instance_guard.h"
#include "image-data/library_command_tables.h"
#include "image-data/windows/main_window_units.h"
#include "image-data/windows/offer_window_units.h"

using namespace ruvelto;
using namespace ruvelto::app;

namespace {

enum CoreCommand : int { kGetWindowHandle = 9, kRegistryItemExists = 10, kLoadWindow = 11 };
constexpr int kApplyXPStyle = 0;  // the XP-style library's command
constexpr int32_t kBlueScheme = 1;

ValueRecord MainWindow() { return UnitValue(main_window::kWindow, main_window::kWindowRecord, kTypeWindow); }

bool CompanionInstalled(const char* registryValue) {
    return CallCoreCommand(image_data::kCoreLibraryCommands[kRegistryItemExists],
                           {IntValue(companion_texts::kRegistryLocalMachine), TextValue(registryValue)})
               .lo != 0;
}

}  // namespace

RUVELTO_HANDLER(ruvelto_on_main_window_created) {
    CallCommand(image_data::kXpStyleLibraryCommands[kApplyXPStyle], {IntValue(kBlueScheme)});
    RestorePhotoInfoChoice();

    const auto window =
        static_cast<int32_t>(CallCoreCommand(image_data::kCoreLibraryCommands[kGetWindowHandle], {MainWindow()}).lo);
    RestoreRememberedOptions();
    AcceptDroppedFiles(window);
    char* tag = CopyText("");
    RunInstanceGuard(App().GuardObject, window, 1, &tag, 0);
    Free(tag);

    if (!CompanionInstalled(companion_texts::kArchiverRegistryValue) &&
        !CompanionInstalled(companion_texts::kBrowserRegistryValue)) {
        // Modal: returns when the offer window is gone.
        CallCoreCommand(image_data::kCoreLibraryCommands[kLoadWindow],
                        {UnitValue(offer_window::kWindow, offer_window::kWindowRecord, kTypeWindow), MainWindow(),
                         BoolValue(true)});
    }
    return kNoAnswer;
}
