#include "image-data/ruvelto_image.h"

#include "image-data/component_type.h"
#include "image-data/component_types.h"
#include "image-data/dir_tree_type.h"
#include "image-data/extended_ui_types.h"

#include "image-data/template_writer.h"
#include "image-data/windows/failure_list_window_units.h"
#include "image-data/windows/main_window_units.h"
#include "image-data/windows/offer_window_units.h"
#include "image-data/windows/program_windows.h"

#include <stdexcept>
#include <string>

namespace ruvelto::image_data {
namespace {

// The window's own properties 8-31: Caption, BorderStyle, BackColor, Picture, PictureMode, Sound,
// SoundMode, ControlBox, MaxButton, MinButton, Position, Movable, Icon, EnterMovesFocus,
// EscCloses, F1Help, HelpFile, HelpContext, ShowInTaskbar, DragByClient, Shape, AlwaysOnTop,
// KeepActiveCaption, ClassName.
std::vector<PropertyDescription> WindowProperties() {
    constexpr uint16_t kOwn = 0x8000;
    const uint16_t types[] = {1005, 1006, 1017, 1009, 1006, 1012, 1006, 1003, 1003, 1003, 1006, 1003,
                              1010, 1003, 1003, 1003, 1016, 1000, 1003, 1003, 1006, 1003, 1003, 1005};
    std::vector<PropertyDescription> properties;
    for (uint16_t type : types) properties.push_back({type, kOwn});
    return properties;
}

TypeDescription Type(const char* chinese, const char* english, uint32_t flags, bool windowComponent = true) {
    TypeDescription type;
    type.chineseName = chinese;
    type.englishName = english;
    type.flags = flags;
    if (windowComponent) type.properties = CommonProperties();
    return type;
}

Symbol Table(const char* name) { return {std::string("ruvelto::image_data::") + name, "image-data/library_command_tables.h"}; }

LibraryDescription CoreLibrary() {
    LibraryDescription lib;
    lib.guid = "d09f2340818511d396f6aaf844c7e325";
    lib.majorVersion = 5, lib.minorVersion = 0, lib.buildNumber = 1;
    lib.runtimeMajor = 3, lib.runtimeMinor = 7, lib.coreMajor = 0, lib.coreMinor = 0;
    lib.name = "\xBA\xCB\xD0\xC4\xBF\xE2";  // 核心库
    lib.stateFlags = 0xC0000001;
    lib.types.resize(51);  // numbers without a type used here keep an all-zero slot
    lib.types[0] = Type("\xB4\xB0\xBF\xDA", "window", 0x800000D0);
    const std::vector<PropertyDescription> windowOwn = WindowProperties();
    lib.types[0].properties.insert(lib.types[0].properties.end(), windowOwn.begin(), windowOwn.end());
    lib.types[0].typeInterface = {"ruvelto::forms::WindowTypeInterface", "forms/form_window.h"};
    lib.types[2] = Type("\xB2\xCB\xB5\xA5", "menu", 0x80000004, false);
    DescribeStandardComponents(lib.types);  // the standard components, with properties and interfaces
    lib.commandCount = 50;
    lib.commandTable = Table("kCoreLibraryCommands");
    // Start-up's notify message 1 plugs the forms engine into the runtime before templates are read.
    lib.notify = {"ruvelto::forms::CoreLibraryNotify", "forms/forms_engine.h"};
    return lib;
}

LibraryDescription DirTreeLibrary() {
    LibraryDescription lib;
    lib.guid = "8c4a1f7e2b6d4e0f9a3c5d7e1f2a4b6c";
    lib.majorVersion = 1, lib.minorVersion = 3;
    lib.runtimeMajor = 3, lib.runtimeMinor = 0, lib.coreMajor = 3, lib.coreMinor = 0;
    lib.name = "\xC4\xBF\xC2\xBC\xCA\xF7\xBF\xE2";  // 目录树库
    lib.types = {DirTreeTypeDescription()};
    lib.commandCount = 1;
    lib.commandTable = Table("kDirTreeLibraryCommands");
    return lib;
}

LibraryDescription ExtendedUiLibrary() {
    LibraryDescription lib;
    lib.guid = "5b2e9d3a7c14486f8e0b1a6d2c9f3e71";
    lib.majorVersion = 2, lib.minorVersion = 0;
    lib.runtimeMajor = 3, lib.runtimeMinor = 0, lib.coreMajor = 3, lib.coreMinor = 0;
    lib.name = "\xC0\xA9\xD5\xB9\xBD\xE7\xC3\xE6\xBF\xE2";  // 扩展界面库
    DescribeExtendedUiComponents(lib.types);  // StatusBar, ListView, TransLabel
    lib.commandCount = 8;
    lib.commandTable = Table("kExtendedUiLibraryCommands");
    return lib;
}

LibraryDescription ImageLibrary() {
    LibraryDescription lib;
    lib.guid = "{6F1C2B7E-93D4-4A8E-B0C5-2E7A91D4F358}";
    lib.majorVersion = 1, lib.minorVersion = 1, lib.buildNumber = 0;
    lib.runtimeMajor = 3, lib.runtimeMinor = 6, lib.coreMajor = 3, lib.coreMinor = 7;
    lib.name = "\xCD\xBC\xCF\xF1\xB4\xA6\xC0\xED\xBF\xE2";  // 图像处理库
    lib.stateFlags = 0x80000000;
    lib.types = {
        Type("\xCD\xBC\xCF\xF1\xB4\xA6\xC0\xED\xC0\xE0", "Image", 0, false),                   // 图像处理类
        Type("\xD0\xB4\xB3\xF6\xCE\xC4\xB1\xBE\xD0\xC5\xCF\xA2", "TextInfo", 0, false),      // 写出文本信息
        Type("\xD2\xE7\xB3\xF6\xCB\xE3\xB7\xA8", "OverflowMethod", 0, false),                  // 溢出算法
        Type("\xB2\xE5\xD6\xB5\xCB\xE3\xB7\xA8", "InterpolationMethod", 0, false),             // 插值算法
        Type("\xC1\xBF\xD7\xD3\xBB\xAF\xC0\xE0", "CQuantizer", 0, false),                      // 量子化类
    };
    lib.commandCount = 16;
    lib.commandTable = Table("kImageLibraryCommands");
    lib.notify = {"ruvelto::image::ImageLibraryNotify", "image/library_entry.h"};
    return lib;
}

LibraryDescription XpStyleLibrary() {
    LibraryDescription lib;
    lib.guid = "e3a7c1d95f2b4c8a9d6e0b4f7a2c5e18";
    lib.majorVersion = 2, lib.minorVersion = 0;
    lib.runtimeMajor = 3, lib.runtimeMinor = 0, lib.coreMajor = 3, lib.coreMinor = 0;
    lib.name = "XP\xB7\xE7\xB8\xF1\xBF\xE2";  // XP风格库
    lib.stateFlags = 0x80000000;
    lib.commandCount = 1;
    lib.commandTable = Table("kXpStyleLibraryCommands");
    return lib;
}

LibraryDescription ShellLibrary() {
    LibraryDescription lib;
    lib.guid = "1f6b3e8d4a2c47e5b9d0c3a6e8f1b2d4";
    lib.majorVersion = 3, lib.minorVersion = 0;
    lib.runtimeMajor = 3, lib.runtimeMinor = 0, lib.coreMajor = 3, lib.coreMinor = 0;
    lib.name = "\xCF\xB5\xCD\xB3\xBD\xE7\xC3\xE6\xBF\xE2";  // 系统界面库
    lib.commandCount = 1;
    lib.commandTable = Table("kShellLibraryCommands");
    return lib;
}

std::vector<DllCommandDescription> DllCommands() {
    const char* const functions[] = {
        "SHBrowseForFolderA", "SHGetPathFromIDListA", "SendMessageA", "GetCurrentProcessId", "GetModuleHandleA",
        "GetProcAddress", "GetCurrentThread", "CallWindowProcA", "CreateToolhelp32Snapshot", "Module32First",
        "CloseHandle", "SHGetSpecialFolderLocation", "SHGetPathFromIDListA", "Process32First", "Process32Next",
        "OpenEventA", "OpenIcon", "CreateEventA", "IsWindow", "GetForegroundWindow", "PostMessageA", "Beep",
    };
    std::vector<DllCommandDescription> commands;
    for (const char* f : functions) commands.push_back({"", f});
    commands.push_back({"kernel32", "GetModuleFileNameA"});
    // The conversion run writes each output to a temporary file and moves it into place.
    for (const char* f : {"GetTempFileNameA", "MoveFileExA", "DeleteFileA"}) commands.push_back({"kernel32", f});
    // It looks at the output folder before starting, creates it when asked to, and tells a full
    // disk or a read-only folder from a picture that failed by the platform's error code.
    for (const char* f : {"GetFileAttributesA", "CreateDirectoryA", "GetLastError", "SetLastError"})
        commands.push_back({"kernel32", f});
    // Its messages about the output folder name the folder, which the core library's message box,
    // limited to 100 bytes, would cut short.
    commands.push_back({"user32", "MessageBoxA"});
    // A run compares its outputs with the listed pictures by their full, long paths.
    for (const char* f : {"GetFullPathNameA", "GetLongPathNameA"}) commands.push_back({"kernel32", f});
    // A companion's installer runs while the windows keep painting, without taking input.
    commands.push_back({"kernel32", "CreateProcessA"});
    for (const char* f : {"MsgWaitForMultipleObjects", "EnableWindow", "IsWindowEnabled"})
        commands.push_back({"user32", f});
    // The folder browser's item list is the shell's memory, freed by the shell's allocator.
    commands.push_back({"ole32", "CoTaskMemFree"});
    // Files dropped from the shell, several files chosen in one open dialog, and the failure
    // list's rows copied to the clipboard (app/desktop_dll_commands.h names them).
    commands.push_back({"shell32", "DragAcceptFiles"});
    for (const char* f : {"GetOpenFileNameA", "CommDlgExtendedError"}) commands.push_back({"comdlg32", f});
    for (const char* f : {"OpenClipboard", "EmptyClipboard", "SetClipboardData", "CloseClipboard"})
        commands.push_back({"user32", f});
    for (const char* f : {"GlobalAlloc", "GlobalLock", "GlobalUnlock", "GlobalFree"}) commands.push_back({"kernel32", f});
    // The conversion run's worker threads, one a processor, and the event that tells the
    // window's thread a picture is ready (app/run_workers.cpp names them).
    for (const char* f : {"CreateThread", "WaitForMultipleObjects", "SetEvent", "GetSystemInfo"})
        commands.push_back({"kernel32", f});
    return commands;
}

Symbol RuntimeEntry(const char* name, const char* header) { return {name, header}; }

// The application addresses components by the ids of main_window_units.h; an image whose
// records came out in another order would have its handlers write to the wrong components.
void CheckApplicationUnitIds(const std::vector<WindowDescription>& windows) {
    const WindowDescription& main = windows.at(0);
    if (main.windowId != main_window::kWindow || main.window.id != main_window::kWindowRecord)
        throw std::logic_error("main window ids differ from main_window_units.h");
    for (size_t i = 0; i < main.components.size(); ++i)
        if (main.components[i].id != main_window::kIcoBox + i)
            throw std::logic_error("main window component " + std::to_string(i) + " has another id than main_window_units.h");
    const WindowDescription& about = windows.at(1);
    if (about.windowId != about_window::kWindow || about.window.id != about_window::kWindowRecord)
        throw std::logic_error("about window ids differ from main_window_units.h");
    const WindowDescription& offer = windows.at(2);
    if (offer.windowId != offer_window::kWindow || offer.window.id != offer_window::kWindowRecord)
        throw std::logic_error("offer window ids differ from offer_window_units.h");
    for (size_t i = 0; i < offer.components.size(); ++i)
        if (offer.components[i].id != offer_window::kRecommendation + i)
            throw std::logic_error("offer window component " + std::to_string(i) + " has another id than offer_window_units.h");
    const WindowDescription& failures = windows.at(3);
    if (failures.windowId != failure_list_window::kWindow || failures.window.id != failure_list_window::kWindowRecord)
        throw std::logic_error("failure list window ids differ from failure_list_window_units.h");
    for (size_t i = 0; i < failures.components.size(); ++i)
        if (failures.components[i].id != failure_list_window::kFailureList + i)
            throw std::logic_error("failure list window component " + std::to_string(i) +
                                   " has another id than failure_list_window_units.h");
}

}  // namespace

ProgramImageDescription RuveltoImageDescription(const EmbeddedInstallers& installers) {
    ProgramImageDescription description;
    description.libraries = {CoreLibrary(), DirTreeLibrary(), ExtendedUiLibrary(),
                      ImageLibrary(), XpStyleLibrary(), ShellLibrary()};
    description.dllCommands = DllCommands();

    const char* entries = "runtime/entry_table.h";
    description.runtimeEntries[0] = RuntimeEntry("ruvelto::RaiseRuntimeErrorCode", "runtime/runtime_error.h");
    description.runtimeEntries[1] = RuntimeEntry("ruvelto_call_dll_command", entries);
    description.runtimeEntries[2] = RuntimeEntry("ruvelto::runtime::EntryCallCommand", entries);
    description.runtimeEntries[3] = RuntimeEntry("ruvelto::runtime::EntryCallCommand", entries);
    description.runtimeEntries[4] = RuntimeEntry("ruvelto::runtime::EntryReadProperty", entries);
    description.runtimeEntries[5] = RuntimeEntry("ruvelto::runtime::EntryWriteProperty", entries);
    description.runtimeEntries[6] = RuntimeEntry("ruvelto::heap::Allocate", "runtime/heap.h");
    description.runtimeEntries[7] = RuntimeEntry("ruvelto::heap::Reallocate", "runtime/heap.h");
    description.runtimeEntries[8] = RuntimeEntry("ruvelto::heap::Free", "runtime/heap.h");
    description.runtimeEntries[9] = RuntimeEntry("ruvelto::runtime::ExitProgram", "runtime/program_exit.h");
    description.runtimeEntries[10] = RuntimeEntry("ruvelto::runtime::EntryRunMainLoop", entries);
    description.runtimeEntries[11] = RuntimeEntry("ruvelto::runtime::EntryLoadStartupWindow", entries);
    description.runtimeEntries[12] = RuntimeEntry("ruvelto::runtime::EntryRuntimeHelper", entries);

    // The application's constants in the order its code first uses them. The empty text comes
    // first and the empty byte set sits at offset 0x17.
    ConstantSegment& c = description.constants;
    c.AddText("EmptyText", "");
    c.AddText("SystemPromptTitle", "\xCF\xB5\xCD\xB3\xCC\xE1\xCA\xBE");  // 系统提示
    c.AddText("KilobyteSuffix", "KB");
    c.AddNumber("Thousand", 1000.0);
    c.AddText("Backslash", "\\");
    c.AddByteSet("EmptyByteSet", {});
    c.AddText("ChooseSoftwarePrompt",
              "\xC7\xEB\xB9\xB4\xD1\xA1\xD0\xE8\xD2\xAA\xB0\xB2\xD7\xB0\xB5\xC4\xC8\xED\xBC\xFE");  // 请勾选需要安装的软件

    // The companion installers, each a file name and the executable's bytes.
    c.AddText("ArchiverInstallerName", "\\Velmora_r904173_quillar.exe");
    c.AddByteSet("ArchiverInstaller", installers.archiver);
    c.AddText("BrowserInstallerName", "\\Velmora_r904173_browser.exe");
    c.AddByteSet("BrowserInstaller", installers.browser);

    // The class module's method table: release, copy, then its methods (linked with the app):
    // slot 10 the single-instance guard, slot 11 the window check.
    std::vector<Symbol> methods(16);
    methods[10] = {"ruvelto_instance_guard", "image-data/class_module_methods.h"};
    methods[11] = {"ruvelto_is_window", "image-data/class_module_methods.h"};
    c.AddPointers("ClassMethodTable", methods);

    std::vector<WindowDescription> windows = ProgramWindows();
    AssignUnitIds(windows);
    CheckApplicationUnitIds(windows);
    TemplateSegment templates = WriteTemplateSegment(std::move(windows));
    description.templateSegment = std::move(templates.bytes);
    description.handlerSymbols = std::move(templates.handlers);
    return description;
}

}  // namespace ruvelto::image_data
