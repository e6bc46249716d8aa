// The command tables of the program's six support libraries, in command-number order. An entry
// whose command is not linked yet is null; pointing it at the command is a one-line change in
// library_command_tables.cpp.
#pragma once
#include "runtime/value_record.h"

namespace ruvelto::image_data {

extern const CommandEntry kCoreLibraryCommands[50];
extern const CommandEntry kDirTreeLibraryCommands[1];
extern const CommandEntry kExtendedUiLibraryCommands[8];
extern const CommandEntry kImageLibraryCommands[16];
extern const CommandEntry kXpStyleLibraryCommands[1];
extern const CommandEntry kShellLibraryCommands[1];

}  // namespace ruvelto::image_data
