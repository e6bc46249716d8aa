// The texts each extended component reports to the forms engine's text conversion (type
// service 9), in a fixed order: the font's face name (when the component has a font of its
// own), then the component's text properties. Portable.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "extui/list_view_properties.h"
#include "extui/status_bar_properties.h"
#include "extui/trans_label_properties.h"

namespace ruvelto::extui {

// The face name of a 60-byte font record; empty for no record.
std::string FontFaceName(const std::vector<uint8_t>& font);

// Face name, each column title, then each item entry's text and, for new rows, its tip.
std::vector<std::string> ListViewTexts(const ListViewProperties& properties);
// Face name, then each panel's text and tip.
std::vector<std::string> StatusBarTexts(const StatusBarProperties& properties);
// The caption, then the face name.
std::vector<std::string> TransLabelTexts(const TransLabelProperties& properties);

}  // namespace ruvelto::extui
