// TransLabel (透明标签): a text with no background of its own. Whatever lies beneath shows
// through: the window is WS_EX_TRANSPARENT (painted after the siblings under it and never clipped
// out of its parent's painting) and never erases. When it changes or moves, what lay under its
// old and new places is painted afresh first and the text drawn over it.
#include <windows.h>

#include <string>
#include <vector>

#include "components/control_style.h"
#include "components/label_text.h"
#include "extui/component_texts.h"
#include "extui/enumerated_texts.h"
#include "extui/extended_types.h"
#include "extui/trans_label_properties.h"

namespace ruvelto::extui {
namespace {

using components::ClampChoice;
using components::CreateArguments;
using components::IntegerData;
using components::IntegerOf;

enum TransLabelProperty : int32_t { kCaption, kEffect, kFont, kTextColor, kHorizontalAlign, kWordWrap, kVerticalAlign };

const char* TransLabelClassName() {
    static const char* const name = [] {
        static const char kName[] = "RuveltoTransLabel";
        WNDCLASSA c{};
        c.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
        c.lpfnWndProc = DefWindowProcA;
        c.hInstance = GetModuleHandleA(nullptr);
        c.hCursor = LoadCursorA(nullptr, IDC_ARROW);
        c.lpszClassName = kName;
        RegisterClassA(&c);
        return kName;
    }();
    return name;
}

// The visible descendants of `window`, each window's descendants before the window itself.
void CollectVisible(HWND window, std::vector<HWND>& out) {
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!IsWindowVisible(child)) continue;
        CollectVisible(child, out);
        out.push_back(child);
    }
}

// Paints afresh what lies under a screen rectangle of a window's top-level ancestor: the
// ancestor's own area first, then every visible descendant that meets it, outer windows before
// the windows inside them.
void RepaintBeneath(HWND window, const RECT& screen) {
    if (IsRectEmpty(&screen)) return;
    HWND top = window;
    while (GetWindowLongA(top, GWL_STYLE) & WS_CHILD) {
        HWND parent = GetParent(top);
        if (!parent) break;
        top = parent;
    }
    RECT area = screen;
    MapWindowPoints(nullptr, top, reinterpret_cast<POINT*>(&area), 2);
    InvalidateRect(top, &area, TRUE);
    UpdateWindow(top);
    std::vector<HWND> beneath;
    CollectVisible(top, beneath);
    for (auto it = beneath.rbegin(); it != beneath.rend(); ++it) {
        if (*it == window) continue;
        RECT bounds{}, part{};
        GetWindowRect(*it, &bounds);
        if (!IntersectRect(&part, &bounds, &screen)) continue;
        MapWindowPoints(nullptr, *it, reinterpret_cast<POINT*>(&part), 2);
        RedrawWindow(*it, &part, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_UPDATENOW);
    }
}

class TransLabel : public components::ComponentBase {
public:
    const char* EnumeratedText(int32_t which) {
        return texts_.At(which, [this] { return TransLabelTexts(p_); });
    }

    bool LoadProperties(PropertyBlobReader& blob) override { return p_.Load(blob); }
    void SaveProperties(PropertyBlobWriter& blob) const override { p_.Save(blob); }

    bool CreateControl(const CreateArguments& a, DWORD style) override {
        return CreateChild(WS_EX_TRANSPARENT, TransLabelClassName(), p_.caption.c_str(), style, a);
    }

    void ApplyProperties() override { ApplyFont(p_.font); }

    uint32_t SetProperty(int32_t index, const forms::PropertyData& v) override {
        const uint32_t value = IntegerOf(v);
        switch (index) {
            case kCaption:
                p_.caption = components::TextOf(v);
                SetWindowTextA(Handle(), p_.caption.c_str());
                break;
            case kEffect: p_.effect = ClampChoice(value, 3); break;
            case kFont:
                p_.font = components::BytesOf(v);
                ApplyFont(p_.font);
                break;
            case kTextColor: p_.textColor = value; break;
            case kHorizontalAlign: p_.horizontalAlign = ClampChoice(value, 2); break;
            case kWordWrap: p_.wordWrap = value != 0 ? 1 : 0; break;
            case kVerticalAlign: p_.verticalAlign = ClampChoice(value, 2); break;
            default: return 0;
        }
        Refresh();
        return 0;
    }

    bool GetProperty(int32_t index, forms::PropertyData* v) override {
        switch (index) {
            case kCaption: *v = components::TextData(p_.caption); return true;
            case kEffect: *v = IntegerData(p_.effect); return true;
            case kFont: *v = components::BytesData(p_.font); return true;
            case kTextColor: *v = IntegerData(p_.textColor); return true;
            case kHorizontalAlign: *v = IntegerData(p_.horizontalAlign); return true;
            case kWordWrap: *v = IntegerData(p_.wordWrap); return true;
            case kVerticalAlign: *v = IntegerData(p_.verticalAlign); return true;
            default: return false;
        }
    }

protected:
    // Components beneath that were shown after this one painted over it: draw it again on top.
    void OnLoadFinished() override { Refresh(); }

    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
            case WM_ERASEBKGND: return 1;  // no background of its own
            case WM_PAINT: {
                PAINTSTRUCT ps;
                HDC dc = BeginPaint(Handle(), &ps);
                RECT area{};
                GetClientRect(Handle(), &area);
                components::DrawLabelText(dc, Handle(), Font(), area,
                                          {p_.horizontalAlign, p_.verticalAlign, p_.wordWrap != 0, p_.effect,
                                           p_.textColor});
                EndPaint(Handle(), &ps);
                return 0;
            }
            case WM_WINDOWPOSCHANGING:
                GetWindowRect(Handle(), &before_);
                break;
            case WM_WINDOWPOSCHANGED: {
                const auto* pos = reinterpret_cast<const WINDOWPOS*>(lParam);
                LRESULT result = ComponentBase::WindowProc(message, wParam, lParam);
                if (!(pos->flags & SWP_NOMOVE) || !(pos->flags & SWP_NOSIZE)) {
                    RECT now{};
                    GetWindowRect(Handle(), &now);
                    if (!EqualRect(&now, &before_)) {
                        RepaintBeneath(Handle(), before_);
                        Refresh();
                    }
                }
                return result;
            }
            default: break;
        }
        return ComponentBase::WindowProc(message, wParam, lParam);
    }

private:
    void Refresh() {
        if (!Handle() || !IsWindowVisible(Handle())) return;
        RECT screen{};
        GetWindowRect(Handle(), &screen);
        RepaintBeneath(Handle(), screen);
        InvalidateRect(Handle(), nullptr, FALSE);
    }

    TransLabelProperties p_;
    EnumeratedTexts texts_;
    RECT before_{};
};

}  // namespace

void* TransLabelInterface(int32_t code) { return ExtendedInterfaceOf<TransLabel>(code); }

}  // namespace ruvelto::extui
