// The skin's records: one per subclassed window, in one process-wide list (newest first), each
// allocated from the process heap. Only the user-interface thread touches the list.
#pragma once
#include <windows.h>

#include <cstdint>

#include "extui/xp_style_kinds.h"

namespace ruvelto::extui {

struct SkinRecord {
    HWND window = nullptr;
    SkinKind kind = kNotSkinned;
    uint32_t state = 0;
    // What the parent answered to the last WM_CTLCOLORBTN: its brush's colour and the text colour
    // it set. The brush itself is not kept: the parent may delete it once its colour changes.
    COLORREF brushColour = 0;
    COLORREF textColour = 0;
    bool coloursKnown = false;
    WNDPROC previous = nullptr;
    SkinRecord* next = nullptr;
};

SkinRecord* FindSkinRecord(HWND window);
// A new record at the head of the list; null when the heap refuses.
SkinRecord* AddSkinRecord(HWND window, SkinKind kind, uint32_t state);
// Unlinks and frees the record.
void DeleteSkinRecord(SkinRecord* record);
SkinRecord* FirstSkinRecord();
// How many records name the window (1 for a skinned window, never more).
int CountSkinRecords(HWND window);

}  // namespace ruvelto::extui
