#include "image-data/windows/window_pictures.h"

extern const unsigned char main_window_background[];
extern const unsigned int main_window_background_size;
extern const unsigned char about_window_picture[];
extern const unsigned int about_window_picture_size;

namespace ruvelto::image_data {

std::vector<uint8_t> MainWindowBackground() {
    return {main_window_background, main_window_background + main_window_background_size};
}

std::vector<uint8_t> AboutWindowPicture() {
    return {about_window_picture, about_window_picture + about_window_picture_size};
}

}  // namespace ruvelto::image_data
