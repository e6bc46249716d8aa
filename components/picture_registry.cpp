#include "components/picture_registry.h"

#include <algorithm>
#include <vector>

#include "runtime/program_exit.h"
#include "runtime/service_codes.h"
#include "runtime/services.h"

namespace ruvelto::components {
namespace {

std::vector<DecodedPicture*>& Registered() {
    static std::vector<DecodedPicture*> pictures;
    return pictures;
}

intptr_t Service(int32_t code, intptr_t a1, intptr_t a2) {
    auto* picture = reinterpret_cast<DecodedPicture*>(a1);
    switch (code) {
        case kServicePictureHelper:
            return reinterpret_cast<intptr_t>(
                DecodePictureToBitmap(reinterpret_cast<const uint8_t*>(a1), static_cast<uint32_t>(a2)));
        case kServiceRegisterPicture: RegisterPicture(picture); return 0;
        case kServiceReleasePicture: UnregisterPicture(picture); return 0;
        case kServiceIsPictureRegistered: return IsPictureRegistered(picture) ? 1 : 0;
        default: return 0;
    }
}

}  // namespace

void RegisterPicture(DecodedPicture* picture) {
    if (picture && !IsPictureRegistered(picture)) Registered().push_back(picture);
}

void UnregisterPicture(DecodedPicture* picture) {
    auto& list = Registered();
    auto it = std::find(list.begin(), list.end(), picture);
    if (!picture || it == list.end()) return;
    list.erase(it);
    ReleasePicture(picture);
}

bool IsPictureRegistered(const DecodedPicture* picture) {
    const auto& list = Registered();
    return picture && std::find(list.begin(), list.end(), picture) != list.end();
}

DecodedPicture* RegisteredPicture(uint32_t handle) {
    auto* picture = reinterpret_cast<DecodedPicture*>(static_cast<uintptr_t>(handle));
    return IsPictureRegistered(picture) ? picture : nullptr;
}

void ReleaseRegisteredPictures() {
    std::vector<DecodedPicture*> list;
    list.swap(Registered());
    for (DecodedPicture* picture : list) ReleasePicture(picture);
}

void InstallPictureServices() {
    for (int32_t code : {kServicePictureHelper, kServiceRegisterPicture, kServiceReleasePicture,
                         kServiceIsPictureRegistered})
        runtime::SetServiceHandler(code, &Service);
    // Whatever the program left loaded is released at exit.
    runtime::SetExitStep(runtime::ExitStep::kReleasePictures, &ReleaseRegisteredPictures);
}

}  // namespace ruvelto::components
