// The property objects of ProcessBar, SliderBar and HScrollBar (a version word of 0 or 1, then
// their own properties as 32-bit values in index order), and the range rules the three share:
// clamps of written values, the range as (smaller, larger), clamped positions, the slider's
// sizes and selection, and the scroll bar's step to a new position. Portable.
#pragma once
#include <cstdint>

#include "components/property_fields.h"

namespace ruvelto::components {

constexpr int32_t kRangeTop = 32767;

// Minimum, maximum, position and the other range values: 0..32767.
constexpr int32_t ClampRangeValue(int32_t value) { return ClampInt(value, 0, kRangeTop); }
// Page and line steps: 1..32767.
constexpr int32_t ClampStep(int32_t value) { return ClampInt(value, 1, kRangeTop); }

struct BarRange {
    int32_t lower = 0;
    int32_t upper = 0;
};
// The range a control gets from the two stored bounds: the smaller and the larger.
BarRange RangeOf(int32_t minimum, int32_t maximum);
// The position sent to a control, clamped with the stored values as they are:
// min(maximum, max(position, minimum)).
int32_t SentPosition(int32_t position, int32_t minimum, int32_t maximum);

struct ProcessBarProperties {
    static constexpr int kCount = 6;
    uint32_t border = 3;
    uint32_t vertical = 0;
    uint32_t smooth = 0;
    int32_t minimum = 0;
    int32_t maximum = 100;
    int32_t position = 0;

    bool Load(PropertyBlobReader& blob);
    void Save(PropertyBlobWriter& blob) const;
};

struct SliderBarProperties {
    static constexpr int kCount = 12;
    uint32_t border = 0;
    uint32_t vertical = 0;
    uint32_t tickStyle = 2;  // 0 none, 1 top or left, 2 bottom or right, 3 both
    int32_t tickFrequency = 1;
    uint32_t showSelection = 0;
    int32_t selectionStart = 0;
    int32_t selectionLength = 0;
    int32_t pageSize = 5;
    int32_t lineSize = 1;
    int32_t minimum = 1;
    int32_t maximum = 10;
    int32_t position = 1;

    bool Load(PropertyBlobReader& blob);
    void Save(PropertyBlobWriter& blob) const;
};

// Line size, page size and tick frequency as sent: min(value, |maximum - minimum|), at least 1.
int32_t SliderSentSize(int32_t value, int32_t minimum, int32_t maximum);
// The selection the slider shows: start clamped into the stored range and end = start + length
// clamped into it.
BarRange SliderSelection(int32_t start, int32_t length, int32_t minimum, int32_t maximum);

struct HScrollBarProperties {
    static constexpr int kCount = 6;
    int32_t minimum = 1;
    int32_t maximum = 100;
    int32_t pageChange = 10;
    int32_t lineChange = 1;
    int32_t position = 1;
    uint32_t trackEvents = 1;

    bool Load(PropertyBlobReader& blob);
    void Save(PropertyBlobWriter& blob) const;
};

// Scroll requests (the SB_ codes of WM_HSCROLL).
enum ScrollRequest : uint32_t {
    kScrollLineLeft = 0,
    kScrollLineRight = 1,
    kScrollPageLeft = 2,
    kScrollPageRight = 3,
    kScrollThumbPosition = 4,
    kScrollThumbTrack = 5,
    kScrollLeft = 6,
    kScrollRight = 7,
    kScrollEnd = 8,
};
// The position after a scroll request, clamped into [lower, upper] (the range read back from
// the control); false when the request moves nothing (end of scroll, or dragging without
// TrackEvents).
bool ScrollTarget(const HScrollBarProperties& bar, uint32_t request, int32_t thumb, BarRange range,
                  int32_t* position);

}  // namespace ruvelto::components
