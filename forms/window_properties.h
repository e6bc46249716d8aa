// The window type's own properties (indexes 8-31) and their blob, version 6: lower versions lack
// the later fields, which keep their defaults; a higher version is refused. Portable.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace ruvelto::forms {

enum WindowProperty : int32_t {
    kCaption = 8,
    kBorderStyle,
    kBackColor,
    kPicture,
    kPictureMode,
    kSound,
    kSoundMode,
    kControlBox,
    kMaxButton,
    kMinButton,
    kPosition,
    kMovable,
    kIcon,
    kEnterMovesFocus,
    kEscCloses,
    kF1Help,
    kHelpFile,
    kHelpContext,
    kShowInTaskbar,
    kDragByClient,
    kShape,
    kAlwaysOnTop,
    kKeepActiveCaption,
    kClassName,  // 31
};

struct WindowProperties {
    static constexpr uint32_t kVersion = 6;

    std::string caption;
    uint32_t borderStyle = 2;  // 0 none, 1 resizable, 2 fixed, 3/4 tool window, 5/6 with client edge
    uint32_t backColor = 0xFF000000;
    std::vector<uint8_t> picture;
    uint32_t pictureMode = 1;  // 0 top-left, 1 tiled, 2 centred and shrunk, 3 stretched
    std::vector<uint8_t> sound;
    uint32_t soundMode = 0;  // 0 looping, 1 once, 2 silent
    bool controlBox = true;
    bool maxButton = false;
    bool minButton = false;
    uint32_t position = 1;  // 0 as stored, 1 centred, 2 minimised, 3 maximised
    bool movable = true;
    std::vector<uint8_t> icon;
    bool enterMovesFocus = false;
    bool escCloses = true;
    bool f1Help = false;
    std::string helpFile;
    uint32_t helpContext = 0;
    bool showInTaskbar = true;
    bool dragByClient = false;
    uint32_t shape = 0;  // 0-29
    bool alwaysOnTop = false;
    bool keepActiveCaption = false;
    std::string className;  // empty: "RuveltoForm"

    // False (and the properties left at their defaults) for a higher version or truncated data.
    bool Load(const uint8_t* blob, uint32_t length);
    std::vector<uint8_t> Save() const;
};

}  // namespace ruvelto::forms
