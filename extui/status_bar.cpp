// StatusBar (状态条): the platform status bar, docked at its parent's bottom or top edge or left
// free, with panels (text, drawing style, icon, tip) or, without panels, one undivided area.
#include <windows.h>

#include <commctrl.h>

#include <vector>

#include "components/control_style.h"
#include "extui/component_texts.h"
#include "extui/enumerated_texts.h"
#include "extui/extended_types.h"
#include "extui/image_list_data.h"
#include "extui/status_bar_properties.h"
#include "forms/engine_messages.h"

namespace ruvelto::extui {
namespace {

using components::ClampChoice;
using components::CreateArguments;
using components::IntegerData;
using components::IntegerOf;
using components::Recreating;

enum StatusBarProperty : int32_t { kBackColor, kAlignment, kSizeGrip, kFont, kPanelImages, kPanels };

constexpr size_t kMostPanels = 256;

class StatusBar : public components::ComponentBase {
public:
    const char* EnumeratedText(int32_t which) {
        return texts_.At(which, [this] { return StatusBarTexts(p_); });
    }

    bool LoadProperties(PropertyBlobReader& blob) override { return p_.Load(blob); }
    void SaveProperties(PropertyBlobWriter& blob) const override { p_.Save(blob); }

    bool CreateControl(const CreateArguments& a, DWORD style) override {
        style |= SBT_TOOLTIPS;
        if (p_.alignment == kDockTop) style |= CCS_TOP;
        else if (p_.alignment == kFree) style |= CCS_NORESIZE | CCS_NOPARENTALIGN;
        else style |= CCS_BOTTOM;
        if (p_.sizeGrip == 1) style |= SBARS_SIZEGRIP;
        return CreateChild(0, STATUSCLASSNAMEA, "", style, a);
    }

    void ApplyProperties() override {
        ApplyFont(p_.font);
        images_.Reset(ReadImageListData(p_.panelImages));
        SendMessageA(Handle(), SB_SIMPLE, FALSE, 0);
        ApplyBackColor();
        ApplyPanels();
    }

    uint32_t SetProperty(int32_t index, const forms::PropertyData& v) override {
        switch (index) {
            case kBackColor:
                p_.backColor = IntegerOf(v);
                ApplyBackColor();
                return 0;
            case kAlignment: return Recreating(&p_.alignment, ClampChoice(IntegerOf(v), 2));
            case kSizeGrip: return Recreating(&p_.sizeGrip, IntegerOf(v) != 0 ? 1 : 0);
            case kFont:
                p_.font = components::BytesOf(v);
                ApplyFont(p_.font);
                return 0;
            case kPanelImages:
                p_.panelImages = components::BytesOf(v);
                images_.Reset(ReadImageListData(p_.panelImages));
                ApplyPanels();
                return 0;
            case kPanels:
                p_.panels = components::BytesOf(v);
                ApplyPanels();
                return 0;
            default: return 0;
        }
    }

    bool GetProperty(int32_t index, forms::PropertyData* v) override {
        switch (index) {
            case kBackColor: *v = IntegerData(p_.backColor); return true;
            case kAlignment: *v = IntegerData(p_.alignment); return true;
            case kSizeGrip: *v = IntegerData(p_.sizeGrip); return true;
            case kFont: *v = components::BytesData(p_.font); return true;
            case kPanelImages: *v = components::BytesData(p_.panelImages); return true;
            case kPanels: *v = components::BytesData(p_.panels); return true;
            default: return false;
        }
    }

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override {
        // The window changed size: the control re-aligns itself to its parent's edge on WM_SIZE.
        if (message == forms::kDockToClient) {
            SendMessageA(Handle(), WM_SIZE, 0, 0);
            return 0;
        }
        return ComponentBase::WindowProc(message, wParam, lParam);
    }

    void ReleaseResources() override {
        DestroyIcons(0);
        images_.Reset();
        ComponentBase::ReleaseResources();
    }

private:
    void ApplyBackColor() {
        SendMessageA(Handle(), SB_SETBKCOLOR, 0, static_cast<LPARAM>(components::ResolveColor(p_.backColor)));
    }

    void DestroyIcons(size_t from) {
        for (size_t i = from; i < icons_.size(); ++i)
            if (icons_[i]) DestroyIcon(icons_[i]), icons_[i] = nullptr;
    }

    void ApplyPanels() {
        const std::vector<StatusPanel> panels = ReadPanels(p_.panels);
        if (panels.empty()) {
            SendMessageA(Handle(), SB_SIMPLE, TRUE, 0);
            DestroyIcons(0);
            icons_.clear();
            return;
        }
        std::vector<int32_t> edges = PanelEdges(panels);
        const BOOL wasSimple = static_cast<BOOL>(SendMessageA(Handle(), SB_ISSIMPLE, 0, 0));
        SendMessageA(Handle(), SB_SIMPLE, FALSE, 0);
        // A status bar holds at most 256 panels; more fail the way a refused SB_SETPARTS does.
        if (panels.size() > kMostPanels ||
            !SendMessageA(Handle(), SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()))) {
            SendMessageA(Handle(), SB_SIMPLE, wasSimple, 0);
            return;
        }
        DestroyIcons(panels.size());
        icons_.resize(panels.size(), nullptr);
        for (size_t i = 0; i < panels.size(); ++i) {
            const StatusPanel& panel = panels[i];
            // The low byte of wParam is the panel number: style bits there would name another panel.
            SendMessageA(Handle(), SB_SETTEXTA, static_cast<WPARAM>(i | (panel.styleBits & ~0xFFu)),
                         reinterpret_cast<LPARAM>(panel.text.c_str()));
            HICON icon = panel.icon >= 0 && images_.Get() ? ImageList_GetIcon(images_.Get(), panel.icon, ILD_NORMAL) : nullptr;
            if (SendMessageA(Handle(), SB_SETICON, i, reinterpret_cast<LPARAM>(icon))) {
                if (icons_[i] && icons_[i] != icon) DestroyIcon(icons_[i]);
                icons_[i] = icon;
            } else if (icon) {
                DestroyIcon(icon);
            }
            SendMessageA(Handle(), SB_SETTIPTEXTA, i, reinterpret_cast<LPARAM>(panel.tip.c_str()));
        }
    }

    StatusBarProperties p_;
    EnumeratedTexts texts_;
    OwnedImageList images_;
    std::vector<HICON> icons_;  // the icon shown in each panel, owned here
};

}  // namespace

void* StatusBarInterface(int32_t code) { return ExtendedInterfaceOf<StatusBar>(code); }

}  // namespace ruvelto::extui
