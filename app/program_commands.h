// The commands and methods the application calls, one typed function each, over the call helpers
// of runtime_facade.h: core commands, the list view, the folder tree, the drawing panel and the
// image object.
#pragma once
#include <cstdint>

#include "app/runtime_facade.h"

namespace ruvelto::app {

// ---- core commands: text and numbers ----
Text ToText(double value);
int32_t ToInteger(const char* text);
int32_t TextLength(const char* text);
int32_t FindText(const char* text, const char* part);          // 1-based, -1 when absent
int32_t FindTextBackward(const char* text, const char* part);  // 1-based, -1 when absent
Text LeftText(const char* text, int32_t length);
Text RightText(const char* text, int32_t length);
Text ToLowerCase(const char* text);
Text SpaceText(int32_t count);
Text TrimBoth(const char* text);
Text TimeToText(double dateTime);
int32_t BitOr(int32_t a, int32_t b);

// ---- core commands: files, pictures, messages, the event pump ----
int32_t GetFileSize(const char* path);
double GetFileTime(const char* path);
int32_t LoadPictureFile(const char* path);
int32_t LoadPictureBytes(const void* byteSet);
void UnloadPicture(int32_t handle);
void ProcessEvents();
int32_t MessageBox(const char* text, int32_t style, const char* title);
bool LoadWindow(uint32_t window, uint32_t windowRecord, bool modal);

// ---- the picture list (ListView methods) ----
Text ListItemText(int32_t row, int32_t column = 0);
int32_t ListItemCount();
void SetListCheckState(int32_t row, int32_t state);
void DeleteAllListItems();
int32_t InsertListItem(int32_t position, const char* text);
void SetListItemText(int32_t row, int32_t column, const char* text);
int32_t ListCheckState(int32_t row);
// The tip shown when the pointer rests on the row.
void SetListItemTip(int32_t row, const char* text);

// ---- the folder tree ----
Text SelectedTreePath();

// ---- drawing panels (the preview panel) ----
void ClearPanel(uint32_t panel);
void DrawPictureStretched(uint32_t panel, int32_t picture, int32_t width, int32_t height);

// ---- the image object in PictureObject, or the one an ImageObjectScope names ----
// While a scope lives, the image calls of its thread work on the object in its slot instead of
// the program's own: a worker thread of the run converts pictures in an object of its own.
class ImageObjectScope {
public:
    explicit ImageObjectScope(uint32_t* object);
    ~ImageObjectScope();
    ImageObjectScope(const ImageObjectScope&) = delete;
    ImageObjectScope& operator=(const ImageObjectScope&) = delete;

private:
    uint32_t* previous_;
};
// A new empty image object slot (one word, 0 until a decode makes the object), and the release
// of the slot with its object.
uint32_t* NewImageObjectSlot();
void ReleaseImageObject(uint32_t*& slot);
// Deletes the object in the slot, which stays: the next decode makes a new object.
void EmptyImageObjectSlot(uint32_t* slot);

bool DecodeFromFile(const char* path, int32_t format);
bool DecodeFromBin(const void* byteSet, int32_t format);
bool EncodeToFile(const char* path, int32_t format);
bool EncodeToBin(void** byteSetVariable, int32_t format);
uint8_t GetJpegQuality();
void SetJpegQuality(uint8_t quality);
void SetJpegScale(uint8_t scale);
int32_t PictureWidth();
int32_t PictureHeight();
bool DestroyPicture();
// -1: the next decode reads the picture's width and height only; 0: decodes work in full.
void SetDecodeEscape(int32_t value);
bool ResamplePicture(int32_t width, int32_t height);
// Lays the picture's alpha over white and drops it; true when the picture had alpha.
bool LayAlphaOverWhite();
// The image object's flags, as the image class library defines them: the caller sets NoExif to
// have encoders leave the EXIF block out; a decode sets ExifDropped when the file's block could
// not be read and was left out.
constexpr int32_t kPictureFlagNoExif = 0x1;
constexpr int32_t kPictureFlagExifDropped = 0x2;
int32_t PictureFlags();
void SetPictureFlags(int32_t flags);

}  // namespace ruvelto::app
