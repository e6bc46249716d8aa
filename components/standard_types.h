// The type interfaces of the core library's standard components: each maps a service code to
// the type's entry point (create, set, get all data, get, and the type's extra services).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "runtime/value_record.h"

namespace ruvelto::components {

void* ButtonInterface(int32_t code);
void* CheckBoxInterface(int32_t code);
void* RadioBoxInterface(int32_t code);
void* EditBoxInterface(int32_t code);
void* LabelInterface(int32_t code);
void* GroupBoxInterface(int32_t code);
void* ShapeBoxInterface(int32_t code);
void* ProcessBarInterface(int32_t code);
void* SliderBarInterface(int32_t code);
void* HScrollBarInterface(int32_t code);
void* PicBoxInterface(int32_t code);
void* DrawPanelInterface(int32_t code);
void* CommonDlgInterface(int32_t code);

// Core library commands 2 (ClearPanel), 8 (DrawPicture) and 17 (GetPicture): argument 0 is the
// DrawPanel.
void ClearPanelCommand(ValueRecord* result, int32_t count, ValueRecord* args);
void DrawPictureCommand(ValueRecord* result, int32_t count, ValueRecord* args);
void GetPictureCommand(ValueRecord* result, int32_t count, ValueRecord* args);
// Core library command 24: the CommonDlg's Open (argument 0 the component) -> logical.
void OpenCommonDialogCommand(ValueRecord* result, int32_t count, ValueRecord* args);
// The file dialog's filter: trailing white space removed, "||" appended when missing, bars
// turned into zeros (a double-byte character is never split).
std::vector<char> PlatformFilter(const std::string& filter);

}  // namespace ruvelto::components
