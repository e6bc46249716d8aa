#include "app/photo_info_option.h"

#include "app/companion_texts.h"
#include "app/handlers.h"
#include "app/main_window_access.h"
#include "app/runtime_facade.h"
#include "app/texts.h"
#include "image-data/library_command_tables.h"

namespace ruvelto::app {
namespace {

enum CoreCommand : int { kReadIntRegistryItem = 36, kWriteRegistryItem = 37 };
constexpr int32_t kMenuCheckedProperty = 1;

}  // namespace

void RestorePhotoInfoChoice() {
    const ValueRecord stored = CallCoreCommand(image_data::kCoreLibraryCommands[kReadIntRegistryItem],
                                               {IntValue(companion_texts::kRegistryCurrentUser),
                                                TextValue(texts::kStripPhotoInfoRegistryPath), IntValue(0)});
    WriteIntProperty(main_window::kWindow, main_window::kStripPhotoInfoItem, kMenuCheckedProperty, stored.lo ? 1 : 0);
}

bool StripPhotoInfo() {
    return ReadIntProperty(main_window::kWindow, main_window::kStripPhotoInfoItem, kMenuCheckedProperty) != 0;
}

}  // namespace ruvelto::app

using namespace ruvelto;
using namespace ruvelto::app;

RUVELTO_HANDLER(ruvelto_on_strip_photo_info) {
    const bool strip = !StripPhotoInfo();
    WriteIntProperty(main_window::kWindow, main_window::kStripPhotoInfoItem, kMenuCheckedProperty, strip ? 1 : 0);
    CallCoreCommand(image_data::kCoreLibraryCommands[kWriteRegistryItem],
                    {IntValue(companion_texts::kRegistryCurrentUser), TextValue(texts::kStripPhotoInfoRegistryPath),
                     IntValue(strip ? 1 : 0)});
    return kNoAnswer;
}
