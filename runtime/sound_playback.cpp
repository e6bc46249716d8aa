#include "runtime/sound_playback.h"

#include <windows.h>
#include <mmsystem.h>

#include <cstring>
#include <string>
#include <vector>

namespace ruvelto::runtime {
namespace {

constexpr const char kMidiAlias[] = "ruvelto_sound";
constexpr const char kNotifyClass[] = "RuveltoSoundNotify";

struct Playing {
    uint32_t number = 0;         // 0: nothing plays
    bool midi = false;
    bool repeat = false;
    std::vector<uint8_t> wave;   // the wave player reads this memory while it plays
    std::string midiFile;        // the sequencer plays from a file; removed when the sound stops
    HWND notifyWindow = nullptr; // receives the sequencer's end-of-play notice
};
Playing playing;
uint32_t lastNumber = 0;

bool StartsWith(const uint8_t* data, uint32_t length, uint32_t offset, const char* tag) {
    return length >= offset + 4 && std::memcmp(data + offset, tag, 4) == 0;
}

bool IsWave(const uint8_t* d, uint32_t n) { return StartsWith(d, n, 0, "RIFF") && StartsWith(d, n, 8, "WAVE"); }
bool IsMidi(const uint8_t* d, uint32_t n) {
    return StartsWith(d, n, 0, "MThd") || (StartsWith(d, n, 0, "RIFF") && StartsWith(d, n, 8, "RMID"));
}

bool Mci(const std::string& command, HWND notify = nullptr) {
    return mciSendStringA(command.c_str(), nullptr, 0, notify) == 0;
}

LRESULT CALLBACK NotifyProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == MM_MCINOTIFY && wParam == MCI_NOTIFY_SUCCESSFUL && playing.midi && playing.repeat) {
        Mci(std::string("seek ") + kMidiAlias + " to start");
        Mci(std::string("play ") + kMidiAlias + " notify", window);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND NotifyWindow() {
    if (playing.notifyWindow && IsWindow(playing.notifyWindow)) return playing.notifyWindow;
    WNDCLASSA wc{};
    wc.lpfnWndProc = NotifyProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kNotifyClass;
    RegisterClassA(&wc);  // fails harmlessly when already registered
    playing.notifyWindow = CreateWindowExA(0, kNotifyClass, "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
    return playing.notifyWindow;
}

bool WriteFileBytes(const std::string& path, const uint8_t* data, uint32_t length) {
    HANDLE f = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr);
    if (f == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(f, data, length, &written, nullptr) && written == length;
    CloseHandle(f);
    return ok;
}

bool StartMidi(const uint8_t* data, uint32_t length, bool repeat) {
    char directory[MAX_PATH], path[MAX_PATH];
    if (!GetTempPathA(MAX_PATH, directory) || !GetTempFileNameA(directory, "rvs", 0, path)) return false;
    playing.midiFile = path;
    if (!WriteFileBytes(path, data, length) ||
        !Mci(std::string("open \"") + path + "\" type sequencer alias " + kMidiAlias)) {
        DeleteFileA(path);
        playing.midiFile.clear();
        return false;
    }
    playing.midi = true;
    playing.repeat = repeat;
    if (!Mci(std::string("play ") + kMidiAlias + " notify", NotifyWindow())) {
        Mci(std::string("close ") + kMidiAlias);
        DeleteFileA(path);
        playing.midiFile.clear();
        playing.midi = false;
        return false;
    }
    return true;
}

bool StartWave(const uint8_t* data, uint32_t length, bool repeat) {
    playing.wave.assign(data, data + length);
    if (PlaySoundA(reinterpret_cast<LPCSTR>(playing.wave.data()), nullptr,
                   SND_MEMORY | SND_ASYNC | SND_NODEFAULT | (repeat ? SND_LOOP : 0)))
        return true;
    playing.wave.clear();
    return false;
}

}  // namespace

uint32_t PlaySoundData(const uint8_t* data, uint32_t length, bool repeat) {
    StopSoundPlayback();
    if (!data) return 0;
    bool started = false;
    if (IsWave(data, length)) started = StartWave(data, length, repeat);
    else if (IsMidi(data, length)) started = StartMidi(data, length, repeat);
    if (!started) return 0;
    if (++lastNumber == 0) ++lastNumber;
    playing.number = lastNumber;
    return playing.number;
}

void StopSoundPlayback(uint32_t number) {
    if (!playing.number || (number && number != playing.number)) return;
    if (playing.midi) {
        Mci(std::string("stop ") + kMidiAlias);
        Mci(std::string("close ") + kMidiAlias);
        DeleteFileA(playing.midiFile.c_str());
        playing.midiFile.clear();
        playing.midi = playing.repeat = false;
    } else {
        PlaySoundA(nullptr, nullptr, 0);
        playing.wave.clear();
    }
    playing.number = 0;
}

}  // namespace ruvelto::runtime
