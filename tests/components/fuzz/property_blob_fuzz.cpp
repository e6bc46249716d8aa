// Arbitrary bytes as the stored property data of every component type that reads it (the first
// byte picks the type), and as the list view's column and item data and the status bar's panel
// data. Whatever reads must write back and read again to the same properties: the second
// writing equals the first.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "components/bar_properties.h"
#include "components/button_properties.h"
#include "components/edit_box_properties.h"
#include "components/label_properties.h"
#include "extui/dir_tree_properties.h"
#include "extui/list_view_data.h"
#include "extui/list_view_properties.h"
#include "extui/status_bar_properties.h"
#include "extui/trans_label_properties.h"
#include "forms/window_properties.h"

using namespace ruvelto;
using Bytes = std::vector<uint8_t>;

namespace {

template <class Properties, class... Kind>
void RoundTrip(const uint8_t* data, size_t size, Kind... kind) {
    Properties first;
    forms::PropertyBlobReader reader(data, uint32_t(size));
    if (!first.Load(reader, kind...)) return;
    forms::PropertyBlobWriter written;
    first.Save(written, kind...);
    Properties second;
    forms::PropertyBlobReader again(written.Data().data(), uint32_t(written.Data().size()));
    if (!second.Load(again, kind...)) __builtin_trap();
    forms::PropertyBlobWriter rewritten;
    second.Save(rewritten, kind...);
    if (rewritten.Data() != written.Data()) __builtin_trap();
}

void WindowRoundTrip(const uint8_t* data, size_t size) {
    forms::WindowProperties first;
    if (!first.Load(data, uint32_t(size))) return;
    const Bytes written = first.Save();
    forms::WindowProperties second;
    if (!second.Load(written.data(), uint32_t(written.size())) || second.Save() != written) __builtin_trap();
}

template <class Entry>
void DataRoundTrip(const uint8_t* data, size_t size, std::vector<Entry> (*read)(const Bytes&),
                   Bytes (*write)(const std::vector<Entry>&)) {
    const Bytes written = write(read(Bytes(data, data + size)));
    if (write(read(written)) != written) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0 || size > 0xFFFFFFFFu) return 0;
    const uint8_t pick = data[0];
    ++data;
    --size;
    switch (pick % 17) {
        case 0: WindowRoundTrip(data, size); break;
        case 1: RoundTrip<components::ButtonProperties>(data, size); break;
        case 2: RoundTrip<components::CheckBoxProperties>(data, size, components::TickKind::kCheckBox); break;
        case 3: RoundTrip<components::CheckBoxProperties>(data, size, components::TickKind::kRadioBox); break;
        case 4: RoundTrip<components::EditBoxProperties>(data, size); break;
        case 5: RoundTrip<components::LabelProperties>(data, size); break;
        case 6: RoundTrip<components::GroupBoxProperties>(data, size); break;
        case 7: RoundTrip<components::ShapeBoxProperties>(data, size); break;
        case 8: RoundTrip<components::ProcessBarProperties>(data, size); break;
        case 9: RoundTrip<components::SliderBarProperties>(data, size); break;
        case 10: RoundTrip<components::HScrollBarProperties>(data, size); break;
        case 11: RoundTrip<extui::ListViewProperties>(data, size); break;
        case 12: RoundTrip<extui::StatusBarProperties>(data, size); break;
        case 13: RoundTrip<extui::TransLabelProperties>(data, size); break;
        case 14: RoundTrip<extui::DirTreeProperties>(data, size); break;
        case 15:
            DataRoundTrip<extui::ListColumn>(data, size, extui::ReadColumns, extui::ColumnData);
            DataRoundTrip<extui::ListItemEntry>(data, size, extui::ReadItems, extui::ItemData);
            break;
        case 16: DataRoundTrip<extui::StatusPanel>(data, size, extui::ReadPanels, extui::PanelData); break;
    }
    return 0;
}
