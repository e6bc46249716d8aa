#include "components/panel_class.h"

#include <windows.h>

namespace ruvelto::components {

const char* PanelClassName() {
    static const char* const name = [] {
        static const char kName[] = "RuveltoPanel";
        WNDCLASSA c{};
        c.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
        c.lpfnWndProc = DefWindowProcA;
        c.hInstance = GetModuleHandleA(nullptr);
        c.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        c.lpszClassName = kName;
        RegisterClassA(&c);
        return kName;
    }();
    return name;
}

}  // namespace ruvelto::components
