#include "runtime/forms_hooks.h"

namespace ruvelto::runtime {
namespace {
FormsHooks hooks;
}

void SetFormsHooks(const FormsHooks& h) { hooks = h; }
const FormsHooks& Forms() { return hooks; }

}  // namespace ruvelto::runtime
