# Included before src when KPS_FUZZ is ON. Every library is built with libFuzzer's coverage
# hooks and the address and undefined-behaviour checks, and any finding aborts, so a fault deep
# in the program stops a fuzz target as surely as a failed property does.
if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
  message(FATAL_ERROR "KPS_FUZZ needs clang for libFuzzer: configure with -DCMAKE_CXX_COMPILER=clang++")
endif()
add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=all
                    -fno-omit-frame-pointer)
add_link_options(-fsanitize=address,undefined)
