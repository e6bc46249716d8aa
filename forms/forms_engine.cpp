#include "forms/forms_engine.h"

#include "forms/template_segment.h"
#include "runtime/forms_hooks.h"
#include "runtime/program_image.h"
#include "runtime/runtime_state.h"

namespace ruvelto::forms {
namespace {

// Start-up: the whole segment becomes window units, handlers relocated against the code base.
bool LoadTemplates(const uint8_t* segment, uint32_t length) {
    const runtime::ProgramImageHeader* image = runtime::State().image;
    uint32_t codeBase = image ? static_cast<uint32_t>(reinterpret_cast<uintptr_t>(image->codeBase)) : 0;
    std::vector<std::unique_ptr<WindowUnit>> units;
    if (!ReadTemplateSegment(segment, length, codeBase, units)) return false;
    for (auto& unit : units) WindowUnits().Append(std::move(unit));
    return true;
}

}  // namespace

void InstallFormsEngine() {
    runtime::FormsHooks hooks = runtime::Forms();
    hooks.loadTemplates = &LoadTemplates;
    runtime::SetFormsHooks(hooks);
}

}  // namespace ruvelto::forms
