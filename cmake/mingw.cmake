# The MinGW-w64 cross toolchain for the Windows release, shared by cmake/mingw-i686.cmake and
# cmake/mingw-x86_64.cmake, which set CMAKE_SYSTEM_PROCESSOR first. Also used to build the
# picture libraries it links (scripts/mingw-libraries).
set(CMAKE_SYSTEM_NAME Windows)
set(triplet ${CMAKE_SYSTEM_PROCESSOR}-w64-mingw32)
# The POSIX thread model: the C++ library's threads, mutexes and thread_local work with it, and
# winpthread is linked in statically like the rest.
set(CMAKE_C_COMPILER ${triplet}-gcc-posix)
set(CMAKE_CXX_COMPILER ${triplet}-g++-posix)
set(CMAKE_RC_COMPILER ${triplet}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${triplet})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(RUVELTO_PE ON)
