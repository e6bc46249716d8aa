// Small component types for driving the forms engine in tests: standard Win32 controls on the
// component base, with just enough properties (caption, default button, text, font) to exercise
// loading, property access, navigation and re-creation.
#pragma once
#include <cstdint>
#include <vector>

#include "image-data/program_image_description.h"

namespace ruvelto::forms_test {

// Own properties (index 8 onward): caption text, default-button logical.
void* TestButtonInterface(int32_t code);
// Own properties: text, font, wants-Enter logical.
void* TestEditInterface(int32_t code);
// Own properties: caption.
void* TestRadioInterface(int32_t code);
void* TestCheckInterface(int32_t code);
void* TestLabelInterface(int32_t code);

// Property blobs of the test types.
std::vector<uint8_t> CaptionBlob(const std::string& caption, uint32_t isDefault = 0);
std::vector<uint8_t> EditBlob(const std::string& text, bool wantsEnter = false);

// A core library with the window type, the menu type and the test types at the core numbers of
// EditBox (5), Label (10), Button (11), CheckBox (12) and RadioBox (13).
image_data::LibraryDescription TestCoreLibrary();

}  // namespace ruvelto::forms_test
