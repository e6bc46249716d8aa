// The window class of the self-drawn components (Label, ShapeBox): redrawn whole on resize,
// double clicks on, the arrow cursor, no background brush. Registered on first use.
#pragma once

namespace ruvelto::components {

const char* PanelClassName();

}  // namespace ruvelto::components
