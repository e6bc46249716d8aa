// The application's event handlers, by the symbols the window descriptions bind them to. Each is
// called by the forms engine with up to five argument words; a handler that answers a value
// returns it in the low word with a non-zero high word.
#pragma once
#include <cstdint>

#define RUVELTO_HANDLER(name)                                                                           \
    extern "C" uint64_t name([[maybe_unused]] uint32_t a0, [[maybe_unused]] uint32_t a1,                   \
                             [[maybe_unused]] uint32_t a2, [[maybe_unused]] uint32_t a3,                   \
                             [[maybe_unused]] uint32_t a4)

// Main window: options (option_handlers.cpp).
RUVELTO_HANDLER(ruvelto_on_format_bmp);
RUVELTO_HANDLER(ruvelto_on_format_gif);
RUVELTO_HANDLER(ruvelto_on_format_jpg);
RUVELTO_HANDLER(ruvelto_on_format_png);
RUVELTO_HANDLER(ruvelto_on_format_ico);
RUVELTO_HANDLER(ruvelto_on_convert_switch);
RUVELTO_HANDLER(ruvelto_on_resize_switch);
RUVELTO_HANDLER(ruvelto_on_percent_size_mode);
RUVELTO_HANDLER(ruvelto_on_custom_size_mode);
RUVELTO_HANDLER(ruvelto_on_percentage_spin);
// Main window: the window itself and its menu (window_handlers.cpp).
RUVELTO_HANDLER(ruvelto_on_main_window_close);
RUVELTO_HANDLER(ruvelto_on_exit);
RUVELTO_HANDLER(ruvelto_on_about);
// The picture list (picture_list.cpp).
RUVELTO_HANDLER(ruvelto_on_folder_selected);
RUVELTO_HANDLER(ruvelto_on_add_file);
RUVELTO_HANDLER(ruvelto_on_check_all);
RUVELTO_HANDLER(ruvelto_on_invert_checks);
// The preview and its quality controls (preview.cpp).
RUVELTO_HANDLER(ruvelto_on_list_clicked);
RUVELTO_HANDLER(ruvelto_on_quality_slider);
RUVELTO_HANDLER(ruvelto_on_quality_text);
RUVELTO_HANDLER(ruvelto_on_quality_stepper);
// The output folder (folder_browser.cpp).
RUVELTO_HANDLER(ruvelto_on_choose_output_folder);
// The conversion run (conversion_run.cpp).
RUVELTO_HANDLER(ruvelto_on_start_or_stop);
// The menu item that strips photo information from outputs (photo_info_option.cpp).
RUVELTO_HANDLER(ruvelto_on_strip_photo_info);
// Files dropped on the main window (file_drop.cpp).
RUVELTO_HANDLER(ruvelto_on_files_dropped);
// The remembered check boxes "保持比例" and "包含子文件夹" (remembered_options.cpp).
RUVELTO_HANDLER(ruvelto_on_keep_proportions);
RUVELTO_HANDLER(ruvelto_on_include_subfolders);
// The failure list window and its menu item (failure_list.cpp).
RUVELTO_HANDLER(ruvelto_on_show_failure_list);
RUVELTO_HANDLER(ruvelto_on_failure_list_created);
RUVELTO_HANDLER(ruvelto_on_failure_list_copy);
RUVELTO_HANDLER(ruvelto_on_failure_list_retry);
// Start-up checks: the skin, the single-instance guard and the companion offer (startup_checks.cpp).
RUVELTO_HANDLER(ruvelto_on_main_window_created);
// The companion offer window (companion_offer.cpp).
RUVELTO_HANDLER(ruvelto_on_offer_install);
RUVELTO_HANDLER(ruvelto_on_offer_skip);
RUVELTO_HANDLER(ruvelto_on_offer_created);
RUVELTO_HANDLER(ruvelto_on_offer_close);

namespace ruvelto::app {
constexpr uint64_t kNoAnswer = 0;
inline uint64_t Answer(bool value) { return (uint64_t{1} << 32) | (value ? 1u : 0u); }
}  // namespace ruvelto::app
