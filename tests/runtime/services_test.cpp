// The runtime service callback as a library sees it: memory, event suppression, program paths,
// numbers, and codes that belong to subsystems not installed.
#include "runtime/services.h"

#include <windows.h>
#include <mmsystem.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "runtime/heap.h"
#include "runtime/runtime_state.h"
#include "runtime/service_link.h"
#include "runtime/sound_playback.h"

namespace ruvelto::runtime {
namespace {

TEST(Services, MemoryThroughTheLibraryLink) {
    ServiceLink link;
    EXPECT_EQ(link.Allocate(16), nullptr) << "no callback yet: nothing is allocated";
    ASSERT_TRUE(link.Accept(kNotifyServiceCallback, reinterpret_cast<intptr_t>(&RuntimeService)));

    heap::Counters before = heap::GetCounters();
    auto* p = static_cast<char*>(link.Allocate(6));
    ASSERT_NE(p, nullptr);
    std::memcpy(p, "hello", 6);
    p = static_cast<char*>(link.Reallocate(p, 1 << 20));
    EXPECT_STREQ(p, "hello");
    link.Free(p);
    link.Free(nullptr);
    heap::Counters after = heap::GetCounters();
    EXPECT_EQ(after.allocated - before.allocated, after.freed - before.freed);

    // The unchecked form reports exhaustion as 0 instead of ending the program.
    EXPECT_EQ(RuntimeService(kServiceAllocate, static_cast<intptr_t>(0xFFFFFFF0u), 1), 0);
}

TEST(Services, ResumingEventsNeverGoesBelowZero) {
    State().eventSuppression = 0;
    EXPECT_EQ(RuntimeService(kServiceResumeEvents, 0, 0), 0);
    EXPECT_EQ(State().eventSuppression, 0);
    RuntimeService(kServiceSuppressEvents, 0, 0);
    RuntimeService(kServiceSuppressEvents, 0, 0);
    EXPECT_EQ(State().eventSuppression, 2);
    RuntimeService(kServiceResumeEvents, 0, 0);
    RuntimeService(kServiceResumeEvents, 0, 0);
    RuntimeService(kServiceResumeEvents, 0, 0);
    EXPECT_EQ(State().eventSuppression, 0);
}

TEST(Services, ProgramPathTextSelectors) {
    char full[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, full, MAX_PATH);
    std::string path = full;
    std::string directory = path.substr(0, path.rfind('\\'));
    std::string name = path.substr(path.rfind('\\') + 1);

    struct Case {
        int32_t selector;
        std::string expected;
    } cases[] = {
        {kPathDirectoryWithSlash, directory + "\\"},
        {kPathDirectory, directory},
        {kPathFileName, name},
        {0, ""},
        {2, ""},
        {2003, ""},
    };
    for (const Case& c : cases) {
        char out[MAX_PATH];
        std::memset(out, 'x', sizeof out);
        RuntimeService(kServiceProgramPathText, c.selector, reinterpret_cast<intptr_t>(out));
        EXPECT_EQ(std::string(out), c.expected) << c.selector;
    }
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(RuntimeService(kServiceProgramDirectory, 0, 0))), directory);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(RuntimeService(kServiceProgramFileName, 0, 0))), name);
}

TEST(Services, ConstantAnswersAndUnknownCodes) {
    EXPECT_EQ(RuntimeService(kServiceConstantOne, 0, 0), 1);
    EXPECT_EQ(RuntimeService(kServiceRuntimeVersion, 0, 0), 5);
    EXPECT_EQ(RuntimeService(2002, 7, 7), 0);
    EXPECT_EQ(RuntimeService(4711, 7, 7), 0);
    EXPECT_EQ(RuntimeService(kServiceFindUnit, 0x52000001, 0), 0) << "no forms engine installed";
}

TEST(Services, InstalledHandlersReceiveTheirCodes) {
    static int32_t seen;
    SetServiceHandler(kServiceWindowCount, [](int32_t code, intptr_t a1, intptr_t) -> intptr_t {
        seen = code;
        return a1 + 1;
    });
    EXPECT_EQ(RuntimeService(kServiceWindowCount, 41, 0), 42);
    EXPECT_EQ(seen, kServiceWindowCount);
    SetServiceHandler(kServiceWindowCount, nullptr);
    EXPECT_EQ(RuntimeService(kServiceWindowCount, 41, 0), 0);
}

