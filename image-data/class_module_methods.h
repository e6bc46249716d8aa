// The application's class module methods as the program image's class table names them. They are
// linked only into the program; anything else that links the image sees them as absent (null
// slots), as the code base's handlers are.
#pragma once
#include <cstdint>

extern "C" {
__attribute__((weak)) void ruvelto_instance_guard(void* self, int32_t window, int32_t flag, char** tag, int32_t word);
__attribute__((weak)) int32_t ruvelto_is_window(void* self, int32_t window);
}
