# Toolchain for the Windows release: a real PE program cross-compiled with MinGW-w64 (x86_64).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
