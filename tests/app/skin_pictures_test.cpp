// The program's own main window and companion offer window, loaded in this process the way
// ruvelto.exe loads them, pictured under the XP-style skin in each of its three schemes
// (build/wine/artifacts/main_window_scheme_N.bmp, offer_window.bmp) for a person to look at. The
// main window's created event has switched the skin on with scheme 1; the other schemes are
// switched to here.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "app/app_state.h"
#include "app/entry_routine.h"
#include "extui/xp_style.h"
#include "image-data/library_command_tables.h"
#include "image-data/program_image_data.h"
#include "image-data/windows/offer_window_units.h"
#include "runtime/entry_table.h"
#include "runtime/program_path.h"
#include "runtime/startup.h"
#include "tests/app/e2e/companion_registry.h"

namespace ruvelto::forms_test {
// From the forms test fixture, whose header also brings in the image builder, whose names clash
// with the program image's own.
void Pump(int milliseconds);
bool SaveWindowPicture(HWND window, const std::string& path);
}  // namespace ruvelto::forms_test

namespace ruvelto::testing {
namespace {

struct TitleSearch {
    const char* title;
    HWND found;
};

BOOL CALLBACK FindTitled(HWND window, LPARAM param) {
    auto* s = reinterpret_cast<TitleSearch*>(param);
    char text[64] = {};
    GetWindowTextA(window, text, sizeof text);
    if (IsWindowVisible(window) && lstrcmpA(text, s->title) == 0) s->found = window;
    return s->found == nullptr;
}

HWND VisibleWindowTitled(const char* title) {
    TitleSearch search{title, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), &FindTitled, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

TEST(SkinPictures, MainWindowInEachSchemeAndTheOfferWindow) {
    CompanionRegistry registry;
    registry.SetInstalled(kArchiverKey, true);  // the main window, not the offer, comes up first
    runtime::EnsureProgramPath();
    runtime::UseProgramImage(&image_data::ProgramImage());
    const runtime::RuntimeEntryTable& rt = image_data::kRuntimeEntries;
    rt.runtimeHelper(runtime::kHelperStartRuntime);
    app::CreateAppState();
    rt.loadStartupWindow(app::kMainWindowId);
    forms_test::Pump(500);
    HWND main = VisibleWindowTitled("Ruvelto 1.0");
    ASSERT_TRUE(main);
    EXPECT_EQ(extui::CurrentXPScheme(), 1) << "the created event switched the skin on";

    const std::string folder = std::string(RUVELTO_BINARY_DIR) + "/artifacts";
    CreateDirectoryA(("Z:" + folder).c_str(), nullptr);
    for (int scheme = 1; scheme <= 3; ++scheme) {
        ASSERT_TRUE(extui::ApplyXPStyle(scheme));
        SetForegroundWindow(main);
        RedrawWindow(main, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
        forms_test::Pump(400);
        EXPECT_TRUE(forms_test::SaveWindowPicture(main, folder + "/main_window_scheme_" + std::to_string(scheme) + ".bmp"));
    }

    // The offer window, shown without its modal loop so that it can be pictured.
    ValueRecord args[1] = {{offer_window::kWindow, offer_window::kWindowRecord, kTypeWindow}};
    EXPECT_EQ(rt.callCoreCommand(image_data::kCoreLibraryCommands[11], 1, args).lo, 1u);  // LoadWindow
    forms_test::Pump(500);
    HWND offer = VisibleWindowTitled("Ruvelto");
    ASSERT_TRUE(offer);
    EXPECT_TRUE(forms_test::SaveWindowPicture(offer, folder + "/offer_window.bmp"));
}

}  // namespace
}  // namespace ruvelto::testing
