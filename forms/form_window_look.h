// How a window looks and sounds: icons from icon-file bytes, the shapes of the Shape property,
// the background picture and its modes, and the background sound.
#pragma once
#include <windows.h>

#include <cstdint>
#include <vector>

#include "components/picture.h"

namespace ruvelto::forms {

// The first entry `size` pixels wide with more than 15 colours, else the last entry; null when
// the bytes are not an icon file.
HICON IconFromIconFile(const std::vector<uint8_t>& bytes, int size);

// The region of shape 1-29 for a window of this size; null for 0 (rectangular) and unknown shapes.
HRGN MakeWindowShape(uint32_t shape, int width, int height);

// Mode 0 at (0, 0) natural size, 1 tiled, 2 centred and shrunk to fit, 3 stretched; what the
// picture leaves uncovered (everything, without one) is filled with the background colour.
void PaintBackground(HDC dc, const RECT& client, const RECT& dirty, const components::PictureDrawable* picture,
                     uint32_t mode, uint32_t backColor);

// WAV or MIDI data plays (looping or once) through the runtime's player; other data is not
// played. Stopping leaves a sound that someone else started since.
void PlayBackgroundSound(const std::vector<uint8_t>& sound, bool loop);
void StopBackgroundSound();

}  // namespace ruvelto::forms
