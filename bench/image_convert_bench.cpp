// Converts every picture named on the command line through the image class library, the way
// the conversion run does (decode with the format of the extension, encode to the target format),
// and prints the time each picture took. Usage: image_convert_bench <format> <out-dir> <files...>
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "image/image.h"

int main(int argc, char** argv)
{
    if (argc < 4) {
        std::fprintf(stderr, "usage: image_convert_bench <format number> <output folder> <pictures...>\n");
        return 2;
    }
    const int32_t format = std::atoi(argv[1]);
    const std::string out = argv[2];
    LARGE_INTEGER frequency, start, end;
    QueryPerformanceFrequency(&frequency);
    double total = 0;
    int failed = 0;
    for (int i = 3; i < argc; ++i) {
        std::string in = argv[i];
        std::string name = in.substr(in.find_last_of("\\/") + 1);
        QueryPerformanceCounter(&start);
        ruvelto::image::Image image;
        bool ok = image.Load(in.c_str(), ruvelto::image::IMAGE_FORMAT_UNKNOWN) &&
                  image.Save((out + "\\" + name + ".out").c_str(), format);
        QueryPerformanceCounter(&end);
        double ms = 1000.0 * double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
        total += ms;
        if (!ok) ++failed;
        std::printf("%s\t%.2f ms%s\n", name.c_str(), ms, ok ? "" : "\tFAILED");
    }
    std::printf("total\t%.2f ms for %d pictures, %d failed\n", total, argc - 3, failed);
    return failed ? 1 : 0;
}
