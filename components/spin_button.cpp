#include "components/spin_button.h"

#include <commctrl.h>

#include <algorithm>

namespace ruvelto::components {

constexpr int kSpinWidth = 18;

SpinButton* SpinButton::Create(HWND box, Owner* owner, uint32_t controlId, bool staticEdge) {
    auto* spin = new SpinButton(owner);
    RECT r{};
    GetWindowRect(box, &r);
    HWND parent = GetParent(box);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    if (!spin->CreateEx(staticEdge ? WS_EX_STATICEDGE : 0, UPDOWN_CLASSA, "", WS_CHILD | WS_CLIPSIBLINGS, r.right,
                        r.top, kSpinWidth, r.bottom - r.top, parent,
                        reinterpret_cast<HMENU>(static_cast<uintptr_t>(controlId)))) {
        delete spin;
        return nullptr;
    }
    return spin;
}

void SpinButton::SetRange(int32_t a, int32_t b) {
    SendMessageA(Handle(), UDM_SETRANGE32, static_cast<WPARAM>(std::min(a, b)), static_cast<LPARAM>(std::max(a, b)));
}

void SpinButton::SetStaticEdge(bool on) {
    LONG ex = GetWindowLongA(Handle(), GWL_EXSTYLE);
    SetWindowLongA(Handle(), GWL_EXSTYLE, on ? ex | WS_EX_STATICEDGE : ex & ~WS_EX_STATICEDGE);
    SetWindowPos(Handle(), nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void SpinButton::FollowBox(HWND box) {
    HWND spin = Handle();
    if (!spin || !IsWindow(box)) return;
    HWND parent = GetParent(box);
    if (GetParent(spin) != parent) SetParent(spin, parent);
    RECT r{};
    GetWindowRect(box, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    // Directly above the box: after the window that precedes the box, or on top.
    HWND above = GetWindow(box, GW_HWNDPREV);
    UINT flags = SWP_NOACTIVATE;
    if (above == spin) flags |= SWP_NOZORDER;
    SetWindowPos(spin, above ? above : HWND_TOP, r.right, r.top, kSpinWidth, r.bottom - r.top, flags);
    const bool visible = (GetWindowLongA(box, GWL_STYLE) & WS_VISIBLE) != 0;
    ShowWindow(spin, visible ? SW_SHOWNA : SW_HIDE);
    EnableWindow(spin, IsWindowEnabled(box));
}

void SpinButton::Destroy() {
    if (Handle()) DestroyWindow(Handle());
}

bool SpinButton::OnChildNotify(UINT message, WPARAM, LPARAM lParam, LRESULT* result) {
    if (message != WM_NOTIFY) return false;
    const auto* header = reinterpret_cast<const NMHDR*>(lParam);
    if (header->code != static_cast<UINT>(UDN_DELTAPOS)) return false;
    const auto* delta = reinterpret_cast<const NMUPDOWN*>(lParam);
    if (owner_ && delta->iDelta != 0) owner_->OnSpin(delta->iDelta > 0 ? +1 : -1);
    *result = 0;
    return true;
}

}  // namespace ruvelto::components
