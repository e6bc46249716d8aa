// The private messages that the forms engine, its windows and the components exchange.
#pragma once
#include <cstdint>

namespace ruvelto::forms {

enum EngineMessage : uint32_t {
    kAskObject = 0x8002,          // -> a window the engine knows no object for: answer the live object or 0
    kDockToClient = 0x8003,       // window -> docking component: size yourself to the client area
    kLayoutDocking = 0x8004,      // -> window: lay out the docking components again
    kTrayNotify = 0x8064,         // tray icon -> window: wParam icon id, lParam mouse message
    kDestroyNow = 0x8065,         // posted by DestroyUnit -> window
    kUnitsExist = 0x806F,         // engine -> component: lParam/wParam data-source name or 0
    kDataBindingQuery = 0x8070,   // data source -> component
    kLabelRaiseEvent = 0x8075,    // any sender -> label: raise its event 0
    kLoadFinished = 0x8076,       // engine -> component: the window has finished loading
};

}  // namespace ruvelto::forms
