#include "app/program_commands.h"

#include <cstring>

#include "app/app_state.h"
#include "image-data/library_command_tables.h"
#include "image-data/windows/main_window_units.h"

namespace ruvelto::app {
namespace {

using namespace main_window;
namespace tables = image_data;

// Core library command numbers.
enum Core : int {
    kToText = 0, kToInteger = 1, kClearPanel = 2, kTextLength = 3, kFindTextBackward = 4, kRightText = 5,
    kLoadPicture = 7, kDrawPicture = 8, kLoadWindow = 11, kProcessEvents = 12, kGetFileSize = 13,
    kGetFileTime = 14, kTimeToText = 15, kMessageBox = 16, kGetPicture = 17, kFindText = 18, kLeftText = 19,
    kUnloadPicture = 20, kBitOr = 21, kSpaceText = 22, kTrimBoth = 23, kToLowerCase = 30,
};
// Extended UI library: the list view's methods.
enum ListMethod : int {
    kGetItemText = 0, kGetItemCount = 1, kSetCheckState = 2, kDeleteAllItems = 3, kInsertItem = 4,
    kSetItemText = 5, kGetCheckState = 6, kSetItemTip = 7,
};
// Image class library, as the program binds it.
enum ImageMethod : int {
    kDecodeFromFile = 0, kGetJpegQuality = 1, kEncodeToBin = 2, kSetJpegScale = 3, kSetJpegQuality = 4,
    kGetWidth = 5, kGetHeight = 6, kDestroy = 7, kDecodeFromBin = 8, kEncodeToFile = 9, kFree = 10, kSetEscape = 11,
    kResample = 12, kAlphaStrip = 13, kGetFlags = 14, kSetFlags = 15,
};

ValueRecord Core(int command, std::initializer_list<ValueRecord> args) {
    return CallCoreCommand(tables::kCoreLibraryCommands[command], args);
}

Text CoreText(int command, std::initializer_list<ValueRecord> args) {
    return Text(reinterpret_cast<char*>(static_cast<uintptr_t>(Core(command, args).lo)));
}

int32_t CoreInt(int command, std::initializer_list<ValueRecord> args) {
    return static_cast<int32_t>(Core(command, args).lo);
}

double AsDouble(const ValueRecord& r) {
    const uint64_t bits = (uint64_t{r.hi} << 32) | r.lo;
    double d;
    std::memcpy(&d, &bits, sizeof d);
    return d;
}

ValueRecord List() { return UnitValue(kWindow, kPictureList, kTypeListView); }

ValueRecord ListCall(int method, std::initializer_list<ValueRecord> rest) {
    ValueRecord args[8];
    int n = 0;
    args[n++] = List();
    for (const ValueRecord& r : rest) args[n++] = r;
    CommandEntry entry = tables::kExtendedUiLibraryCommands[method];
    if (!entry) return {};
    return Runtime().callCommand(entry, n, args);
}

ValueRecord Panel(uint32_t panel) { return UnitValue(kWindow, panel, kTypeDrawPanel); }

// The image object slot a scope put in place on this thread, if any.
thread_local uint32_t* scopedImageObject = nullptr;

uint32_t* ImageObjectInUse() { return scopedImageObject ? scopedImageObject : App().PictureObject; }

ValueRecord ImageCall(int method, std::initializer_list<ValueRecord> rest) {
    uint32_t* object = ImageObjectInUse();
    ValueRecord args[4];
    int n = 0;
    args[n++] = ImageValue(object);
    for (const ValueRecord& r : rest) args[n++] = r;
    CommandEntry entry = tables::kImageLibraryCommands[method];
    if (!entry || !object) return {};
    return Runtime().callCommand(entry, n, args);
}

}  // namespace

Text ToText(double value) { return CoreText(kToText, {DoubleValue(value)}); }
int32_t ToInteger(const char* text) { return CoreInt(kToInteger, {TextValue(text)}); }
int32_t TextLength(const char* text) { return CoreInt(kTextLength, {TextValue(text)}); }
int32_t FindText(const char* text, const char* part) { return CoreInt(kFindText, {TextValue(text), TextValue(part)}); }
int32_t FindTextBackward(const char* text, const char* part) {
    return CoreInt(kFindTextBackward, {TextValue(text), TextValue(part)});
}
Text LeftText(const char* text, int32_t length) { return CoreText(kLeftText, {TextValue(text), IntValue(length)}); }
Text RightText(const char* text, int32_t length) { return CoreText(kRightText, {TextValue(text), IntValue(length)}); }
Text ToLowerCase(const char* text) { return CoreText(kToLowerCase, {TextValue(text)}); }
Text SpaceText(int32_t count) { return CoreText(kSpaceText, {IntValue(count)}); }
Text TrimBoth(const char* text) { return CoreText(kTrimBoth, {TextValue(text)}); }
Text TimeToText(double dateTime) {
    ValueRecord time = DoubleValue(dateTime);
    time.type = kTypeDateTime;
    return CoreText(kTimeToText, {time});
}
int32_t BitOr(int32_t a, int32_t b) { return CoreInt(kBitOr, {IntValue(a), IntValue(b)}); }

int32_t GetFileSize(const char* path) { return CoreInt(kGetFileSize, {TextValue(path)}); }
double GetFileTime(const char* path) { return AsDouble(Core(kGetFileTime, {TextValue(path)})); }
int32_t LoadPictureFile(const char* path) { return CoreInt(kLoadPicture, {TextValue(path)}); }
int32_t LoadPictureBytes(const void* byteSet) { return CoreInt(kLoadPicture, {BytesValue(byteSet)}); }
void UnloadPicture(int32_t handle) {
    if (handle) Core(kUnloadPicture, {IntValue(handle)});
}
void ProcessEvents() { Core(kProcessEvents, {}); }
int32_t MessageBox(const char* text, int32_t style, const char* title) {
    return CoreInt(kMessageBox, {TextValue(text), IntValue(style), TextValue(title)});
}
bool LoadWindow(uint32_t window, uint32_t windowRecord, bool modal) {
    return CoreInt(kLoadWindow, {UnitValue(window, windowRecord, kTypeWindow), Omitted(), BoolValue(modal)}) != 0;
}

Text ListItemText(int32_t row, int32_t column) {
    return Text(reinterpret_cast<char*>(static_cast<uintptr_t>(ListCall(kGetItemText, {IntValue(row), IntValue(column)}).lo)));
}
int32_t ListItemCount() { return static_cast<int32_t>(ListCall(kGetItemCount, {}).lo); }
void SetListCheckState(int32_t row, int32_t state) { ListCall(kSetCheckState, {IntValue(row), IntValue(state)}); }
void DeleteAllListItems() { ListCall(kDeleteAllItems, {}); }
int32_t InsertListItem(int32_t position, const char* text) {
    // Rows are inserted checked: the list holds what the user means to convert.
    return static_cast<int32_t>(ListCall(kInsertItem, {IntValue(position), TextValue(text), Omitted(), IntValue(1)}).lo);
}
void SetListItemText(int32_t row, int32_t column, const char* text) {
    ListCall(kSetItemText, {IntValue(row), IntValue(column), TextValue(text)});
}
void SetListItemTip(int32_t row, const char* text) { ListCall(kSetItemTip, {IntValue(row), TextValue(text)}); }
int32_t ListCheckState(int32_t row) { return static_cast<int32_t>(ListCall(kGetCheckState, {IntValue(row)}).lo); }

Text SelectedTreePath() {
    ValueRecord tree = UnitValue(kWindow, kFolderTree, kTypeDirTree);
    return Text(reinterpret_cast<char*>(static_cast<uintptr_t>(CallCommand(tables::kDirTreeLibraryCommands[0], {tree}).lo)));
}

void ClearPanel(uint32_t panel) { Core(kClearPanel, {Panel(panel), Omitted(), Omitted(), Omitted(), Omitted()}); }
void DrawPictureStretched(uint32_t panel, int32_t picture, int32_t width, int32_t height) {
    Core(kDrawPicture, {Panel(panel), IntValue(picture), IntValue(0), IntValue(0), IntValue(width), IntValue(height), IntValue(1)});
}


bool DecodeFromFile(const char* path, int32_t format) {
    return ImageCall(kDecodeFromFile, {TextValue(path), IntValue(format)}).lo != 0;
}
bool DecodeFromBin(const void* byteSet, int32_t format) {
    return ImageCall(kDecodeFromBin, {BytesValue(byteSet), IntValue(format)}).lo != 0;
}
bool EncodeToFile(const char* path, int32_t format) {
    return ImageCall(kEncodeToFile, {TextValue(path), IntValue(format)}).lo != 0;
}
bool EncodeToBin(void** byteSet, int32_t format) {
    // The command fills a variable that holds the byte set's address in a word, in runtime memory.
    auto* variable = static_cast<uint32_t*>(Allocate(4));
    *variable = AddressWord(*byteSet);
    const bool encoded = ImageCall(kEncodeToBin, {VariableValue(variable, kTypeBytes), IntValue(format)}).lo != 0;
    *byteSet = WordAddress(*variable);
    Free(variable);
    return encoded;
}
uint8_t GetJpegQuality() { return static_cast<uint8_t>(ImageCall(kGetJpegQuality, {}).lo); }
void SetJpegQuality(uint8_t quality) { ImageCall(kSetJpegQuality, {ByteValue(quality)}); }
void SetJpegScale(uint8_t scale) { ImageCall(kSetJpegScale, {ByteValue(scale)}); }
int32_t PictureWidth() { return static_cast<int32_t>(ImageCall(kGetWidth, {}).lo); }
int32_t PictureHeight() { return static_cast<int32_t>(ImageCall(kGetHeight, {}).lo); }
bool DestroyPicture() { return ImageCall(kDestroy, {}).lo != 0; }
void SetDecodeEscape(int32_t value) { ImageCall(kSetEscape, {IntValue(value)}); }
bool LayAlphaOverWhite() { return ImageCall(kAlphaStrip, {}).lo != 0; }
int32_t PictureFlags() { return static_cast<int32_t>(ImageCall(kGetFlags, {}).lo); }
void SetPictureFlags(int32_t flags) { ImageCall(kSetFlags, {IntValue(flags)}); }
bool ResamplePicture(int32_t width, int32_t height) {
    return ImageCall(kResample, {IntValue(width), IntValue(height)}).lo != 0;
}

ImageObjectScope::ImageObjectScope(uint32_t* object) : previous_(scopedImageObject) { scopedImageObject = object; }
ImageObjectScope::~ImageObjectScope() { scopedImageObject = previous_; }

uint32_t* NewImageObjectSlot() {
    auto* slot = static_cast<uint32_t*>(Allocate(4));
    *slot = 0;
    return slot;
}

void EmptyImageObjectSlot(uint32_t* slot) {
    if (slot) CallCommand(tables::kImageLibraryCommands[kFree], {ImageValue(slot)});
}

void ReleaseImageObject(uint32_t*& slot) {
    if (!slot) return;
    EmptyImageObjectSlot(slot);
    Free(slot), slot = nullptr;
}

}  // namespace ruvelto::app
