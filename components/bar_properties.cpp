#include "components/bar_properties.h"

#include <algorithm>
#include <cstdlib>

namespace ruvelto::components {
namespace {

// A version of 0 or 1 and `count` words; the words go to the fields in order.
bool LoadWords(PropertyBlobReader& blob, int count, uint32_t* words) {
    uint32_t version = 0;
    if (!ReadVersion(blob, 1, &version)) return false;
    for (int i = 0; i < count; ++i) words[i] = blob.U32();
    return blob.Ok();
}

void SaveWords(PropertyBlobWriter& blob, int count, const uint32_t* words) {
    blob.U32(1);
    for (int i = 0; i < count; ++i) blob.U32(words[i]);
}

int32_t Signed(uint32_t v) { return static_cast<int32_t>(v); }

}  // namespace

BarRange RangeOf(int32_t minimum, int32_t maximum) { return {std::min(minimum, maximum), std::max(minimum, maximum)}; }

int32_t SentPosition(int32_t position, int32_t minimum, int32_t maximum) {
    return std::min(maximum, std::max(position, minimum));
}

bool ProcessBarProperties::Load(PropertyBlobReader& blob) {
    uint32_t w[kCount];
    if (!LoadWords(blob, kCount, w)) return false;
    border = w[0], vertical = w[1], smooth = w[2];
    minimum = Signed(w[3]), maximum = Signed(w[4]), position = Signed(w[5]);
    return true;
}

void ProcessBarProperties::Save(PropertyBlobWriter& blob) const {
    const uint32_t w[kCount] = {border, vertical, smooth, uint32_t(minimum), uint32_t(maximum), uint32_t(position)};
    SaveWords(blob, kCount, w);
}

bool SliderBarProperties::Load(PropertyBlobReader& blob) {
    uint32_t w[kCount];
    if (!LoadWords(blob, kCount, w)) return false;
    border = w[0], vertical = w[1], tickStyle = w[2], tickFrequency = Signed(w[3]);
    showSelection = w[4], selectionStart = Signed(w[5]), selectionLength = Signed(w[6]);
    pageSize = Signed(w[7]), lineSize = Signed(w[8]);
    minimum = Signed(w[9]), maximum = Signed(w[10]), position = Signed(w[11]);
    return true;
}

void SliderBarProperties::Save(PropertyBlobWriter& blob) const {
    const uint32_t w[kCount] = {border,           vertical,         tickStyle,         uint32_t(tickFrequency),
                                showSelection,    uint32_t(selectionStart), uint32_t(selectionLength),
                                uint32_t(pageSize), uint32_t(lineSize), uint32_t(minimum), uint32_t(maximum),
                                uint32_t(position)};
    SaveWords(blob, kCount, w);
}

int32_t SliderSentSize(int32_t value, int32_t minimum, int32_t maximum) {
    int64_t spread = std::llabs(int64_t{maximum} - minimum);
    return static_cast<int32_t>(std::max<int64_t>(1, std::min<int64_t>(value, spread)));
}

BarRange SliderSelection(int32_t start, int32_t length, int32_t minimum, int32_t maximum) {
    auto clamp = [&](int64_t v) { return static_cast<int32_t>(std::max<int64_t>(minimum, std::min<int64_t>(maximum, v))); };
    return {clamp(start), clamp(int64_t{start} + length)};
}

bool HScrollBarProperties::Load(PropertyBlobReader& blob) {
    uint32_t w[kCount];
    if (!LoadWords(blob, kCount, w)) return false;
    minimum = Signed(w[0]), maximum = Signed(w[1]), pageChange = Signed(w[2]);
    lineChange = Signed(w[3]), position = Signed(w[4]), trackEvents = w[5];
    return true;
}

void HScrollBarProperties::Save(PropertyBlobWriter& blob) const {
    const uint32_t w[kCount] = {uint32_t(minimum),  uint32_t(maximum),  uint32_t(pageChange),
                                uint32_t(lineChange), uint32_t(position), trackEvents};
    SaveWords(blob, kCount, w);
}

bool ScrollTarget(const HScrollBarProperties& bar, uint32_t request, int32_t thumb, BarRange range,
                  int32_t* position) {
    int64_t next = bar.position;
    switch (request) {
        case kScrollLineLeft: next -= bar.lineChange; break;
        case kScrollLineRight: next += bar.lineChange; break;
        case kScrollPageLeft: next -= bar.pageChange; break;
        case kScrollPageRight: next += bar.pageChange; break;
        case kScrollThumbPosition: next = thumb; break;
        case kScrollThumbTrack:
            if (!bar.trackEvents) return false;
            next = thumb;
            break;
        case kScrollLeft: next = bar.minimum; break;
        case kScrollRight: next = bar.maximum; break;
        default: return false;
    }
    *position = static_cast<int32_t>(std::max<int64_t>(range.lower, std::min<int64_t>(range.upper, next)));
    return true;
}

}  // namespace ruvelto::components
