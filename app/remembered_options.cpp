#include "app/remembered_options.h"

#include "app/companion_texts.h"
#include "app/handlers.h"
#include "app/main_window_access.h"
#include "app/runtime_facade.h"
#include "app/texts.h"
#include "image-data/library_command_tables.h"

namespace ruvelto::app {
namespace {

using namespace main_window;

enum CoreCommand : int { kReadIntRegistryItem = 36, kWriteRegistryItem = 37 };

struct RememberedBox {
    uint32_t box;
    const char* registryPath;
};
constexpr RememberedBox kKeepProportionsOption{kKeepProportionsBox, texts::kKeepProportionsRegistryPath};
constexpr RememberedBox kSubfoldersOption{kSubfoldersBox, texts::kSubfoldersRegistryPath};

void Restore(const RememberedBox& option) {
    const ValueRecord stored =
        CallCoreCommand(image_data::kCoreLibraryCommands[kReadIntRegistryItem],
                        {IntValue(companion_texts::kRegistryCurrentUser), TextValue(option.registryPath), IntValue(0)});
    SetChecked(option.box, stored.lo != 0);
}

void Remember(const RememberedBox& option) {
    CallCoreCommand(image_data::kCoreLibraryCommands[kWriteRegistryItem],
                    {IntValue(companion_texts::kRegistryCurrentUser), TextValue(option.registryPath),
                     IntValue(IsChecked(option.box) ? 1 : 0)});
}

}  // namespace

void RestoreRememberedOptions() {
    Restore(kKeepProportionsOption);
    Restore(kSubfoldersOption);
}

bool KeepProportions() { return IsChecked(kKeepProportionsBox); }
bool IncludeSubfolders() { return IsChecked(kSubfoldersBox); }

}  // namespace ruvelto::app

using namespace ruvelto::app;

RUVELTO_HANDLER(ruvelto_on_keep_proportions) { return Remember(kKeepProportionsOption), kNoAnswer; }
RUVELTO_HANDLER(ruvelto_on_include_subfolders) { return Remember(kSubfoldersOption), kNoAnswer; }
