#include "extui/xp_style_records.h"

#include <new>

namespace ruvelto::extui {
namespace {

SkinRecord* head = nullptr;

}  // namespace

SkinRecord* FindSkinRecord(HWND window) {
    for (SkinRecord* r = head; r; r = r->next)
        if (r->window == window) return r;
    return nullptr;
}

SkinRecord* AddSkinRecord(HWND window, SkinKind kind, uint32_t state) {
    void* block = HeapAlloc(GetProcessHeap(), HEAP_ZERO_MEMORY, sizeof(SkinRecord));
    if (!block) return nullptr;
    auto* record = new (block) SkinRecord;
    record->window = window;
    record->kind = kind;
    record->state = state;
    record->next = head;
    head = record;
    return record;
}

void DeleteSkinRecord(SkinRecord* record) {
    for (SkinRecord** link = &head; *link; link = &(*link)->next) {
        if (*link != record) continue;
        *link = record->next;
        record->~SkinRecord();
        HeapFree(GetProcessHeap(), 0, record);
        return;
    }
}

SkinRecord* FirstSkinRecord() { return head; }

int CountSkinRecords(HWND window) {
    int n = 0;
    for (SkinRecord* r = head; r; r = r->next) n += r->window == window;
    return n;
}

}  // namespace ruvelto::extui
