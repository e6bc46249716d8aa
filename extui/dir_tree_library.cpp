#include "extui/dir_tree_library.h"

#include "commands/command_values.h"
#include "extui/dir_tree.h"
#include "forms/units.h"

namespace ruvelto::extui {

void GetSelectedPathCommand(ValueRecord* result, int32_t count, ValueRecord* args) {
    result->type = kTypeText;
    result->lo = 0;
    if (count < 1) return;
    forms::WindowObject* unit = forms::FindLoadedUnitOrFail(args[0].lo, args[0].hi);
    const auto* tree = dynamic_cast<const DirTree*>(unit);
    if (tree) commands::SetText(result, tree->SelectedPath());
}

}  // namespace ruvelto::extui
