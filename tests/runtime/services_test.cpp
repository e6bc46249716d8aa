// The runtime service callback as a library sees it: memory, event suppression, program paths,
// numbers, and codes that belong to subsystems not installed.
#include "runtime/services.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "runtime/heap.h"
#include "runtime/runtime_state.h"
#include "runtime/service_link.h"

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
