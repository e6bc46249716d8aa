// The runtime started from images made with the builder: libraries hear notify message 1 with
// the service callback, type lookups, the calling form, DLL commands cached per number, and a
// template segment of length 0.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "image-data/memory_image.h"
#include "runtime/entry_table.h"
#include "runtime/forms_hooks.h"
#include "runtime/heap.h"
#include "runtime/runtime_state.h"
#include "runtime/services.h"
#include "runtime/startup.h"

namespace ruvelto::runtime {
namespace {

using image_data::LibraryDescription;
using image_data::MemoryImage;
using image_data::ProgramImageDescription;
using image_data::TypeDescription;

struct Notified {
    int32_t message;
    intptr_t arg1, arg2;
};
std::vector<Notified> notified;

intptr_t RecordingNotify(int32_t message, intptr_t arg1, intptr_t arg2) {
    notified.push_back({message, arg1, arg2});
    return message == kNotifyTypeInformation ? 1000 + arg1 : 0;
}

bool templatesLoaded;
bool LoadTemplates(const uint8_t*, uint32_t) { return templatesLoaded = true; }

ProgramImageDescription TwoLibraryImage() {
    ProgramImageDescription description;
    LibraryDescription core;
    core.name = "core";
    core.types.resize(4);
    core.types[0].englishName = "window", core.types[0].chineseName = "w", core.types[0].flags = 0x800000D0;
    core.types[2].englishName = "menu", core.types[2].chineseName = "m", core.types[2].flags = 0x80000004;
    core.notify.address = reinterpret_cast<const void*>(&RecordingNotify);
    LibraryDescription silent;  // no notify entry: skipped
    silent.name = "silent";
    silent.types.resize(1);
    silent.types[0].englishName = "thing", silent.types[0].chineseName = "t";
    description.libraries = {core, silent};
    description.dllCommands = {{"", "GetCurrentProcessId"}, {"", "GetCurrentThreadId"}, {"", "GetCurrentThreadId"},
                        {"kernel32", "GetTickCount"}, {"", "NoSuchFunctionAnywhere"}};
    description.constants.AddText("Empty", "");
    description.constants.AddText("Ten", "0123456789");
    return description;
}

class RuntimeSpine : public ::testing::Test {
protected:
    void SetUp() override {
        notified.clear();
        templatesLoaded = false;
        FormsHooks hooks;
        hooks.loadTemplates = &LoadTemplates;
        SetFormsHooks(hooks);
    }
    void TearDown() override {
        heap::ClearReadOnlyRanges();
        SetFormsHooks({});
        UseProgramImage(nullptr);
    }
    void Start(const MemoryImage& image) {
        UseProgramImage(&image.Header());
        EntryRuntimeHelper(kHelperStartRuntime);
    }
};

TEST_F(RuntimeSpine, StartUpTellsLibrariesTheCallbackAndReadsNoEmptyTemplates) {
    MemoryImage image(TwoLibraryImage());
    ASSERT_EQ(image.Header().templateLength, 0u);
    Start(image);

    ASSERT_EQ(notified.size(), 1u) << "only the library with a notify entry hears message 1";
    EXPECT_EQ(notified[0].message, kNotifyServiceCallback);
    EXPECT_EQ(notified[0].arg1, reinterpret_cast<intptr_t>(&RuntimeService));
    EXPECT_FALSE(templatesLoaded) << "a template segment of length 0 loads no windows";
    EXPECT_EQ(State().unitCounter, 0x10349u);
    EXPECT_EQ(State().dllCommands.size(), 5u);

    // The constant segment is now read-only: freeing a constant is a no-op, reallocating copies.
    const uint8_t* c = image.Header().constantStart;
    uint64_t freed = heap::GetCounters().freed;
    heap::Free(const_cast<uint8_t*>(c + 1));
    EXPECT_EQ(heap::GetCounters().freed, freed);
    auto* copy = static_cast<char*>(heap::Reallocate(const_cast<uint8_t*>(c + 1), 100));
    EXPECT_STREQ(copy, "0123456789");
    heap::Free(copy);
}

TEST_F(RuntimeSpine, ATemplateSegmentIsHandedToTheFormsEngine) {
    ProgramImageDescription description = TwoLibraryImage();
    description.templateSegment = {1, 2, 3};
    MemoryImage image(description);
    Start(image);
    EXPECT_TRUE(templatesLoaded);
}

TEST_F(RuntimeSpine, TypeServicesSeeZeroSlotsAsSlots) {
    MemoryImage image(TwoLibraryImage());
    Start(image);
    auto descriptor = [](uint32_t code) {
        return reinterpret_cast<const TypeDescriptor*>(RuntimeService(kServiceTypeDescriptor, code, 0));
    };
    EXPECT_STREQ(descriptor(0x10001)->englishName, "window");
    ASSERT_NE(descriptor(0x10002), nullptr) << "a zero slot is not the end of the table";
    EXPECT_EQ(descriptor(0x10002)->englishName, nullptr);
    EXPECT_STREQ(descriptor(0x10003)->englishName, "menu");
    EXPECT_EQ(descriptor(0x10005), nullptr);
    EXPECT_STREQ(descriptor(0x20001)->englishName, "thing");
    EXPECT_EQ(descriptor(0x30001), nullptr);

    EXPECT_EQ(RuntimeService(kServiceTypeKind, 0x10001, 0), 1);
    EXPECT_EQ(RuntimeService(kServiceTypeKind, 0x10003, 0), 2);
    EXPECT_EQ(RuntimeService(kServiceTypeKind, 0x10002, 0), 0);
    EXPECT_EQ(RuntimeService(kServiceProgramKind, 0, 0), 3);

    // Type information is the owning library's answer to notify message 8.
    EXPECT_EQ(RuntimeService(kServiceTypeInformation, 0x10003, 77), 1002);
    EXPECT_EQ(notified.back().message, kNotifyTypeInformation);
    EXPECT_EQ(notified.back().arg2, 77);
    EXPECT_EQ(RuntimeService(kServiceTypeInformation, 0x20001, 0), 0) << "library without notify entry";
    EXPECT_EQ(RuntimeService(kServiceTypeInformation, 0x10030, 0), 0) << "answered by the runtime";

    // The application's own types and the basic types are no library's, whatever their low bits.
    for (uint32_t code : {0x40010001u, 0x40010003u, 0x80010001u, 0x80000301u}) {
        SCOPED_TRACE(code);
        const size_t before = notified.size();
        EXPECT_EQ(descriptor(code), nullptr);
        EXPECT_EQ(RuntimeService(kServiceTypeKind, code, 0), 0);
        EXPECT_EQ(RuntimeService(kServiceTypeInformation, code, 0), 0);
        EXPECT_EQ(notified.size(), before) << "no library was asked";
    }
}

TEST_F(RuntimeSpine, DllCommandsResolveOncePerNumber) {
    MemoryImage image(TwoLibraryImage());
    Start(image);
    EXPECT_EQ(CallDllCommand<DWORD>(0), GetCurrentProcessId());

    // 1 and 2 name the same function; resolving 1 leaves 2's cache entry empty.
    EXPECT_EQ(CallDllCommand<DWORD>(1), GetCurrentThreadId());
    EXPECT_NE(State().dllCommands[1].address, nullptr);
    EXPECT_EQ(State().dllCommands[2].address, nullptr);
    void* cached = State().dllCommands[1].address;
    EXPECT_EQ(ResolveDllCommand(1), cached);
    EXPECT_EQ(ResolveDllCommand(2), cached);
    EXPECT_NE(State().dllCommands[2].address, nullptr);

    // A named library file.
    EXPECT_NE(ResolveDllCommand(3), nullptr);
    EXPECT_NE(State().dllCommands[3].module, nullptr);
}

#if UINTPTR_MAX != 0xFFFFFFFFu
// In 64-bit code: a function of the Windows convention whose first argument becomes the number
// in EAX, its other arguments left in place for the function slot 1 jumps into.
asm(".text\n"
    "ruvelto_test_slot1:\n"
    "    movl %ecx, %eax\n"
    "    movq %rdx, %rcx\n"
    "    jmp ruvelto_call_dll_command\n");
extern "C" uint64_t RUVELTO_DLL_CONVENTION ruvelto_test_slot1(uint32_t number, uint64_t argument);
#endif

// The slot-1 thunk: number in EAX, the function's own arguments as for a direct call.
TEST_F(RuntimeSpine, TheDllEntryJumpsIntoTheFunction) {
    MemoryImage image(TwoLibraryImage());
    Start(image);
    DWORD pid = 0;
#if UINTPTR_MAX == 0xFFFFFFFFu
    void* target = reinterpret_cast<void*>(&ruvelto_call_dll_command);
    asm volatile("movl $0, %%eax\n\tcall *%%edx" : "=a"(pid), "+d"(target) : : "ecx", "memory");
#else
    pid = static_cast<DWORD>(ruvelto_test_slot1(0, 0));
#endif
    EXPECT_EQ(pid, GetCurrentProcessId());
}

void ArgumentEcho(ValueRecord* result, int32_t count, ValueRecord* args) {
    result->lo = static_cast<uint32_t>(count);
    result->hi = args[count - 1].type;  // an omitted optional argument is type 0
}

TEST_F(RuntimeSpine, CallingFormZeroesTheResult) {
    ValueRecord args[2] = {{5, 0, kTypeInt}, {}};
    ValueRecord result = EntryCallCommand(&ArgumentEcho, 2, args);
    EXPECT_EQ(result.lo, 2u);
    EXPECT_EQ(result.hi, 0u);
    EXPECT_EQ(result.type, 0u) << "the command left the type word as the caller zeroed it";
}

TEST_F(RuntimeSpine, MakeArrayWritableThroughTheHelper) {
    ProgramImageDescription description = TwoLibraryImage();
    const uint32_t array[] = {1, 2, 7, 9};
    description.constants.AddBytes("Array", {reinterpret_cast<const uint8_t*>(array),
                                      reinterpret_cast<const uint8_t*>(array) + sizeof array});
    MemoryImage image(description);
    Start(image);
    void* variable = const_cast<uint8_t*>(image.Header().constantStart + description.constants.OffsetOf("Array"));
    void* constant = variable;
    EntryRuntimeHelper(kHelperMakeArrayWritable, 4, &variable);
    ASSERT_NE(variable, constant);
    EXPECT_EQ(std::memcmp(variable, array, sizeof array), 0);
    heap::FreeArray(kTypeInt, variable);
}

}  // namespace
}  // namespace ruvelto::runtime
