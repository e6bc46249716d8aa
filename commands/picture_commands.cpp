#include "commands/picture_commands.h"

#include <new>
#include <string>

#include "commands/command_values.h"
#include "components/picture_registry.h"

namespace ruvelto::core_commands {

void LoadPicture(ValueRecord* result, int32_t count, ValueRecord* args) {
    const commands::Arguments a(count, args);
    components::DecodedPicture* picture = nullptr;
    // A picture that cannot get its memory is no picture (handle 0); the exception never
    // reaches the handler that called the command.
    try {
        if (a[0].type == kTypeText) {
            const std::string name(a.Text(0));
            if (!name.empty()) picture = components::DecodePictureFile(name.c_str());
        } else if (a[0].type == kTypeBytes) {
            const auto bytes = a.ByteSet(0);
            if (!bytes.empty()) picture = components::DecodePicture(bytes.data(), static_cast<uint32_t>(bytes.size()));
        }
        components::RegisterPicture(picture);
    } catch (const std::bad_alloc&) {
        if (picture && !components::IsPictureRegistered(picture)) components::ReleasePicture(picture);
        picture = nullptr;
    }
    commands::SetInt(result, static_cast<int32_t>(reinterpret_cast<uintptr_t>(picture)));
}

void UnloadPicture(ValueRecord*, int32_t count, ValueRecord* args) {
    const commands::Arguments a(count, args);
    const uint32_t handle = static_cast<uint32_t>(a.Int(0));
    if (handle) components::UnregisterPicture(components::RegisteredPicture(handle));
}

}  // namespace ruvelto::core_commands
