#include "forms/forms_engine.h"

#include <windows.h>

#include <set>

#include "components/picture_registry.h"
#include "forms/events.h"
#include "forms/form_window.h"
#include "forms/message_loop.h"
#include "forms/property_access.h"
#include "forms/template_segment.h"
#include "forms/unit_record.h"
#include "forms/units.h"
#include "forms/window_loading.h"
#include "forms/window_unit.h"
#include "runtime/forms_hooks.h"
#include "runtime/program_exit.h"
#include "runtime/program_image.h"
#include "runtime/runtime_state.h"
#include "runtime/services.h"
#include "runtime/sound_playback.h"
#include "runtime/address_word.h"

namespace ruvelto::forms {
namespace {

bool LoadTemplates(const uint8_t* segment, uint32_t length) {
    const runtime::ProgramImageHeader* image = runtime::State().image;
    const uint32_t codeBase = image ? AddressWord(image->codeBase) : 0;
    std::vector<std::unique_ptr<WindowUnit>> units;
    if (!ReadTemplateSegment(segment, length, codeBase, units)) return false;
    for (auto& unit : units) WindowUnits().Append(std::move(unit));
    return true;
}

bool LoadStartupWindow(uint32_t windowId) {
    WindowUnit* unit = WindowUnits().Find(windowId);
    return unit && LoadWindowUnit(*unit, false, false, nullptr);
}

// Window objects for libraries that keep windows of their own (services 1007-1011). The
// library deletes each one it asked for (service 1008, notify message 11); those still alive
// at exit are the runtime's remaining helper objects, released by exit step 9.
class PlainWindowObject : public WindowObject {};
std::set<WindowObject*>& HelperObjects() {
    static std::set<WindowObject*> objects;
    return objects;
}

void DeleteWindowObject(WindowObject* object) {
    HelperObjects().erase(object);
    delete object;
}

void ReleaseHelperObjects() {
    std::set<WindowObject*> objects;
    objects.swap(HelperObjects());
    for (WindowObject* object : objects) delete object;  // detaches it from its window
}

intptr_t Service(int32_t code, intptr_t a1, intptr_t a2) {
    switch (code) {
        case 1001: return reinterpret_cast<intptr_t>(&WindowUnits());
        case 1007: {
            auto* object = new PlainWindowObject;
            if (!object->Attach(reinterpret_cast<HWND>(a1))) {
                delete object;
                return 0;
            }
            HelperObjects().insert(object);
            return reinterpret_cast<intptr_t>(static_cast<WindowObject*>(object));
        }
        case 1008: DeleteWindowObject(reinterpret_cast<WindowObject*>(a1)); return 0;
        case 1009: return a1 ? reinterpret_cast<intptr_t>(reinterpret_cast<WindowObject*>(a1)->Detach()) : 0;
        case 1010: return a1 ? reinterpret_cast<intptr_t>(reinterpret_cast<WindowObject*>(a1)->Handle()) : 0;
        case 1011: return a2 && reinterpret_cast<WindowObject*>(a2)->Attach(reinterpret_cast<HWND>(a1)) ? 1 : 0;
        case 1012: {
            // {window, callback, argument}
            const uint32_t* entry = reinterpret_cast<const uint32_t*>(a1);
            if (entry)
                AddIdleCallback(reinterpret_cast<HWND>(static_cast<uintptr_t>(entry[0])),
                                reinterpret_cast<IdleCallback>(static_cast<uintptr_t>(entry[1])), entry[2]);
            return 0;
        }
        case 1013: RemoveIdleCallback(reinterpret_cast<HWND>(a1)); return 0;
        case 2000: ReportUnitUnloaded(static_cast<uint32_t>(a1), static_cast<uint32_t>(a2)); return 0;
        case 2005: {
            // a1: the window's value record; a2: null or {parent live object, modal flag}.
            const ValueRecord* window = reinterpret_cast<const ValueRecord*>(a1);
            const uintptr_t* extra = reinterpret_cast<const uintptr_t*>(a2);
            WindowUnit* unit = window ? WindowUnits().Find(window->lo) : nullptr;
            if (!unit) return -1;
            WindowObject* parent = extra ? reinterpret_cast<WindowObject*>(extra[0]) : nullptr;
            const bool modal = extra && extra[1] != 0;
            return LoadWindowUnit(*unit, false, modal, parent ? parent->Handle() : nullptr) ? 0 : -1;
        }
        case 2006: return reinterpret_cast<intptr_t>(FindLoadedUnit(static_cast<uint32_t>(a1), static_cast<uint32_t>(a2)));
        case 2008: return a1 && RaiseEvent(*reinterpret_cast<EventRecord*>(a1)) ? 1 : 0;
        case 2017: {
            uint32_t* out = reinterpret_cast<uint32_t*>(a1);
            uint32_t w = 0, u = 0;
            if (!out || !CurrentEventSource(w, u)) return 0;
            out[0] = w, out[1] = u;
            return 1;
        }
        case 2018: ProcessPendingMessages(); return 0;
        case 2022: {
            WindowUnit* unit = WindowUnits().Find(static_cast<uint32_t>(a1));
            if (!unit) return 0;
            int32_t index = a2 == 0 ? 0 : unit->Table().IndexOf(static_cast<uint32_t>(a2));
            return index < 0 ? 0 : unit->Table().TypeCodeAt(static_cast<uint32_t>(index));
        }
        case 2031: return a1 && RaiseWideEvent(*reinterpret_cast<WideEventRecord*>(a1)) ? 1 : 0;
        case 2032: return static_cast<intptr_t>(WindowUnits().units.size());
        case 2033: {
            WindowUnit* unit = WindowUnits().Find(static_cast<uint32_t>(a1));
            return unit ? reinterpret_cast<intptr_t>(UnitWindow(*unit, 0)) : 0;
        }
        default: return 0;
    }
}

ServiceCallback coreCallback = nullptr;

}  // namespace

void InstallFormsEngine() {
    runtime::FormsHooks hooks;
    hooks.readProperty = &ReadProperty;
    hooks.writeProperty = &WriteProperty;
    hooks.loadedWindowCount = &LoadedWindowCount;
    hooks.runMessageLoop = &RunMainLoop;
    hooks.loadStartupWindow = &LoadStartupWindow;
    hooks.loadTemplates = &LoadTemplates;
    hooks.releaseWindows = &ReleaseAllWindows;
    runtime::SetFormsHooks(hooks);
    runtime::SetExitStep(runtime::ExitStep::kClearChildWindows, &ClearIdleCallbacks);
    runtime::SetExitStep(runtime::ExitStep::kReleaseHelperObjects, &ReleaseHelperObjects);
    components::InstallPictureServices();
    for (int32_t code : {1001, 1007, 1008, 1009, 1010, 1011, 1012, 1013, 2000, 2005, 2006, 2008, 2017, 2018, 2022, 2031,
                         2032, 2033})
        runtime::SetServiceHandler(code, &Service);
}

intptr_t CoreLibraryNotify(int32_t message, intptr_t argument1, intptr_t argument2) {
    switch (message) {
        case 1:
            coreCallback = reinterpret_cast<ServiceCallback>(argument1);
            InstallFormsEngine();
            return 0;
        case 2: {
            // A message for the window object's pre-translation: 1 when it consumed it.
            auto* object = reinterpret_cast<WindowObject*>(argument1);
            auto* message = reinterpret_cast<MSG*>(argument2);
            return object && message && object->PreTranslateMessage(message) ? 1 : 0;
        }
        case 10:  // data objects: only the database components make them, and this program has none
        case 12: return 0;
        case 11: DeleteWindowObject(reinterpret_cast<WindowObject*>(argument1)); return 0;
        case 13: return runtime::PlaySoundService(reinterpret_cast<const runtime::SoundRequest*>(argument1));
        default: return -1;
    }
}

}  // namespace ruvelto::forms
