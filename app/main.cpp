// Process entry of ruvelto.exe: the runtime application object comes up, the forms engine is
// plugged in, and the application's entry routine runs the program's whole life.
#include <windows.h>

#include "app/entry_routine.h"
#include "forms/forms_engine.h"
#include "image-data/program_image_data.h"
#include "runtime/process_start.h"

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    ruvelto::forms::InstallFormsEngine();
    ruvelto::runtime::RunApplication(ruvelto::image_data::kProgramImage, &ruvelto::app::EntryRoutine);
}
