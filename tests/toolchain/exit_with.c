/* A tiny native PE program for the toolchain test: exits with the number given as its first
   argument, and leaves a mark file next to itself to show it really ran. */
#include <windows.h>
#include <stdio.h>
#include <stdlib.h>

int main(int argc, char **argv)
{
    char path[MAX_PATH];
    DWORD n = GetModuleFileNameA(NULL, path, sizeof path - 8);
    if (n > 0 && n < sizeof path - 8) {
        lstrcatA(path, ".ran");
        FILE *f = fopen(path, "w");
        if (f) { fputs("ran\n", f); fclose(f); }
    }
    return argc > 1 ? atoi(argv[1]) : 0;
}
