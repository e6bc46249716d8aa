// TRIAL ONLY
#include <windows.h>
#include "runtime/value_record.h"
namespace trial {
void MessageBoxCmd(ruvelto::ValueRecord* r, int32_t n, ruvelto::ValueRecord* a) {
    const char* text = n > 0 && a[0].type == 0x80000004 ? reinterpret_cast<const char*>(a[0].lo) : "";
    const char* title = n > 2 && a[2].type ? reinterpret_cast<const char*>(a[2].lo) : "";
    UINT style = n > 1 ? a[1].lo : 0;
    r->lo = MessageBoxA(nullptr, text, title, style | 0x2000) == IDOK ? 0 : 1;
}
void FileSizeCmd(ruvelto::ValueRecord* r, int32_t, ruvelto::ValueRecord* a) {
    WIN32_FIND_DATAA d; HANDLE h = FindFirstFileA(reinterpret_cast<const char*>(a[0].lo), &d);
    if (h == INVALID_HANDLE_VALUE) { r->lo = 0xFFFFFFFF; return; }
    FindClose(h); r->lo = d.nFileSizeLow;
}
}
