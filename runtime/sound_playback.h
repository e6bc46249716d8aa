// Sound data played for the support libraries (services 2015 and 2016, the core library's notify
// message 13) and as a window's background sound. WAV data plays through the system's wave
// player, MIDI data (a standard MIDI file or a RIFF RMID file) through the MCI sequencer. One
// sound plays at a time: starting one stops the one before.
#pragma once
#include <cstdint>

namespace ruvelto::runtime {

// Service 2015's argument.
struct SoundRequest {
    const uint8_t* data;
    uint32_t length;
    uint32_t repeat;  // non-zero: play again from the start whenever the sound ends
};

// The bytes are copied. Returns a non-zero playback number when playback started, 0 when the
// data is neither WAV nor MIDI or no device would play it.
uint32_t PlaySoundData(const uint8_t* data, uint32_t length, bool repeat);

// Stops the sound with that playback number, or whatever plays when it is 0.
void StopSoundPlayback(uint32_t playback = 0);

}  // namespace ruvelto::runtime
