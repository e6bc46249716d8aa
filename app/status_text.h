// The status bar's one text across the bar, and notices that hold it for a moment against the
// run's progress text.
#pragma once
#include <string>

namespace ruvelto::app {

// One panel across the status bar holding text (its tip holds the same).
void ShowStatusText(const std::string& text);
// Shows text and keeps it for a couple of seconds: a run's progress waits meanwhile.
void ShowStatusNotice(const std::string& text);
// Whether a notice is being held.
bool StatusNoticeHeld();

}  // namespace ruvelto::app
