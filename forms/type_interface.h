// The type interface: every type descriptor's interface entry maps a service code to the entry
// point of that service, or null when the type lacks it. All entries are cdecl.
#pragma once
#include <windows.h>

#include <cstdint>

namespace ruvelto::forms {

enum TypeInterfaceCode : int32_t {
    kCreateUnit = 1,
    kSetProperty = 4,
    kGetAllPropertyData = 5,
    kGetProperty = 6,
    kGetIconData = 7,
    kWantsKey = 8,
    kEnumerateTexts = 9,
    kIsDefaultButton = 10,
    kPreTranslate = 11,
};

// A property value as the set and get services carry it: integer, logical, choice and colour
// types in `value`; real and date-time types as the double's low and high words; texts as a
// pointer to zero-terminated bytes (never null); byte data as pointer and length; a font as a
// pointer to a 60-byte LOGFONT and 60 (length 0: no font of its own). Pointers that a get
// service hands out stay owned by the live object and are valid until its next call.
struct PropertyData {
    uintptr_t value = 0;  // the value, the low word, or the pointer
    uint32_t length = 0;  // the high word, or the byte count
};

// 1: the live object, or null. blob/blobLength: the record's property block.
using CreateUnitService = void* (*)(const uint8_t* blob, uint32_t blobLength, uint32_t style, HWND parent,
                                    uint32_t controlId, HMENU menu, int32_t x, int32_t y, int32_t width,
                                    int32_t height, uint32_t windowId, uint32_t unitId, HWND designWindow,
                                    uint32_t designMode);
// 4: index counts from the type's first own property (property index minus 8). Returns 1 when
// the unit must be re-created to show the change.
using SetPropertyService = uint32_t (*)(void* object, HWND window, int32_t index, PropertyData value,
                                        char** errorText);
// 5: a new movable global memory block holding the property blob; the caller frees it.
using GetAllPropertyDataService = HGLOBAL (*)(void* object);
// 6: non-zero on success.
using GetPropertyService = uint32_t (*)(void* object, HWND window, int32_t index, PropertyData* value);
// 7 (window only): a new movable global memory block with the icon bytes, or null.
using GetIconDataService = HGLOBAL (*)(void* object);
// 8: 1 when the focused unit processes this navigation key itself.
using WantsKeyService = uint32_t (*)(void* object, uint32_t key);
// 9: the unit's texts for the text conversion, one at a time: `which` counts from 0, null past
// the last. The text stays owned by the live object until its next call.
using EnumerateTextsService = const char* (*)(void* object, int32_t which);
// 10: non-zero when Enter should click the unit.
using IsDefaultButtonService = uint32_t (*)(void* object);
// 11: non-zero when the unit consumed the message.
using PreTranslateService = uint32_t (*)(void* object, MSG* message);

using TypeInterface = void* (*)(int32_t code);

}  // namespace ruvelto::forms
