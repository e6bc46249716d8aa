// The handlers that couple the option controls of the main window: one output format at most,
// the format and resize switches enabling their controls, the two size modes, and the spin of
// the percentage box.
#include "app/handlers.h"
#include "app/main_window_access.h"
#include "app/program_commands.h"

namespace ruvelto::app {
namespace {

using namespace main_window;

constexpr uint32_t kFormatBoxes[] = {kBmpBox, kGifBox, kJpgBox, kPngBox, kIcoBox};

void ExclusiveFormatChoice(uint32_t box) {
    if (!IsChecked(box)) return;
    for (uint32_t other : kFormatBoxes)
        if (other != box) SetChecked(other, false);
}

}  // namespace
}  // namespace ruvelto::app

using namespace ruvelto::app;
using namespace ruvelto::main_window;

RUVELTO_HANDLER(ruvelto_on_format_bmp) { return ExclusiveFormatChoice(kBmpBox), kNoAnswer; }
RUVELTO_HANDLER(ruvelto_on_format_gif) { return ExclusiveFormatChoice(kGifBox), kNoAnswer; }
RUVELTO_HANDLER(ruvelto_on_format_jpg) { return ExclusiveFormatChoice(kJpgBox), kNoAnswer; }
RUVELTO_HANDLER(ruvelto_on_format_png) { return ExclusiveFormatChoice(kPngBox), kNoAnswer; }
RUVELTO_HANDLER(ruvelto_on_format_ico) { return ExclusiveFormatChoice(kIcoBox), kNoAnswer; }

RUVELTO_HANDLER(ruvelto_on_convert_switch) {
    const bool on = IsChecked(kConvertSwitch);
    for (uint32_t box : kFormatBoxes) SetEnabled(box, on);
    return kNoAnswer;
}

RUVELTO_HANDLER(ruvelto_on_resize_switch) {
    const bool on = IsChecked(kResizeSwitch);
    SetEnabled(kPercentRadio, on);
    SetEnabled(kCustomSizeRadio, on);
    SetEnabled(kPercentage, on);
    SetEnabled(kCustomWidth, false);
    SetEnabled(kCustomHeight, false);
    SetEnabled(kKeepProportionsBox, false);
    return kNoAnswer;
}

RUVELTO_HANDLER(ruvelto_on_percent_size_mode) {
    if (IsChecked(kPercentRadio)) {
        SetEnabled(kPercentage, true);
        SetEnabled(kCustomWidth, false);
        SetEnabled(kCustomHeight, false);
        SetEnabled(kKeepProportionsBox, false);
    }
    return kNoAnswer;
}

RUVELTO_HANDLER(ruvelto_on_custom_size_mode) {
    if (IsChecked(kCustomSizeRadio)) {
        SetEnabled(kPercentage, false);
        SetEnabled(kCustomWidth, true);
        SetEnabled(kCustomHeight, true);
        SetEnabled(kKeepProportionsBox, true);
    }
    return kNoAnswer;
}

// Argument 1 is the direction: 1 up, otherwise down. Down stops at 0.
RUVELTO_HANDLER(ruvelto_on_percentage_spin) {
    const Text text = EditText(kPercentage);
    const int32_t value = ToInteger(text.c_str());
    if (a0 == 1) {
        SetEditText(kPercentage, ToText(value + 1.0).c_str());
    } else if (value != 0) {
        SetEditText(kPercentage, ToText(value - 1.0).c_str());
    }
    return kNoAnswer;
}
