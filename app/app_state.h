// The application's global state and the routine that releases it at exit.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace ruvelto::app {

struct FailedPicture {
    std::string path;    // the row's full path
    std::string reason;  // GBK, as the failure list shows it
};

// The file a row of the picture list stands for.
struct ListedFile {
    // The full path: a row added from another folder keeps its folder.
    std::string path;
    // The folder of the file relative to the folder picked in the tree (empty for its own
    // pictures and for files added otherwise); the run writes the row's outputs into the same
    // folder under the output folder.
    std::string subfolder;
};

struct AppState {
    char* CurrentPicturePath = nullptr;  // text; null is the empty text
    char* SourceFolder = nullptr;
    int32_t PreviewFormat = 0;
    uint32_t* PictureObject = nullptr;  // the image object slot (one word, 0 while no object exists)
    void* PreviewBytes = nullptr;    // byte set
    void* GuardObject = nullptr;     // object of the class module: its first word points at the method table
    int32_t StopRequested = 0;
    int32_t DoneCount = 0;
    char* BrowseInitialFolder = nullptr;

    // Each list row's file, in row order. Held by pointer: a folder's rows of one extension go
    // in among the rows of the extensions listed before, and a row inserted among 100,000 then
    // moves pointers, not texts.
    std::vector<std::unique_ptr<ListedFile>> ListedFiles;
    // The pictures the last run could not convert, for the failure list.
    std::vector<FailedPicture> LastFailures;
    // Counts list replacements, so a run suspended in the event pump can tell that its rows are
    // gone.
    uint32_t ListGeneration = 0;
    // The picture registered for the preview panel, released before the next one is registered.
    int32_t PreviewPicture = 0;
    // Handlers that pump messages or run dialogs nest; the main window may only go away when the
    // outermost of them has returned.
    int32_t BusyDepth = 0;
    // A conversion run is under way (its handler is suspended in the event pump).
    bool RunActive = false;
    bool CloseRequested = false;
};

AppState& App();

// Entry routine step 2: a new empty image object slot and a new class-module object.
void CreateAppState();

// The clean-up routine registered with the runtime; program exit calls it once.
void CleanUpAppState();

// Marks a handler that pumps messages or opens a dialog. A close of the main window asked for
// meanwhile is carried out, by ending the program normally, when the outermost one returns.
class BusyScope {
public:
    BusyScope();
    ~BusyScope();
    BusyScope(const BusyScope&) = delete;
    BusyScope& operator=(const BusyScope&) = delete;
};

}  // namespace ruvelto::app
