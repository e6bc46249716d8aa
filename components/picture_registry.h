// The runtime's list of loaded pictures: picture objects that LoadPicture handed out as handles.
// Drawing accepts only handles in the list; the exit sequence releases what is left. The same
// functions answer the runtime services for registering (2019), releasing (2020) and testing
// (2021) a picture, and decode-to-bitmap (1003).
#pragma once
#include <cstdint>

#include "components/picture.h"

namespace ruvelto::components {

// Adds the picture once (a second registration changes nothing); null is ignored.
void RegisterPicture(DecodedPicture* picture);
// When the picture is in the list: removes it and releases it. Anything else is ignored.
void UnregisterPicture(DecodedPicture* picture);
bool IsPictureRegistered(const DecodedPicture* picture);
// The registered picture a handle names, or null.
DecodedPicture* RegisteredPicture(uint32_t handle);
// Releases every registered picture and empties the list (program exit).
void ReleaseRegisteredPictures();

// Installs the handlers of services 1003, 2019, 2020 and 2021, and the release of the registered
// pictures at exit.
void InstallPictureServices();

}  // namespace ruvelto::components
