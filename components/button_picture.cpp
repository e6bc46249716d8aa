#include "components/button_picture.h"

namespace ruvelto::components {

DWORD ButtonPicture::Load(const std::vector<uint8_t>& bytes) {
    Release();
    if (bytes.empty()) return 0;
    picture_ = DecodePicture(bytes.data(), static_cast<uint32_t>(bytes.size()));
    if (!picture_) return 0;
    HDC screen = GetDC(nullptr);
    bool made = MakeDrawable(screen, *picture_, &drawable_);
    ReleaseDC(nullptr, screen);
    if (!made) {
        Release();
        return 0;
    }
    return IsIconPicture(*picture_) ? BS_ICON : BS_BITMAP;
}

void ButtonPicture::Apply(HWND button) const {
    if (!button || !picture_) return;
    if (drawable_.icon) {
        SendMessageA(button, BM_SETIMAGE, IMAGE_ICON, reinterpret_cast<LPARAM>(drawable_.icon));
    } else if (drawable_.bitmap) {
        SendMessageA(button, BM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(drawable_.bitmap));
    }
}

void ButtonPicture::Release() {
    DeleteDrawable(&drawable_);
    drawable_ = {};
    ReleasePicture(picture_);
    picture_ = nullptr;
}

}  // namespace ruvelto::components
