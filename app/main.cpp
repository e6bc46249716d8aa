// Process entry of ruvelto.exe: the runtime application object comes up and the application's
// entry routine runs the program's whole life. The forms engine plugs itself in when start-up
// notifies the core library.
#include <windows.h>

#include "app/entry_routine.h"
#include "image-data/program_image_data.h"
#include "runtime/process_start.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    ruvelto::runtime::RunApplication(ruvelto::image_data::ProgramImage(), &ruvelto::app::EntryRoutine);
}
