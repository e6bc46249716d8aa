// ProcessBar (进度条): a progress bar showing a position in a range; no events.
#include <windows.h>

#include <commctrl.h>

#include "components/bar_properties.h"
#include "components/control_style.h"
#include "components/standard_types.h"

namespace ruvelto::components {
namespace {

enum ProcessBarProperty : int32_t { kBorder, kVertical, kSmooth, kMinimum, kMaximum, kPosition };

class ProcessBar : public ComponentBase {
public:
    bool LoadProperties(PropertyBlobReader& blob) override { return p_.Load(blob); }
    void SaveProperties(PropertyBlobWriter& blob) const override { p_.Save(blob); }

    bool CreateControl(const CreateArguments& a, DWORD style) override {
        style |= (p_.vertical == 1 ? PBS_VERTICAL : 0) | (p_.smooth == 1 ? PBS_SMOOTH : 0);
        return CreateChild(0, PROGRESS_CLASSA, "", style, a);
    }

    void ApplyProperties() override {
        SendRange();
        SendPosition();
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
            case kSmooth: return Recreating(&p_.smooth, ClampChoice(IntegerOf(v), 1));
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
        const uint32_t values[] = {p_.border, p_.vertical, p_.smooth, static_cast<uint32_t>(p_.minimum),
                                   static_cast<uint32_t>(p_.maximum), static_cast<uint32_t>(p_.position)};
        if (index < 0 || index > kPosition) return false;
        *v = IntegerData(values[index]);
        return true;
    }

private:
    void SendRange() {
        BarRange r = RangeOf(p_.minimum, p_.maximum);
        SendMessageA(Handle(), PBM_SETRANGE, 0, MAKELPARAM(r.lower, r.upper));
    }
    void SendPosition() {
        SendMessageA(Handle(), PBM_SETPOS, static_cast<WPARAM>(SentPosition(p_.position, p_.minimum, p_.maximum)), 0);
    }

    ProcessBarProperties p_;
};

}  // namespace

void* ProcessBarInterface(int32_t code) { return TypeInterfaceOf<ProcessBar>(code); }

}  // namespace ruvelto::components
