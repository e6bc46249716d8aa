/* A library that takes the name of a system library (version.dll) and one of its functions, as
   a planted copy in a program's folder would. Its function answers a value the real one never
   does, so a test can tell which of the two was loaded. */
__declspec(dllexport) unsigned long __stdcall GetFileVersionInfoSizeA(const char* file, unsigned long* handle) {
    (void)file;
    if (handle) *handle = 0;
    return 0x5EED;
}
