# Shared build rules: warnings, the test and fuzz helpers, and where the test data lives.

set(RUVELTO_CORPUS_DIR "${CMAKE_SOURCE_DIR}/../shared/corpus" CACHE PATH "Picture corpus")
get_filename_component(RUVELTO_CORPUS_DIR "${RUVELTO_CORPUS_DIR}" ABSOLUTE)

# Our own code builds clean; dependencies' headers come in as they are.
set(RUVELTO_WARNINGS -Wall -Wextra -Werror)

if(RUVELTO_HOST)
  set(RUVELTO_SANITIZE -fsanitize=address,undefined -fno-sanitize-recover=undefined -fno-omit-frame-pointer)
  add_compile_options(${RUVELTO_SANITIZE})
  add_link_options(${RUVELTO_SANITIZE})
  # Fuzz targets need coverage feedback from the code they call (decoders, template and property
  # readers, text algorithms), not only from their harness: every portable library is built
  # with the coverage instrumentation; the sanitizer runtime serves it in ordinary programs.
  if(RUVELTO_FUZZ)
    add_compile_options(-fsanitize=fuzzer-no-link)
  endif()
  find_package(GTest REQUIRED)
  set(RUVELTO_GTEST GTest::gtest GTest::gmock)
  set(RUVELTO_GTEST_MAIN GTest::gtest_main)
elseif(RUVELTO_PE)
  # A real Windows program: _WIN32 means what the libraries' headers take it to mean, and no
  # tests are built.
  set(RUVELTO_NOT_WIN32_DEFS)
else()
  # Headers of Unix libraries that take _WIN32 to mean MSVC/MinGW (GoogleTest, libpng, OpenJPEG)
  # are compiled without it; Wine's headers work without it.
  set(RUVELTO_NOT_WIN32_DEFS -U_WIN32 -UWIN32 -U__WIN32 -U__WIN32__ -U__WINNT -U__WINNT__)
  set(RUVELTO_GTEST_DEFS ${RUVELTO_NOT_WIN32_DEFS})
  # Debian's static GoogleTest of the target's architecture (i386 or amd64), set by the toolchain.
  set(gtest_dir /usr/lib/${CMAKE_LIBRARY_ARCHITECTURE})
  if(NOT CMAKE_LIBRARY_ARCHITECTURE OR NOT EXISTS ${gtest_dir}/libgtest.a)
    message(FATAL_ERROR "No GoogleTest for '${CMAKE_LIBRARY_ARCHITECTURE}' in ${gtest_dir}: run scripts/setup")
  endif()
  set(RUVELTO_GTEST ${gtest_dir}/libgmock.a ${gtest_dir}/libgtest.a pthread)
  set(RUVELTO_GTEST_MAIN ${gtest_dir}/libgtest_main.a)
endif()

# The word size of a Wine build comes from its toolchain file: CMake cannot find out through
# winegcc (CMAKE_SIZEOF_VOID_P stays empty). RUVELTO_WINE_CONFIG is the scripts' name for the
# build (scripts/env.sh): wine (32-bit) or wine64. A 64-bit program keeps its program image in
# the runtime's low memory (RUVELTO_64BIT).
if(CMAKE_SYSTEM_PROCESSOR STREQUAL x86_64)
  set(RUVELTO_64BIT ON)
  set(RUVELTO_WINE_CONFIG wine64)
  set(RUVELTO_MINGW_CC x86_64-w64-mingw32-gcc)
else()
  set(RUVELTO_64BIT OFF)
  set(RUVELTO_WINE_CONFIG wine)
  set(RUVELTO_MINGW_CC i686-w64-mingw32-gcc)
endif()

# ruvelto_library(name [PORTABLE] SOURCES ... [LIBS ...])
# A PORTABLE library is built in both configurations; others only in the Wine build.
function(ruvelto_library name)
  cmake_parse_arguments(L "PORTABLE" "" "SOURCES;LIBS" ${ARGN})
  if(RUVELTO_HOST AND NOT L_PORTABLE)
    return()
  endif()
  add_library(${name} STATIC ${L_SOURCES})
  target_compile_options(${name} PRIVATE ${RUVELTO_WARNINGS})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PUBLIC ${L_LIBS})
endfunction()

# ruvelto_test(name [PORTABLE] [DESKTOP] SOURCES ... [LIBS ...] [LABELS ...])
# A GoogleTest program, run by CTest: natively in the host build, under Wine otherwise. DESKTOP
# runs it inside a Wine virtual desktop (windows with frames, activation and focus).
# Tests learn where the corpus is from RUVELTO_CORPUS (a Unix path; under Wine the Z: drive maps it).
function(ruvelto_test name)
  cmake_parse_arguments(T "PORTABLE;NO_MAIN;DESKTOP" "" "SOURCES;LIBS;LABELS" ${ARGN})
  if(RUVELTO_HOST AND NOT T_PORTABLE)
    return()
  endif()
  add_executable(${name} ${T_SOURCES})
  target_compile_options(${name} PRIVATE ${RUVELTO_WARNINGS} ${RUVELTO_GTEST_DEFS})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  set(main ${RUVELTO_GTEST_MAIN})
  if(T_NO_MAIN)
    set(main)
  endif()
  target_link_libraries(${name} PRIVATE ${T_LIBS} ${main} ${RUVELTO_GTEST})
  target_compile_definitions(${name} PRIVATE RUVELTO_CORPUS="${RUVELTO_CORPUS_DIR}"
    RUVELTO_SOURCE_DIR="${CMAKE_SOURCE_DIR}" RUVELTO_BINARY_DIR="${CMAKE_BINARY_DIR}")
  if(RUVELTO_HOST)
    set(test_name host.${name})
    add_test(NAME ${test_name} COMMAND ${name})
  else()
    set(test_name ${name})
    set(runner wine-test)
    if(T_DESKTOP)
      set(runner wine-desktop-test)
    endif()
    add_test(NAME ${test_name} COMMAND ${CMAKE_SOURCE_DIR}/scripts/${runner} $<TARGET_FILE:${name}>.so)
    # The runner starts the program with the Wine loader and prefix of this build's word size.
    set_tests_properties(${test_name} PROPERTIES RESOURCE_LOCK desktop
      ENVIRONMENT RUVELTO_WINE_CONFIG=${RUVELTO_WINE_CONFIG})
  endif()
  set_tests_properties(${test_name} PROPERTIES LABELS "${T_LABELS}" TIMEOUT 600)
