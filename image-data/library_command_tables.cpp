// Command tables by library. To link a command: include its library's header and replace the
// entry's nullptr with the command's function, e.g. `/* 3 */ &commands::TextLength,`.
#include "image-data/library_command_tables.h"

#include "image/library_entry.h"

namespace ruvelto::image_data {

const CommandEntry kCoreLibraryCommands[50] = {
    /* 0 ToText */ nullptr,
    /* 1 ToInteger */ nullptr,
    /* 2 (window/DrawPanel/CommonDlg method) */ nullptr,
    /* 3 TextLength */ nullptr,
    /* 4 FindTextBackward */ nullptr,
    /* 5 RightText */ nullptr,
    /* 6 ToByte */ nullptr,
    /* 7 LoadPicture */ nullptr,
    /* 8 (method) */ nullptr,
    /* 9 (method) */ nullptr,
    /* 10 RegistryItemExists */ nullptr,
    /* 11 (method) */ nullptr,
    /* 12 ProcessEvents */ nullptr,
    /* 13 GetFileSize */ nullptr,
    /* 14 GetFileTime */ nullptr,
    /* 15 TimeToText */ nullptr,
    /* 16 MessageBox */ nullptr,
    /* 17 (method) */ nullptr,
    /* 18 FindText */ nullptr,
    /* 19 LeftText */ nullptr,
    /* 20 UnloadPicture */ nullptr,
    /* 21 BitOr */ nullptr,
    /* 22 SpaceText */ nullptr,
    /* 23 TrimBoth */ nullptr,
    /* 24 (method) */ nullptr,
    /* 25 (method) */ nullptr,
    /* 26 GetRunDirectory */ nullptr,
    /* 27 WriteFile */ nullptr,
    /* 28 Delay */ nullptr,
    /* 29 Run */ nullptr,
    /* 30 ToLowerCase */ nullptr,
    /* 31 ReplaceSubtext */ nullptr,
    /* 32 MiddleText */ nullptr,
    /* 33 SplitText */ nullptr,
    /* 34 ToByteSet */ nullptr,
    /* 35 GetExecutableName */ nullptr,
    /* 36 ReadIntRegistryItem */ nullptr,
    /* 37 WriteRegistryItem */ nullptr,
    /* 38 SetRandomSeed */ nullptr,
    /* 39 GetRandom */ nullptr,
    /* 40 ReadFile */ nullptr,
    /* 41 ByteSetLength */ nullptr,
    /* 42 FindBytes */ nullptr,
    /* 43 MiddleBytes */ nullptr,
    /* 44 ToHexText */ nullptr,
    /* 45 LeftBytes */ nullptr,
    /* 46 BitAnd */ nullptr,
    /* 47 ShiftRight */ nullptr,
    /* 48 BitXor */ nullptr,
    /* 49 BitNot */ nullptr,
};

const CommandEntry kDirTreeLibraryCommands[1] = {
    /* 0 */ nullptr,
};

// The list view's seven methods.
const CommandEntry kExtendedUiLibraryCommands[7] = {
    /* 0 */ nullptr, /* 1 */ nullptr, /* 2 */ nullptr, /* 3 */ nullptr,
    /* 4 */ nullptr, /* 5 */ nullptr, /* 6 */ nullptr,
};

const CommandEntry kImageLibraryCommands[11] = {
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
};

const CommandEntry kXpStyleLibraryCommands[1] = {
    /* 0 ApplyXPStyle */ nullptr,
};

const CommandEntry kShellLibraryCommands[1] = {
    /* 0 ShutdownSystem */ nullptr,
};

}  // namespace ruvelto::image_data
