// The companion offer window: install writes each ticked companion's installer next to the
// program and runs it to its end, the archiver's before the browser's; skip closes the window.
// Its close box is refused, so only "跳过" closes it.
#include <string>

#include "app/app_state.h"
#include "app/file_commands.h"
#include "app/handlers.h"
#include "app/installer_run.h"
#include "app/program_commands.h"
#include "app/texts.h"
#include "app/runtime_facade.h"
#include "image-data/library_command_tables.h"
#include "image-data/program_image_data.h"
#include "image-data/windows/main_window_units.h"
#include "image-data/windows/offer_window_units.h"

using namespace ruvelto;
using namespace ruvelto::app;

namespace {

enum CoreCommand : int { kGetWindowHandle = 9, kDestroyUnit = 25, kGetRunDirectory = 26, kWriteFile = 27 };
constexpr int32_t kInformationIcon = 0x40;
constexpr uint32_t kWarningIcon = 0x30;
constexpr int32_t kPauseBeforeRun = 1000;  // milliseconds between writing an installer and starting it

bool Ticked(uint32_t box) {
    return ReadIntProperty(offer_window::kWindow, box, offer_window::kCheckedProperty) != 0;
}

ValueRecord Core(int command, std::initializer_list<ValueRecord> args) {
    return CallCoreCommand(image_data::kCoreLibraryCommands[command], args);
}

void* WindowHandle(uint32_t window, uint32_t record) {
    const ValueRecord handle = Core(kGetWindowHandle, {UnitValue(window, record, kTypeWindow)});
    return reinterpret_cast<void*>(static_cast<uintptr_t>(handle.lo));
}

// Writes the installer beside the program, waits a second, then runs it and waits for its end.
// An installer that cannot be written is not run: the file of that name could be anything.
void InstallCompanion(const char* fileName, const void* installer) {
    Text folder(reinterpret_cast<char*>(static_cast<uintptr_t>(Core(kGetRunDirectory, {}).lo)));
    const std::string path = std::string(folder.c_str()) + fileName;
    if (!Core(kWriteFile, {TextValue(path.c_str()), BytesValue(installer)}).lo) {
        ShowLongMessage(std::string(texts::kInstallerNotWritten) + "\n" + path, kWarningIcon, texts::kPromptTitle);
        return;
    }
    PauseHandlingMessages(kPauseBeforeRun);
    // Quoted, so that a program folder with spaces in its name starts this file and no other.
    RunToItsEnd("\"" + path + "\"");
}

}  // namespace

RUVELTO_HANDLER(ruvelto_on_offer_install) {
    const bool archiver = Ticked(offer_window::kArchiverBox);
    const bool browser = Ticked(offer_window::kBrowserBox);
    if (!archiver && !browser) {
        MessageBox(image_data::constant::ChooseSoftwarePrompt(), kInformationIcon,
                   image_data::constant::SystemPromptTitle());
        return kNoAnswer;
    }
    // The windows answer while an installer runs, but a click on them waits for nothing.
    BusyScope busy;
    WindowsHeld held({WindowHandle(offer_window::kWindow, offer_window::kWindowRecord),
                      WindowHandle(main_window::kWindow, main_window::kWindowRecord)});
    if (archiver)
        InstallCompanion(image_data::constant::ArchiverInstallerName(), image_data::constant::ArchiverInstaller());
    if (browser)
        InstallCompanion(image_data::constant::BrowserInstallerName(), image_data::constant::BrowserInstaller());
    return kNoAnswer;
}

RUVELTO_HANDLER(ruvelto_on_offer_skip) {
    Core(kDestroyUnit, {UnitValue(offer_window::kWindow, offer_window::kWindowRecord, kTypeWindow)});
    return kNoAnswer;
}

RUVELTO_HANDLER(ruvelto_on_offer_created) { return kNoAnswer; }

// The close box does nothing.
RUVELTO_HANDLER(ruvelto_on_offer_close) { return Answer(false); }
