// The picture a Button, CheckBox or RadioBox shows instead of its caption: decoded once at
// creation, its icon or a bitmap made for the screen handed to the control, released with it.
#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

#include "components/picture.h"

namespace ruvelto::components {

class ButtonPicture {
public:
    ButtonPicture() = default;
    ButtonPicture(const ButtonPicture&) = delete;
    ButtonPicture& operator=(const ButtonPicture&) = delete;
    ~ButtonPicture() { Release(); }

    // Decodes the bytes and makes the drawable; the style bit the control needs (BS_ICON or
    // BS_BITMAP), or 0 when there is no picture to show (then the caption shows).
    DWORD Load(const std::vector<uint8_t>& bytes);
    // BM_SETIMAGE with the icon or bitmap.
    void Apply(HWND button) const;
    void Release();

private:
    DecodedPicture* picture_ = nullptr;
    PictureDrawable drawable_;
};

}  // namespace ruvelto::components
