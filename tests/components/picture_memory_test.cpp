// The picture decoder with too little memory: a child process whose address space is limited to
// 120 MB past what it already holds decodes small files that declare huge pictures. A picture
// that cannot get its memory is no picture (or, for an animation, fewer frames), never the end
// of the program. Native build only: the limit is the kernel's, set in a forked child.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define RUVELTO_NATIVE_ASAN 1
#endif
#endif

#ifdef RUVELTO_NATIVE_ASAN
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

// Allocations the limit refuses come back as null rather than ending the process, as they do
// from the C library outside the sanitizer.
extern "C" const char* __asan_default_options() { return "allocator_may_return_null=1"; }
#endif

#include "components/picture_decoder.h"

namespace ruvelto::components {
namespace {

#ifdef RUVELTO_NATIVE_ASAN
using Bytes = std::vector<uint8_t>;

void Put16(Bytes& v, uint32_t x) { v.push_back(uint8_t(x)), v.push_back(uint8_t(x >> 8)); }

// A GIF declaring `frames` frames of width x height on a screen that size, each with 16,000
// bytes of LZW data: about 16 KB a frame that ask for 128 MB at 8000 x 8000.
Bytes HugeGif(uint16_t width, uint16_t height, int frames) {
    Bytes v = {'G', 'I', 'F', '8', '9', 'a'};
    Put16(v, width), Put16(v, height);
    v.insert(v.end(), {0x80, 0, 0, 0, 0, 0, 255, 255, 255});
    for (int f = 0; f < frames; ++f) {
        v.push_back(0x2C);
        Put16(v, 0), Put16(v, 0), Put16(v, width), Put16(v, height);
        v.push_back(0);
        v.push_back(2);
        for (int block = 0; block < 64; ++block) {
            v.push_back(250);
            v.insert(v.end(), 250, 0);
        }
        v.push_back(0);
    }
    v.push_back(0x3B);
    return v;
}

constexpr int kAnswered = 100;  // exit statuses from 100 are answers; below, a crash

uint64_t AddressSpaceInUse() {
    std::ifstream status("/proc/self/status");
    std::string key;
    while (status >> key) {
        if (key == "VmSize:") {
            uint64_t kb = 0;
            status >> kb;
            return kb * 1024;
        }
    }
    return 0;
}

// Runs `decode` in a child limited to 120 MB more address space and returns what `decode`
// returned; -1 when the child did not end by returning (a crash, or the sanitizer's exit).
int ResultUnderLimit(int (*decode)()) {
    const uint64_t inUse = AddressSpaceInUse();
    if (inUse == 0) return -1;
    const pid_t child = fork();
    if (child == 0) {
        rlimit limit{inUse + (uint64_t{120} << 20), inUse + (uint64_t{120} << 20)};
        setrlimit(RLIMIT_AS, &limit);
        _exit(kAnswered + decode());
    }
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) >= kAnswered ? WEXITSTATUS(status) - kAnswered : -1;
}
#endif

TEST(PictureMemory, HugeDeclaredPicturesUnderALimitedAddressSpace) {
#ifndef RUVELTO_NATIVE_ASAN
    GTEST_SKIP() << "the address-space limit is set in the native build";
#else
    // The decoders' answers: 0 no picture, else the frames decoded.
    const int staticFrames = ResultUnderLimit([] {
        // 64 MB of indices fit, the frame's 64 MB DIB does not: no picture.
        const Bytes gif = HugeGif(8000, 8000, 1);
        PicturePixels pixels;
        const bool decoded = DecodePicturePixels(gif.data(), gif.size(), &pixels);
        std::free(pixels.pixels);
        return decoded ? 1 : 0;
    });
    EXPECT_EQ(staticFrames, 0) << "static GIF of 8000 x 8000";
    const int animatedFrames = ResultUnderLimit([] {
        // Three frames of 64 MB each (indices and DIB) fit the picture limit, not the memory.
        const Bytes gif = HugeGif(8000, 4000, 3);
        GifPicture picture;
        return DecodeGif(gif.data(), gif.size(), false, &picture) ? int(picture.frames.size()) : 0;
    });
    EXPECT_GE(animatedFrames, 1) << "animated GIF of three frames 8000 x 4000: the frames that fit";
    EXPECT_LT(animatedFrames, 3) << "animated GIF of three frames 8000 x 4000: not all of them";
#endif
}

}  // namespace
}  // namespace ruvelto::components
