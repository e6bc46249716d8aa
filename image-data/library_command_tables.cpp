// Command tables by library. To link a command: include its library's header and replace the
// entry's nullptr with the command's function, e.g. `/* 3 */ &commands::TextLength,`.
#include "image-data/library_command_tables.h"

#include "commands/picture_commands.h"
#include "commands/shutdown_command.h"
#include "commands/system_commands.h"
#include "commands/text_commands.h"
#include "components/standard_types.h"
#include "extui/dir_tree_library.h"
#include "extui/list_view_commands.h"
#include "extui/xp_style.h"
#include "forms/unit_commands.h"
#include "image/library_entry.h"

namespace ruvelto::image_data {

const CommandEntry kCoreLibraryCommands[50] = {
    /* 0 ToText */ &core_commands::ToText,
    /* 1 ToInteger */ &core_commands::ToInteger,
    /* 2 ClearPanel (DrawPanel method) */ &components::ClearPanelCommand,
    /* 3 TextLength */ &core_commands::TextLength,
    /* 4 FindTextBackward */ &core_commands::FindTextBackward,
    /* 5 RightText */ &core_commands::RightText,
    /* 6 ToByte */ &core_commands::ToByte,
    /* 7 LoadPicture */ &core_commands::LoadPicture,
    /* 8 DrawPicture (DrawPanel method) */ &components::DrawPictureCommand,
    /* 9 GetWindowHandle */ &forms::GetWindowHandleCommand,
    /* 10 RegistryItemExists */ &core_commands::RegistryItemExists,
    /* 11 LoadWindow */ &forms::LoadWindowCommand,
    /* 12 ProcessEvents */ &forms::ProcessEventsCommand,
    /* 13 GetFileSize */ &core_commands::GetFileSize,
    /* 14 GetFileTime */ &core_commands::GetFileTime,
    /* 15 TimeToText */ &core_commands::TimeToText,
    /* 16 MessageBox */ &core_commands::MessageBox,
    /* 17 GetPicture (DrawPanel method) */ &components::GetPictureCommand,
    /* 18 FindText */ &core_commands::FindText,
    /* 19 LeftText */ &core_commands::LeftText,
    /* 20 UnloadPicture */ &core_commands::UnloadPicture,
    /* 21 BitOr */ &core_commands::BitOr,
    /* 22 SpaceText */ &core_commands::SpaceText,
    /* 23 TrimBoth */ &core_commands::TrimBoth,
    /* 24 Open (CommonDlg method) */ &components::OpenCommonDialogCommand,
    /* 25 DestroyUnit */ &forms::DestroyUnitCommand,
    /* 26 GetRunDirectory */ &core_commands::GetRunDirectory,
    /* 27 WriteFile */ &core_commands::WriteFile,
    /* 28 Delay */ &core_commands::Delay,
    /* 29 Run */ &core_commands::Run,
    /* 30 ToLowerCase */ &core_commands::ToLowerCase,
    /* 31 ReplaceSubtext */ &core_commands::ReplaceSubtext,
    /* 32 MiddleText */ &core_commands::MiddleText,
    /* 33 SplitText */ &core_commands::SplitText,
    /* 34 ToByteSet */ &core_commands::ToByteSet,
    /* 35 GetExecutableName */ &core_commands::GetExecutableName,
    /* 36 ReadIntRegistryItem */ &core_commands::ReadIntRegistryItem,
    /* 37 WriteRegistryItem */ &core_commands::WriteRegistryItem,
    /* 38 SetRandomSeed */ &core_commands::SetRandomSeed,
    /* 39 GetRandom */ &core_commands::GetRandom,
    /* 40 ReadFile */ &core_commands::ReadFile,
    /* 41 ByteSetLength */ &core_commands::ByteSetLength,
    /* 42 FindBytes */ &core_commands::FindBytes,
    /* 43 MiddleBytes */ &core_commands::MiddleBytes,
    /* 44 ToHexText */ &core_commands::ToHexText,
    /* 45 LeftBytes */ &core_commands::LeftBytes,
    /* 46 BitAnd */ &core_commands::BitAnd,
    /* 47 ShiftRight */ &core_commands::ShiftRight,
    /* 48 BitXor */ &core_commands::BitXor,
    /* 49 BitNot */ &core_commands::BitNot,
};

const CommandEntry kDirTreeLibraryCommands[1] = {
    /* 0 GetSelectedPath */ &extui::GetSelectedPathCommand,
};

// The list view's seven methods.
const CommandEntry kExtendedUiLibraryCommands[8] = {
    /* 0 GetItemText */ &extui::GetItemText,
    /* 1 GetItemCount */ &extui::GetItemCount,
    /* 2 SetCheckState */ &extui::SetCheckState,
    /* 3 DeleteAllItems */ &extui::DeleteAllItems,
    /* 4 InsertItem */ &extui::InsertItem,
    /* 5 SetItemText */ &extui::SetItemText,
    /* 6 GetCheckState */ &extui::GetCheckState,
    /* 7 SetItemTip */ &extui::SetItemTip,
};

const CommandEntry kImageLibraryCommands[16] = {
    /* 0 DecodeFromFile */ &image::BoundDecodeFromFile,
    /* 1 GetJpegQuality */ &image::BoundGetJpegQuality,
    /* 2 EecodeToBin */ &image::BoundEncodeToBin,
    /* 3 SetJpegScale */ &image::BoundSetJpegScale,
    /* 4 SetJpegQuality */ &image::BoundSetJpegQuality,
    /* 5 GetWidth */ &image::BoundGetWidth,
    /* 6 GetHeight */ &image::BoundGetHeight,
    /* 7 Destroy */ &image::BoundDestroy,
    /* 8 DecodeFromBin */ &image::BoundDecodeFromBin,
    /* 9 EecodeToFile */ &image::BoundEncodeToFile,
    /* 10 Free */ &image::BoundFree,
    /* 11 SetEscape */ &image::BoundSetEscape,
    /* 12 Resample */ &image::BoundResample,
    /* 13 AlphaStrip */ &image::BoundAlphaStrip,
    /* 14 GetFlags */ &image::BoundGetFlags,
    /* 15 SetFlags */ &image::BoundSetFlags,
};

const CommandEntry kXpStyleLibraryCommands[1] = {
    /* 0 ApplyXPStyle */ &extui::ApplyXPStyleCommand,
};

const CommandEntry kShellLibraryCommands[1] = {
    /* 0 ShutdownSystem */ &shell_commands::ShutdownSystem,
};

}  // namespace ruvelto::image_data
