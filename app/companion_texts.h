// The names the single-instance guard and the companion offer use, in GBK.
#pragma once

namespace ruvelto::app::companion_texts {

// The named event that marks a running instance, before its instance tag.
constexpr const char* kGuardEventName =
    "\xC8\xED\xBC\xFE\xB2\xD9\xD7\xF7\xC0\xE0\xC4\xA3\xBF\xE9:\xBD\xFB\xD6\xB9\xD6\xD8\xB8\xB4\xD4\xCB\xD0\xD0:";  // 软件操作类模块:禁止重复运行:
// HKEY_CURRENT_USER: the value that holds the running instance's main window, before the tag.
constexpr const char* kGuardRegistryPath =
    "Software\\ruanjian\\\xBD\xFB\xD6\xB9\xD6\xD8\xB8\xB4\xD4\xCB\xD0\xD0\\";  // Software\ruanjian\禁止重复运行\ .
// HKEY_LOCAL_MACHINE values that tell an installed companion.
constexpr const char* kArchiverRegistryValue = "SOFTWARE\\Quillar\\Path";
constexpr const char* kBrowserRegistryValue = "SOFTWARE\\Tessaline\\Path";

constexpr int kRegistryCurrentUser = 3;
constexpr int kRegistryLocalMachine = 4;

}  // namespace ruvelto::app::companion_texts
