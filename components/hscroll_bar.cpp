// HScrollBar (横向滚动条): a horizontal scroll bar control stepping a position in a range; a
// changed position is its event 0.
#include <windows.h>

#include "components/bar_properties.h"
#include "components/control_style.h"
#include "components/standard_types.h"

namespace ruvelto::components {
namespace {

enum ScrollProperty : int32_t { kMinimum, kMaximum, kPageChange, kLineChange, kPosition, kTrackEvents };

class HScrollBar : public ComponentBase {
public:
    bool LoadProperties(PropertyBlobReader& blob) override { return p_.Load(blob); }
    void SaveProperties(PropertyBlobWriter& blob) const override { p_.Save(blob); }

    bool CreateControl(const CreateArguments& a, DWORD style) override {
        return CreateChild(0, "SCROLLBAR", "", style | SBS_HORZ, a);
    }

    void ApplyProperties() override {
        SendRange();
        SendPosition();
    }

    uint32_t SetProperty(int32_t index, const forms::PropertyData& v) override {
        const int32_t value = static_cast<int32_t>(IntegerOf(v));
        switch (index) {
            case kMinimum:
            case kMaximum:
                (index == kMinimum ? p_.minimum : p_.maximum) = ClampRangeValue(value);
                SendRange();
                return 0;
            case kPageChange: p_.pageChange = ClampStep(value); return 0;
            case kLineChange: p_.lineChange = ClampStep(value); return 0;
            case kPosition:
                p_.position = ClampRangeValue(value);
                SendPosition();
                return 0;
            case kTrackEvents: p_.trackEvents = IntegerOf(v) == 1 ? 1 : 0; return 0;
            default: return 0;
        }
    }

    bool GetProperty(int32_t index, forms::PropertyData* v) override {
        const uint32_t values[] = {static_cast<uint32_t>(p_.minimum),    static_cast<uint32_t>(p_.maximum),
                                   static_cast<uint32_t>(p_.pageChange), static_cast<uint32_t>(p_.lineChange),
                                   static_cast<uint32_t>(p_.position),   p_.trackEvents};
        if (index < 0 || index > kTrackEvents) return false;
        *v = IntegerData(values[index]);
        return true;
    }

    bool OnChildNotify(UINT message, WPARAM wParam, LPARAM, LRESULT* result) override {
        if (message != WM_HSCROLL) return false;
        *result = 0;
        int lower = 0, upper = 0;
        GetScrollRange(Handle(), SB_CTL, &lower, &upper);
        int32_t next = 0;
        if (!ScrollTarget(p_, LOWORD(wParam), static_cast<int16_t>(HIWORD(wParam)), {lower, upper}, &next)) return true;
        if (next == p_.position) return true;
        p_.position = next;
        SetScrollPos(Handle(), SB_CTL, next, TRUE);
        RaiseEvent(0);
        return true;
    }

private:
    void SendRange() {
        BarRange r = RangeOf(p_.minimum, p_.maximum);
        SetScrollRange(Handle(), SB_CTL, r.lower, r.upper, TRUE);
    }
    void SendPosition() {
        const bool disabled = !IsWindowEnabled(Handle());
        SetScrollPos(Handle(), SB_CTL, SentPosition(p_.position, p_.minimum, p_.maximum), TRUE);
        // Setting the position must not enable a disabled bar.
        if (disabled) {
            EnableWindow(Handle(), FALSE);
            EnableScrollBar(Handle(), SB_CTL, ESB_DISABLE_BOTH);
        }
    }

    HScrollBarProperties p_;
};

}  // namespace

void* HScrollBarInterface(int32_t code) { return TypeInterfaceOf<HScrollBar>(code); }

}  // namespace ruvelto::components
