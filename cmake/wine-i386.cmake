# Toolchain for the 32-bit Win32 build through Wine's own compiler drivers.
set(CMAKE_SYSTEM_NAME Linux)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER winegcc)
set(CMAKE_CXX_COMPILER wineg++)
set(CMAKE_C_FLAGS_INIT "-m32")
set(CMAKE_CXX_FLAGS_INIT "-m32")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-m32")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-m32")
# Executables are Wine programs: foo.exe.so, started with `wine foo.exe.so`.
set(CMAKE_EXECUTABLE_SUFFIX ".exe")
set(CMAKE_LIBRARY_ARCHITECTURE i386-linux-gnu)
set(CMAKE_FIND_ROOT_PATH /usr/lib/i386-linux-gnu)
set(CMAKE_PREFIX_PATH /usr/lib/i386-linux-gnu/cmake)
# winegcc must never see -isystem /usr/include: it would put the Unix headers before Wine's.
foreach(lang C CXX)
  set(CMAKE_${lang}_IMPLICIT_INCLUDE_DIRECTORIES /usr/include /usr/include/i386-linux-gnu)
endforeach()
set(RUVELTO_WINE ON)