endfunction()

# Inputs that once crashed, hung or overran memory in a fuzz target, one folder per target, kept
# by scripts/fuzz-long and replayed by CTest before every brief run.
set(RUVELTO_FUZZ_REGRESSIONS "${CMAKE_SOURCE_DIR}/tests/fuzz/regressions")

# ruvelto_fuzz(name SOURCES ... LIBS ... SEEDS dir... [SECONDS n])
# A libFuzzer target, built only in the host fuzz build; CTest replays its kept findings
# (fuzz-replay.name) and runs it briefly from a fresh scratch folder (libFuzzer writes into its
# first corpus folder) with the seed folders after it. scripts/fuzz-long runs every target listed
# in fuzz-targets.txt of the build folder for longer.
function(ruvelto_fuzz name)
  cmake_parse_arguments(F "" "SECONDS" "SOURCES;LIBS;SEEDS" ${ARGN})
  if(NOT (RUVELTO_HOST AND RUVELTO_FUZZ))
    return()
  endif()
  if(NOT F_SECONDS)
    set(F_SECONDS 20)
  endif()
  add_executable(${name} ${F_SOURCES})
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer ${RUVELTO_WARNINGS})
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${F_LIBS})
  set(scratch ${CMAKE_BINARY_DIR}/fuzz-scratch/${name})
  add_test(NAME fuzz.${name}
    COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=allocator_may_return_null=1:detect_leaks=1
      sh -c "rm -rf '${scratch}' && mkdir -p '${scratch}' && exec \"$0\" -max_total_time=${F_SECONDS} -rss_limit_mb=2048 -malloc_limit_mb=1024 -timeout=10 -print_final_stats=0 '${scratch}' \"$@\""
      $<TARGET_FILE:${name}> ${F_SEEDS})
  set_tests_properties(fuzz.${name} PROPERTIES LABELS fuzz TIMEOUT 300)
  # Each kept finding runs once, by itself; a missing folder means none were kept yet.
  set(kept ${RUVELTO_FUZZ_REGRESSIONS}/${name})
  add_test(NAME fuzz-replay.${name}
    COMMAND ${CMAKE_COMMAND} -E env ASAN_OPTIONS=allocator_may_return_null=1:detect_leaks=1
      sh -c "[ -d '${kept}' ] || exit 0; set -- '${kept}'/*; [ -e \"$1\" ] || exit 0; exec '$<TARGET_FILE:${name}>' -rss_limit_mb=2048 -malloc_limit_mb=1024 -timeout=10 \"$@\""
  )
  set_tests_properties(fuzz-replay.${name} PROPERTIES LABELS fuzz TIMEOUT 300)
  string(REPLACE ";" " " seeds "${F_SEEDS}")
  set_property(GLOBAL APPEND PROPERTY RUVELTO_FUZZ_TARGETS "${name}\t$<TARGET_FILE:${name}>\t${seeds}")
endfunction()

include(EmbedBinary)

# ruvelto_mingw_program(name SOURCES ... [DEFINES ...] [LIBS ...] [OPTIONS ...])
# A small native Windows PE program built with MinGW-w64 (not Wine's toolchain): the companion
# installers and test helpers that our programs write to disk and start. Output: ${name}.exe in
# the current binary folder; the target name is ${name}_pe. It has the Wine build's word size:
# a 64-bit Wine prefix on a machine without Wine's 32-bit loader cannot start a 32-bit PE program.
function(ruvelto_mingw_program name)
  cmake_parse_arguments(M "" "" "SOURCES;DEFINES;LIBS;OPTIONS" ${ARGN})
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${name}.exe)
  set(srcs)
  foreach(s ${M_SOURCES})
    list(APPEND srcs ${CMAKE_CURRENT_SOURCE_DIR}/${s})
  endforeach()
  set(defs)
  foreach(d ${M_DEFINES})
    list(APPEND defs -D${d})
  endforeach()
  set(libs)
  foreach(l ${M_LIBS})
    list(APPEND libs -l${l})
  endforeach()
  add_custom_command(OUTPUT ${out}
    COMMAND ${RUVELTO_MINGW_CC} -Os -s -Wall -Wextra -Werror ${M_OPTIONS} ${defs} -o ${out} ${srcs} ${libs}
    DEPENDS ${srcs}
    COMMENT "MinGW: ${name}.exe")
  add_custom_target(${name}_pe DEPENDS ${out})
endfunction()
