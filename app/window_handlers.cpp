// The main window itself and its menu items "退出" and "关于".
#include "app/app_state.h"
#include "app/handlers.h"
#include "app/program_commands.h"
#include "image-data/windows/main_window_units.h"

using namespace ruvelto::app;

// While a run or a dialog is under way, closing now would leave the suspended handler reading
// components of an unloaded window: the close is refused, the run is asked to stop, and the
// program ends as soon as the outermost busy handler has returned.
RUVELTO_HANDLER(ruvelto_on_main_window_close) {
    AppState& app = App();
    if (app.BusyDepth == 0) return Answer(true);
    app.CloseRequested = true;
    app.StopRequested = 1;
    return Answer(false);
}

RUVELTO_HANDLER(ruvelto_on_exit) {
    AppState& app = App();
    if (app.BusyDepth == 0) ExitProgram(0);
    app.CloseRequested = true;
    app.StopRequested = 1;
    return kNoAnswer;
}

RUVELTO_HANDLER(ruvelto_on_about) {
    LoadWindow(ruvelto::about_window::kWindow, ruvelto::about_window::kWindowRecord, true);
    return kNoAnswer;
}
