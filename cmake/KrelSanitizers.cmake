# Sanitizer and fuzzing builds. The flags go on every target, JUCE's module code
# included, so that the sanitizers see all the code that runs in the process.
#   -DKREL_SANITIZERS=address,undefined   or   -DKREL_SANITIZERS=thread
#   -DKREL_FUZZING=ON (clang only) adds libFuzzer's coverage and the fuzz/ targets.
set(KREL_SANITIZERS "" CACHE STRING "Comma-separated list for -fsanitize= on every target")
option(KREL_FUZZING "Build the libFuzzer targets (clang)" OFF)

if(KREL_SANITIZERS)
    add_compile_options(-fsanitize=${KREL_SANITIZERS} -fno-sanitize-recover=all -fno-omit-frame-pointer)
    add_link_options(-fsanitize=${KREL_SANITIZERS})
endif()

if(KREL_FUZZING)
    if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
        message(FATAL_ERROR "KREL_FUZZING needs clang for libFuzzer")
    endif()
    add_compile_options(-fsanitize=fuzzer-no-link)
endif()
