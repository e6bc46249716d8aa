// The runtime service callback: the one function every support library receives with notify
// message 1 and through which it reaches the runtime (memory, units, events, pictures, ...).
#pragma once
#include <cstdint>

#include "runtime/service_codes.h"
#include "runtime/value_record.h"

namespace ruvelto::runtime {

// The callback itself (a ServiceCallback). Unknown codes return 0.
intptr_t RuntimeService(int32_t code, intptr_t arg1, intptr_t arg2);

// Services carried out by other subsystems (the forms engine's units, windows and events, the
// picture registry) are installed here by those subsystems; a code without a handler
// returns 0. Installing null removes the handler.
void SetServiceHandler(int32_t code, ServiceCallback handler);

// Service 2015 (and the core library's notify message 13): 1 when playback of the described
// sound data started, else 0.
struct SoundRequest;
intptr_t PlaySoundService(const SoundRequest* request);

// Service 2001: the numeric value of a record as a double; a non-numeric type raises
// "欲转换数据类型不是数值". Through the callback the double is written to *(double*)arg2.
double NumberToDouble(const ValueRecord& value);

}  // namespace ruvelto::runtime
