// The runtime service callback. Memory, paths, types, counters and errors are answered here;
// sound plays here; services of the forms engine and pictures go to the handler their subsystem installed.
#include "runtime/services.h"

#include <windows.h>

#include <cstring>
#include <map>

#include "runtime/heap.h"
#include "runtime/program_exit.h"
#include "runtime/program_image.h"
#include "runtime/program_path.h"
#include "runtime/runtime_error.h"
#include "runtime/runtime_state.h"
#include "runtime/sound_playback.h"

namespace ruvelto::runtime {
namespace {

constexpr const char kNotANumber[] =
    "\xD3\xFB\xD7\xAA\xBB\xBB\xCA\xFD\xBE\xDD\xC0\xE0\xD0\xCD\xB2\xBB\xCA\xC7\xCA\xFD\xD6\xB5";  // 欲转换数据类型不是数值
constexpr const char kNoSuchUnit[] =
    "\xD6\xB8\xB6\xA8\xB4\xB0\xBF\xDA\xBB\xF2\xB4\xB0\xBF\xDA\xD7\xE9\xBC\xFE\xB2\xBB\xB4\xE6\xD4\xDA\xBB\xF2"
    "\xC9\xD0\xCE\xB4\xD4\xD8\xC8\xEB";  // 指定窗口或窗口组件不存在或尚未载入

constexpr uint32_t kRuntimeAnsweredTypeInfo = 0x10030;

std::map<int32_t, ServiceCallback>& Handlers() {
    static std::map<int32_t, ServiceCallback> handlers;
    return handlers;
}

intptr_t Forward(int32_t code, intptr_t arg1, intptr_t arg2) {
    auto& handlers = Handlers();
    auto it = handlers.find(code);
    return it == handlers.end() ? 0 : it->second(code, arg1, arg2);
}

intptr_t ProgramIcons(intptr_t largeOut, intptr_t smallOut) {
    RuntimeState& state = State();
    if (!state.programIcons[0] && !state.programIcons[1]) {
        HINSTANCE module = GetModuleHandleA(nullptr);
        state.programIcons[0] = LoadImageA(module, "DEFAULT_ICON", IMAGE_ICON, GetSystemMetrics(SM_CXICON),
                                           GetSystemMetrics(SM_CYICON), 0);
        state.programIcons[1] = LoadImageA(module, "DEFAULT_ICON", IMAGE_ICON, GetSystemMetrics(SM_CXSMICON),
                                           GetSystemMetrics(SM_CYSMICON), 0);
    }
    if (largeOut) *reinterpret_cast<void**>(largeOut) = state.programIcons[0];
    if (smallOut) *reinterpret_cast<void**>(smallOut) = state.programIcons[1];
    return 0;
}

// Writes into the caller's buffer, which holds a path (MAX_PATH bytes).
intptr_t ProgramPathText(int32_t selector, char* out) {
    if (!out) return 0;
    EnsureProgramPath();
    const RuntimeState& state = State();
    std::string text;
    if (selector == kPathDirectoryWithSlash) text = state.programDirectory + "\\";
    else if (selector == kPathDirectory) text = state.programDirectory;
    else if (selector == kPathFileName) text = state.programFileName;
    size_t n = text.size() < MAX_PATH - 1 ? text.size() : MAX_PATH - 1;
    std::memcpy(out, text.data(), n);
    out[n] = '\0';
    return 0;
}

intptr_t TypeKind(uint32_t typeCode) {
    const RuntimeState& state = State();
    if (!state.image) return 0;
    const TypeDescriptor* type = FindTypeDescriptor(*state.image, typeCode);
    if (!type) return 0;
    if (type->flags & 0x04) return 2;
    if (type->flags & 0x40) return 1;
    return 0;
}

intptr_t TypeInformation(uint32_t typeCode, intptr_t argument) {
    if (typeCode == kRuntimeAnsweredTypeInfo) return 0;
    const RuntimeState& state = State();
    if (!state.image || !IsLibraryTypeCode(typeCode)) return 0;
    uint32_t library = (typeCode >> 16) & 0x3FFF;
    uint32_t type = typeCode & 0xFFFF;
    if (library == 0 || library > state.image->libraryCount || type == 0) return 0;
    const LibraryRecord* record = state.image->libraryTable[library - 1];
    if (!record || !record->notify) return 0;
    return record->notify(kNotifyTypeInformation, static_cast<intptr_t>(type - 1), argument);
}

}  // namespace

intptr_t PlaySoundService(const SoundRequest* request) {
    return request && PlaySoundData(request->data, request->length, request->repeat != 0) ? 1 : 0;
}

double NumberToDouble(const ValueRecord& value) {
    switch (value.type) {
        case kTypeByte: return static_cast<uint8_t>(value.lo);
        case kTypeShort: return static_cast<int16_t>(value.lo);
        case kTypeInt: return static_cast<int32_t>(value.lo);
        case kTypeLong: return static_cast<double>(static_cast<int64_t>((uint64_t{value.hi} << 32) | value.lo));
        case kTypeFloat: {
            float f;
            std::memcpy(&f, &value.lo, 4);
            return f;
        }
        case kTypeDouble: {
            uint64_t bits = (uint64_t{value.hi} << 32) | value.lo;
            double d;
            std::memcpy(&d, &bits, 8);
            return d;
        }
        default: RaiseRuntimeError(kNotANumber, 0);
    }
}

void SetServiceHandler(int32_t code, ServiceCallback handler) {
    if (handler) Handlers()[code] = handler;
    else Handlers().erase(code);
}

intptr_t RuntimeService(int32_t code, intptr_t arg1, intptr_t arg2) {
    RuntimeState& state = State();
    switch (code) {
        case kServiceProgramIcon: return ProgramIcons(arg1, arg2);
        case kServiceTypeDescriptor:
            return state.image ? reinterpret_cast<intptr_t>(FindTypeDescriptor(*state.image, static_cast<uint32_t>(arg1)))
                               : 0;
        case kServiceConstantOne: return 1;
        case kServiceRuntimeVersion: return 5;
        case kServiceProgramPathText: return ProgramPathText(static_cast<int32_t>(arg1), reinterpret_cast<char*>(arg2));
        case kServiceNumberToDouble: {
            double d = NumberToDouble(*reinterpret_cast<const ValueRecord*>(arg1));
            if (arg2) std::memcpy(reinterpret_cast<void*>(arg2), &d, sizeof d);
            return 0;
        }
        case kServiceProgramDirectory:
            EnsureProgramPath();
            return reinterpret_cast<intptr_t>(state.programDirectory.c_str());
        case kServiceProgramFileName:
            EnsureProgramPath();
            return reinterpret_cast<intptr_t>(state.programFileName.c_str());
        case kServiceFindUnitOrFail: {
            intptr_t unit = Forward(kServiceFindUnit, arg1, arg2);
            if (!unit) RaiseRuntimeError(kNoSuchUnit, 0);
            return unit;
        }
        case kServiceSuppressEvents: ++state.eventSuppression; return 0;
        case kServiceResumeEvents:
            if (state.eventSuppression > 0) --state.eventSuppression;
            return 0;
        case kServicePlaySound: return PlaySoundService(reinterpret_cast<const SoundRequest*>(arg1));
        case kServiceStopSound: StopSoundPlayback(); return 0;
        case kServiceFreeArray: heap::FreeArray(static_cast<uint32_t>(arg1), reinterpret_cast<void*>(arg2)); return 0;
        case kServiceAllocate:
            return reinterpret_cast<intptr_t>(arg2 ? heap::AllocateUnchecked(static_cast<uint32_t>(arg1))
                                                   : heap::Allocate(static_cast<uint32_t>(arg1)));
        case kServiceFree: heap::Free(reinterpret_cast<void*>(arg1)); return 0;
        case kServiceReallocate:
            return reinterpret_cast<intptr_t>(heap::Reallocate(reinterpret_cast<void*>(arg1), static_cast<uint32_t>(arg2)));
        case kServiceRaiseError: RaiseRuntimeError(reinterpret_cast<const char*>(arg1), 0);
        case kServiceExitProgram: ExitProgram(static_cast<int32_t>(arg1)); return 0;
        case kServiceTypeKind: return TypeKind(static_cast<uint32_t>(arg1));
        case kServiceProgramKind: return state.image ? state.image->programKind : state.programKind;
        case kServiceTypeInformation: return TypeInformation(static_cast<uint32_t>(arg1), arg2);
        default: return Forward(code, arg1, arg2);
    }
}

}  // namespace ruvelto::runtime
