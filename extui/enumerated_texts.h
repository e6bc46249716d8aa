// Type service 9 for the extended components: a component keeps the list of its texts, made
// afresh when the enumeration starts (which = 0), and hands them out one at a time.
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "components/component_base.h"
#include "forms/type_interface.h"

namespace ruvelto::extui {

class EnumeratedTexts {
public:
    template <class MakeTexts>
    const char* At(int32_t which, MakeTexts make) {
        if (which == 0) texts_ = make();
        if (which < 0 || static_cast<size_t>(which) >= texts_.size()) return nullptr;
        return texts_[static_cast<size_t>(which)].c_str();
    }

private:
    std::vector<std::string> texts_;
};

// The entry of service 9 for a component type with `const char* EnumeratedText(int32_t)`.
template <class Type>
const char* EnumerateTextsEntry(void* object, int32_t which) {
    auto* unit = object ? dynamic_cast<Type*>(components::ComponentOf(object)) : nullptr;
    return unit ? unit->EnumeratedText(which) : nullptr;
}

// The type interface of an extended component: service 9 here, the rest as every component.
template <class Type>
void* ExtendedInterfaceOf(int32_t code) {
    if (code == forms::kEnumerateTexts) return reinterpret_cast<void*>(&EnumerateTextsEntry<Type>);
    return components::TypeInterfaceOf<Type>(code);
}

}  // namespace ruvelto::extui
