// The application's global state and the routine that releases it at exit.
#pragma once
#include <cstdint>

namespace ruvelto::app {

struct AppState {
    char* CurrentPicturePath = nullptr;  // text; null is the empty text
    char* SourceFolder = nullptr;
    int32_t PreviewFormat = 0;
    void** PictureObject = nullptr;  // the image object slot (one word, null while no object exists)
    void* PreviewBytes = nullptr;    // byte set
    void* GuardObject = nullptr;     // object of the class module: its first word points at the method table
    int32_t StopRequested = 0;
    int32_t DoneCount = 0;
    char* BrowseInitialFolder = nullptr;
};

AppState& App();

// Entry routine step 2: a new empty image object slot and a new class-module object.
void CreateAppState();

// The clean-up routine registered with the runtime; program exit calls it once.
void CleanUpAppState();

}  // namespace ruvelto::app
