// The property blocks of the extended UI components as window descriptions write them: each
// type's property object with its defaults, changed where the description says. For example a
// report list with check boxes and two columns:
//   ListViewProperties list;
//   list.viewType = extui::kReport, list.checkBoxes = 1;
//   list.columns = extui::ColumnData({{false, -1, extui::kAlignLeft, 150, "名称"}, ...});
//   Component(kListView, "...").Properties(ListViewBlob(list))
#pragma once
#include <cstdint>
#include <vector>

#include "extui/list_view_data.h"
#include "extui/list_view_properties.h"
#include "extui/status_bar_properties.h"
#include "extui/trans_label_properties.h"

namespace ruvelto::image_data {

using extui::ListViewProperties;
using extui::StatusBarProperties;
using extui::TransLabelProperties;

std::vector<uint8_t> ListViewBlob(const ListViewProperties& properties);
std::vector<uint8_t> StatusBarBlob(const StatusBarProperties& properties);
std::vector<uint8_t> TransLabelBlob(const TransLabelProperties& properties);

// A transparent label showing `caption`, everything else at its defaults.
std::vector<uint8_t> TransLabelBlob(const std::string& caption);

}  // namespace ruvelto::image_data
