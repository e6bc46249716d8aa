#include "extui/list_view_properties.h"

namespace ruvelto::extui {

bool ListViewProperties::Load(PropertyBlobReader& blob) {
    uint32_t version = 0;
    if (!components::ReadVersion(blob, kVersion, &version)) return false;
    uint32_t* const words[] = {&border,        &textColor,      &textBackColor,   &backColor,     &viewType,
                               &iconAlign,     &autoArrange,    &labelWrap,       &hideHeader,    &headerClickable,
                               &fullRowSelect, &gridLines,      &headerDragDrop,  &hotTracking,   &handCursor,
                               &underlineCold, &underlineHot,   &editLabels,      &sortOrder,     &checkBoxes,
                               &flatScrollBars, &singleSelection};
    for (uint32_t* word : words) *word = blob.U32();
    currentSelection = static_cast<int32_t>(blob.U32());
    showSelectionAlways = blob.U32();
    font = blob.Bytes();
    headerImages = blob.Bytes();
    images = blob.Bytes();
    columns = blob.Bytes();
    stateImages = blob.Bytes();
    initialItems = blob.Bytes();
    return blob.Ok();
}

void ListViewProperties::Save(PropertyBlobWriter& blob) const {
    blob.U32(kVersion);
    const uint32_t words[] = {border,        textColor,      textBackColor,   backColor,     viewType,
                              iconAlign,     autoArrange,    labelWrap,       hideHeader,    headerClickable,
                              fullRowSelect, gridLines,      headerDragDrop,  hotTracking,   handCursor,
                              underlineCold, underlineHot,   editLabels,      sortOrder,     checkBoxes,
                              flatScrollBars, singleSelection};
    for (uint32_t word : words) blob.U32(word);
    blob.U32(static_cast<uint32_t>(currentSelection));
    blob.U32(showSelectionAlways);
    blob.Bytes(font);
    blob.Bytes(headerImages);
    blob.Bytes(images);
    blob.Bytes(columns);
    blob.Bytes(stateImages);
    blob.Bytes(initialItems);
}

}  // namespace ruvelto::extui
