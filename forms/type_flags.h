// The type flags of type descriptors that the forms engine tests.
#pragma once
#include <cstdint>

namespace ruvelto::forms {

enum TypeFlag : uint32_t {
    kFlagMenu = 0x04,
    kFlagWindowType = 0x10,
    kFlagPreTranslate = 0x20,        // offers interface code 11
    kFlagWindowComponent = 0x40,     // has a Win32 window
    kFlagContainer = 0x80,           // holds other components; reflects child notifications
    kFlagOwnsChildWindows = 0x200,   // a message to a child window of the unit counts as the unit's
    kFlagRadioBox = 0x400,
    kFlagPushButton = 0x800,
    kFlagCheckBox = 0x1000,
    kFlagCaptionLabel = 0x2000,
    kFlagGroupFrame = 0x4000,
    kFlagInvisible = 0x8000,         // never shown, never in the tab order
    kFlagNoFocus = 0x10000,
    kFlagInnerObject = 0x40000,
    kFlagDataSource = 0x80000,
    kFlagDocking = 0x100000,         // docks to the top or bottom edge of the window
    kFlagHostsEmbedded = 0x200000,
    kFlagDragHandle = 0x4000000,
};
constexpr uint32_t kMnemonicKinds = kFlagRadioBox | kFlagPushButton | kFlagCheckBox | kFlagCaptionLabel | kFlagGroupFrame;

}  // namespace ruvelto::forms
