// Painting of skinned controls: each kind drawn into a memory copy of the whole window and copied
// back in one transfer, in the colours of the current scheme.
#pragma once
#include <windows.h>

#include "extui/xp_style_records.h"

namespace ruvelto::extui {

// Asks the parent for the control colours (WM_CTLCOLORBTN with `dc`) and keeps its brush, the
// brush's colour and the text colour in the record.
void TakeParentColours(SkinRecord& record, HDC dc);

// Paints the control in its current state.
void PaintSkinned(SkinRecord& record, int scheme);

// The gradient function is loaded on first use; switching the skin off lets it go.
void ReleaseGradientLibrary();

}  // namespace ruvelto::extui
