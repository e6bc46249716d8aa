#include "runtime/runtime_state.h"

namespace ruvelto::runtime {

RuntimeState& State() {
    static RuntimeState state;
    return state;
}

}  // namespace ruvelto::runtime
