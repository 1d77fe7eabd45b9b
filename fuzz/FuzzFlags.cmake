# Compile settings of the fuzzing build (-DORVANE_FUZZ=ON): every library is
# instrumented for libFuzzer's coverage and checked by AddressSanitizer and
# UndefinedBehaviorSanitizer; fuzz/CMakeLists.txt links the targets with
# libFuzzer's driver. Included before the core libraries are added.

if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "ORVANE_FUZZ needs clang (libFuzzer), but the C++ compiler is "
                      "${CMAKE_CXX_COMPILER_ID}: configure with CC=clang CXX=clang++")
endif()
if(ORVANE_SANITIZE)
  message(FATAL_ERROR "ORVANE_FUZZ brings its own sanitizers: leave ORVANE_SANITIZE empty")
endif()

add_compile_options(-fsanitize=fuzzer-no-link,address,undefined
                    -fno-sanitize-recover=undefined -fno-omit-frame-pointer -g)
add_link_options(-fsanitize=address,undefined)
