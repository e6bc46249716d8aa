# Toolchain for the Windows release: a real PE program cross-compiled with MinGW-w64 (i686).
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
