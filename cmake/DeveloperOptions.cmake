# Developer switches in one place. CI turns on VISTREL_WERROR and builds a second
# tree with VISTREL_SANITIZE=ON for the engine tests, and a third with VISTREL_FUZZ.

option(VISTREL_WERROR "Treat compiler warnings as errors" OFF)
option(VISTREL_SANITIZE "Build with AddressSanitizer and UndefinedBehaviorSanitizer" OFF)
option(VISTREL_FUZZ "Build the libFuzzer targets (needs clang)" OFF)
option(VISTREL_BUILD_TESTS "Build the tests" ON)
option(VISTREL_BUILD_BENCH "Build the benchmarks" OFF)
option(VISTREL_ENGINE_ONLY "Build only the engine libraries and their tests (no Qt Widgets)" OFF)

include(GNUInstallDirs)

add_library(vistrel_warnings INTERFACE)
target_compile_options(vistrel_warnings INTERFACE
  -Wall -Wextra -Wpedantic -Wshadow -Wnon-virtual-dtor -Wcast-align -Woverloaded-virtual
  -Wimplicit-fallthrough
  $<$<BOOL:${VISTREL_WERROR}>:-Werror>)

# Fuzz builds instrument every library for coverage, or libFuzzer would see
# only its own target file and explore almost nothing.
if(VISTREL_FUZZ)
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()
if(VISTREL_SANITIZE OR VISTREL_FUZZ)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer
                      -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
