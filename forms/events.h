// Delivering events to application handlers, the suppression counter, and the current source.
#pragma once
#include <cstdint>
#include <initializer_list>

#include "forms/event_record.h"

namespace ruvelto::forms {

// Finds the handler of (window, unit, event) and calls it; true when a handler ran. The record's
// returned flag and value then hold the handler's result. Nothing is delivered while events are
// suppressed. An unknown window or unit, or a unit of a type that is neither a window component
// nor a menu, is a runtime error.
bool RaiseEvent(EventRecord& record);
// The same with arguments given in place; *result receives the record after delivery.
bool RaiseEvent(uint32_t windowId, uint32_t unitId, int32_t event, std::initializer_list<uint32_t> arguments = {},
                EventRecord* result = nullptr);
// The wide form (runtime service 2031).
bool RaiseWideEvent(WideEventRecord& record);

// The suppression counter: +1 while windows load or components are re-created.
void SuppressEvents();
void ResumeEvents();  // never below 0
bool EventsSuppressed();

// The unit whose handler is running: false when none.
bool CurrentEventSource(uint32_t& windowId, uint32_t& unitId);

}  // namespace ruvelto::forms
