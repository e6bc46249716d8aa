// The forms engine lives above the runtime and plugs its part of the runtime's duties in here:
// property access by index, the message loop, window loading and the template segment. Until
// it does, the runtime behaves as a program without windows.
#pragma once
#include <cstdint>

namespace ruvelto::runtime {

struct FormsHooks {
    // Entry slots 4 and 5.
    uint64_t (*readProperty)(uint32_t window, uint32_t unit, int32_t index, int32_t subField) = nullptr;
    void (*writeProperty)(uint32_t window, uint32_t unit, int32_t index, int32_t subField, uint32_t lo,
                          uint32_t hi) = nullptr;
    // Entry slot 10: the number of loaded windows, and the loop that runs while one is loaded.
    int32_t (*loadedWindowCount)() = nullptr;
    void (*runMessageLoop)() = nullptr;
    // Entry slot 11: false when the window is unknown or fails to load.
    bool (*loadStartupWindow)(uint32_t windowId) = nullptr;
    // Start-up: reads the template segment into window units; false on malformed data.
    bool (*loadTemplates)(const uint8_t* segment, uint32_t length) = nullptr;
    // Exit: releases every window unit's live windows.
    void (*releaseWindows)() = nullptr;
};

void SetFormsHooks(const FormsHooks& hooks);
const FormsHooks& Forms();

}  // namespace ruvelto::runtime
