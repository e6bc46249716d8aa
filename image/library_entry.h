// The image class library as the runtime sees it: its notify entry and the program's table of
// sixteen bound commands. Value records carry 32-bit pointers, so this part exists only in the
// 32-bit Windows build.
#pragma once
#include <cstdint>

#include "runtime/value_record.h"

namespace ruvelto::image {

constexpr int kLibraryCommandCount = 215;
constexpr int kBoundCommandCount = 16;

// First call, whatever the message: module start-up and the dispatch table. Then message 1
// stores the service callback (argument 1) and answers 0, message 6 answers 0, others -1.
intptr_t ImageLibraryNotify(int32_t message, intptr_t arg1, intptr_t arg2);

// The program's command table, in program command order: each entry forwards through the
// dispatch table to the library command kBoundLibraryCommands[n].
void BoundDecodeFromFile(ValueRecord* result, int32_t count, ValueRecord* args);
void BoundGetJpegQuality(ValueRecord* result, int32_t count, ValueRecord* args);
void BoundEncodeToBin(ValueRecord* result, int32_t count, ValueRecord* args);
void BoundSetJpegScale(ValueRecord* result, int32_t count, ValueRecord* args);
void BoundSetJpegQuality(ValueRecord* result, int32_t count, ValueRecord* args);
void BoundGetWidth(ValueRecord* result, int32_t count, ValueRecord* args);
void BoundGetHeight(ValueRecord* result, int32_t count, ValueRecord* args);
void BoundDestroy(ValueRecord* result, int32_t count, ValueRecord* args);
void BoundDecodeFromBin(ValueRecord* result, int32_t count, ValueRecord* args);
void BoundEncodeToFile(ValueRecord* result, int32_t count, ValueRecord* args);
void BoundFree(ValueRecord* result, int32_t count, ValueRecord* args);
void BoundSetEscape(ValueRecord* result, int32_t count, ValueRecord* args);
void BoundResample(ValueRecord* result, int32_t count, ValueRecord* args);
void BoundAlphaStrip(ValueRecord* result, int32_t count, ValueRecord* args);
void BoundGetFlags(ValueRecord* result, int32_t count, ValueRecord* args);
void BoundSetFlags(ValueRecord* result, int32_t count, ValueRecord* args);
extern const CommandEntry kImageBoundCommands[kBoundCommandCount];
extern const int kBoundLibraryCommands[kBoundCommandCount];

}  // namespace ruvelto::image