// A RIFF WAVE file: 8-bit mono at 8000 Hz, `samples` bytes of silence.
std::vector<uint8_t> Wave(uint32_t samples) {
    std::vector<uint8_t> w;
    auto tag = [&w](const char* t) {
        for (int i = 0; i < 4; ++i) w.push_back(static_cast<uint8_t>(t[i]));
    };
    auto u32 = [&w](uint32_t v) {
        for (int i = 0; i < 4; ++i) w.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    auto u16 = [&w](uint16_t v) {
        for (int i = 0; i < 2; ++i) w.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    tag("RIFF"), u32(36 + samples), tag("WAVE");
    tag("fmt "), u32(16), u16(1), u16(1), u32(8000), u32(8000), u16(1), u16(8);
    tag("data"), u32(samples);
    w.resize(w.size() + samples, 0x80);
    return w;
}

// Service 2015 plays WAV or MIDI data when a device would play it, and nothing else; 2016 stops.
TEST(Services, SoundDataPlaysOnlyWhenItIsSound) {
    const std::vector<uint8_t> wave = Wave(8000);
    // A standard MIDI file of one track with one note.
    const std::vector<uint8_t> midi = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96,
                                       'M', 'T', 'r', 'k', 0, 0, 0, 12, 0, 0x90, 60, 64, 96, 0x80, 60, 0, 0, 0xFF, 0x2F, 0};
    const std::vector<uint8_t> notSound = {'R', 'I', 'F', 'F', 4, 0, 0, 0, 'A', 'V', 'I', ' '};
    const std::vector<uint8_t> text = {'h', 'e', 'l', 'l', 'o'};
    struct Case {
        const char* what;
        const std::vector<uint8_t>* data;
        uint32_t length;
        intptr_t started;
    } cases[] = {
        // The test scripts give Wine a silent sound device.
        {"wave", &wave, static_cast<uint32_t>(wave.size()), waveOutGetNumDevs() > 0 ? 1 : 0},
        {"midi", &midi, static_cast<uint32_t>(midi.size()), 1},  // the sequencer plays even without a MIDI device
        {"riff that is not wave", &notSound, static_cast<uint32_t>(notSound.size()), 0},
        {"text", &text, static_cast<uint32_t>(text.size()), 0},
        {"wave cut short of its header", &wave, 6, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SoundRequest request{c.data->data(), c.length, 1};
        EXPECT_EQ(RuntimeService(kServicePlaySound, reinterpret_cast<intptr_t>(&request), 0), c.started);
        EXPECT_EQ(RuntimeService(kServiceStopSound, 0, 0), 0);
    }
    EXPECT_EQ(RuntimeService(kServicePlaySound, 0, 0), 0);
    EXPECT_EQ(RuntimeService(kServiceStopSound, 0, 0), 0) << "nothing plays: stopping is harmless";
}

TEST(Services, NumbersToDouble) {
    double half = 0.5;
    uint64_t bits;
    std::memcpy(&bits, &half, 8);
    float quarter = 0.25f;
    uint32_t fbits;
    std::memcpy(&fbits, &quarter, 4);
    struct Case {
        ValueRecord value;
        double expected;
    } cases[] = {
        {{0xFF, 0, kTypeByte}, 255},
        {{0xFFFF, 0, kTypeShort}, -1},
        {{0xFFFFFFFE, 0, kTypeInt}, -2},
        {{0, 1, kTypeLong}, 4294967296.0},
        {{0xFFFFFFFF, 0xFFFFFFFF, kTypeLong}, -1},
        {{fbits, 0, kTypeFloat}, 0.25},
        {{static_cast<uint32_t>(bits), static_cast<uint32_t>(bits >> 32), kTypeDouble}, 0.5},
    };
    for (const Case& c : cases) {
        double out = -99;
        RuntimeService(kServiceNumberToDouble, reinterpret_cast<intptr_t>(&c.value), reinterpret_cast<intptr_t>(&out));
        EXPECT_EQ(out, c.expected) << std::hex << c.value.type;
    }
}

}  // namespace
}  // namespace ruvelto::runtime
