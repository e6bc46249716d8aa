// SliderBar (滑块条): a trackbar picking a position in a range; every move is its event 0.
#include <windows.h>

#include <commctrl.h>

#include "components/bar_properties.h"
#include "components/control_style.h"
#include "components/standard_types.h"

namespace ruvelto::components {
namespace {

enum SliderProperty : int32_t {
    kBorder,
    kVertical,
    kTickStyle,
    kTickFrequency,
    kShowSelection,
    kSelectionStart,
    kSelectionLength,
    kPageSize,
    kLineSize,
    kMinimum,
    kMaximum,
    kPosition,
};

DWORD TickStyleBits(uint32_t tickStyle) {
    switch (tickStyle) {
        case 0: return TBS_NOTICKS;
        case 1: return TBS_TOP;
        case 3: return TBS_BOTH;
        default: return 0;
    }
}

class SliderBar : public ComponentBase {
public:
    bool LoadProperties(PropertyBlobReader& blob) override { return p_.Load(blob); }
    void SaveProperties(PropertyBlobWriter& blob) const override { p_.Save(blob); }

    bool CreateControl(const CreateArguments& a, DWORD style) override {
        style |= TBS_AUTOTICKS | (p_.vertical == 1 ? TBS_VERT : 0) | TickStyleBits(p_.tickStyle) |
                 (p_.showSelection == 1 ? TBS_ENABLESELRANGE : 0);
        return CreateChild(0, TRACKBAR_CLASSA, "", style, a);
    }

    void ApplyProperties() override {
        SendRange();
        SendPosition();
        SendSizes();
        SendSelection();
        ApplyBorder(ClampChoice(p_.border, 5));
    }

    uint32_t SetProperty(int32_t index, const forms::PropertyData& v) override {
        const int32_t value = static_cast<int32_t>(IntegerOf(v));
        switch (index) {
            case kBorder:
                p_.border = ClampChoice(IntegerOf(v), 5);
                ApplyBorder(p_.border);
                return 0;
            case kVertical: return Recreating(&p_.vertical, ClampChoice(IntegerOf(v), 1));
            case kTickStyle: return Recreating(&p_.tickStyle, ClampChoice(IntegerOf(v), 3));
            case kShowSelection: return Recreating(&p_.showSelection, IntegerOf(v) == 1 ? 1 : 0);
            case kTickFrequency:
                p_.tickFrequency = ClampRangeValue(value);
                SendSizes();
                return 0;
            case kPageSize:
            case kLineSize:
                (index == kPageSize ? p_.pageSize : p_.lineSize) = ClampStep(value);
                SendSizes();
                return 0;
            case kSelectionStart:
            case kSelectionLength:
                (index == kSelectionStart ? p_.selectionStart : p_.selectionLength) = ClampRangeValue(value);
                SendSelection();
                return 0;
            case kMinimum:
            case kMaximum:
                (index == kMinimum ? p_.minimum : p_.maximum) = ClampRangeValue(value);
                SendRange();
                return 0;
            case kPosition:
                p_.position = ClampRangeValue(value);
                SendPosition();
                return 0;
            default: return 0;
        }
    }

    bool GetProperty(int32_t index, forms::PropertyData* v) override {
        if (index == kSelectionStart || index == kSelectionLength) {
            const LRESULT start = SendMessageA(Handle(), TBM_GETSELSTART, 0, 0);
            const LRESULT end = SendMessageA(Handle(), TBM_GETSELEND, 0, 0);
            *v = IntegerData(static_cast<uint32_t>(index == kSelectionStart ? start : end - start));
            return true;
        }
        const uint32_t values[] = {p_.border,
                                   p_.vertical,
                                   p_.tickStyle,
                                   static_cast<uint32_t>(p_.tickFrequency),
                                   p_.showSelection,
                                   0,
                                   0,
                                   static_cast<uint32_t>(p_.pageSize),
                                   static_cast<uint32_t>(p_.lineSize),
                                   static_cast<uint32_t>(p_.minimum),
                                   static_cast<uint32_t>(p_.maximum),
                                   static_cast<uint32_t>(p_.position)};
        if (index < 0 || index > kPosition) return false;
        *v = IntegerData(values[index]);
        return true;
    }

    bool OnChildNotify(UINT message, WPARAM wParam, LPARAM, LRESULT* result) override {
        if (message != WM_HSCROLL && message != WM_VSCROLL) return false;
        if (LOWORD(wParam) != TB_ENDTRACK) {
            p_.position = static_cast<int32_t>(SendMessageA(Handle(), TBM_GETPOS, 0, 0));
            RaiseEvent(0);
        }
        *result = 0;
        return true;
    }

private:
    void SendRange() {
        BarRange r = RangeOf(p_.minimum, p_.maximum);
        SendMessageA(Handle(), TBM_SETRANGEMIN, TRUE, r.lower);
        SendMessageA(Handle(), TBM_SETRANGEMAX, TRUE, r.upper);
    }
    void SendPosition() {
        SendMessageA(Handle(), TBM_SETPOS, TRUE, SentPosition(p_.position, p_.minimum, p_.maximum));
    }
    void SendSizes() {
        SendMessageA(Handle(), TBM_SETLINESIZE, 0, SliderSentSize(p_.lineSize, p_.minimum, p_.maximum));
        SendMessageA(Handle(), TBM_SETPAGESIZE, 0, SliderSentSize(p_.pageSize, p_.minimum, p_.maximum));
        SendMessageA(Handle(), TBM_SETTICFREQ, static_cast<WPARAM>(SliderSentSize(p_.tickFrequency, p_.minimum, p_.maximum)), 0);
    }
    void SendSelection() {
        if (p_.showSelection != 1) return;
        BarRange s = SliderSelection(p_.selectionStart, p_.selectionLength, p_.minimum, p_.maximum);
        SendMessageA(Handle(), TBM_SETSELSTART, FALSE, s.lower);
        SendMessageA(Handle(), TBM_SETSELEND, TRUE, s.upper);
    }

    SliderBarProperties p_;
};

}  // namespace

void* SliderBarInterface(int32_t code) { return TypeInterfaceOf<SliderBar>(code); }

}  // namespace ruvelto::components
