// How often long work (a listing, a run of small pictures) lets pending messages through. Each
// pass also paints the list, and painting after every row cost more than listing the row or
// converting a small picture; a pass every few hundredths of a second keeps the window answering
// and the rows showing as they change.
#pragma once
#include <cstdint>

namespace ruvelto::app {

// Lets pending messages through when the last pass was long enough ago.
void LetMessagesThrough();

// Lets pending messages through when the last pass was long enough ago; then false when
// meanwhile the list was replaced (generation changed) or the window is closing. Between
// passes nothing can have changed either, and the answer is true.
bool ListingStillWanted(uint32_t generation);

}  // namespace ruvelto::app
