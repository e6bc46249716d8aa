// The property blocks of the standard components as window descriptions write them: each type's
// property object with its defaults, changed where the description says, serialised in the
// type's own layout. For example a check box captioned "ico":
//   auto box = CheckBoxDefaults(); box.caption = "ico";
//   Component(kCheckBox, "...").Properties(CheckBoxBlob(box))
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "components/bar_properties.h"
#include "components/button_properties.h"
#include "components/edit_box_properties.h"
#include "components/label_properties.h"
#include "components/picture_box_properties.h"

namespace ruvelto::image_data {

using components::ButtonProperties;
using components::CheckBoxProperties;
using components::CommonDlgProperties;
using components::DrawPanelProperties;
using components::EditBoxProperties;
using components::GroupBoxProperties;
using components::HScrollBarProperties;
using components::LabelProperties;
using components::PicBoxProperties;
using components::ProcessBarProperties;
using components::ShapeBoxProperties;
using components::SliderBarProperties;

CheckBoxProperties CheckBoxDefaults();
CheckBoxProperties RadioBoxDefaults();

std::vector<uint8_t> ButtonBlob(const ButtonProperties& properties);
std::vector<uint8_t> CheckBoxBlob(const CheckBoxProperties& properties);
std::vector<uint8_t> RadioBoxBlob(const CheckBoxProperties& properties);
std::vector<uint8_t> EditBoxBlob(const EditBoxProperties& properties);
std::vector<uint8_t> LabelBlob(const LabelProperties& properties);
std::vector<uint8_t> GroupBoxBlob(const GroupBoxProperties& properties);
std::vector<uint8_t> ShapeBoxBlob(const ShapeBoxProperties& properties);
std::vector<uint8_t> ProcessBarBlob(const ProcessBarProperties& properties);
std::vector<uint8_t> SliderBarBlob(const SliderBarProperties& properties);
std::vector<uint8_t> HScrollBarBlob(const HScrollBarProperties& properties);
std::vector<uint8_t> PicBoxBlob(const PicBoxProperties& properties);
std::vector<uint8_t> DrawPanelBlob(const DrawPanelProperties& properties);
std::vector<uint8_t> CommonDlgBlob(const CommonDlgProperties& properties);

// A font property: the 60 bytes of a LOGFONT with the face name (GBK, cut to 31 bytes), the
// height in logical units (negative: character height in pixels) and the weight (400 normal,
// 700 bold); every other field 0.
std::vector<uint8_t> FontProperty(const std::string& faceName, int32_t height, int32_t weight = 400,
                                  bool italic = false, bool underline = false);

}  // namespace ruvelto::image_data
