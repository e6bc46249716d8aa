#include "app/message_pace.h"

#include <chrono>

#include "app/app_state.h"
#include "app/program_commands.h"

namespace ruvelto::app {
namespace {

// Well inside the tenth of a second after which a window feels stuck, even with a slow row
// (a file on a network drive) between two passes.
constexpr auto kBetweenPasses = std::chrono::milliseconds(25);

}  // namespace

void LetMessagesThrough() {
    static auto lastPass = std::chrono::steady_clock::time_point{};
    const auto now = std::chrono::steady_clock::now();
    if (now - lastPass >= kBetweenPasses) {
        ProcessEvents();
        lastPass = std::chrono::steady_clock::now();
    }
}

bool ListingStillWanted(uint32_t generation) {
    LetMessagesThrough();
    return App().ListGeneration == generation && !App().CloseRequested;
}

}  // namespace ruvelto::app
