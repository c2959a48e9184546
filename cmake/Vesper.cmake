# Shared build rules: output layout, run paths, warnings, sanitizers and the
# helpers every directory uses to declare libraries, tests, CLI commands and
# fuzz targets.

include(GNUInstallDirs)

# The build tree has the install tree's shape: bin/, lib/vesper/, lib/vesper/wizards/.
set(VESPER_BIN_DIR ${CMAKE_BINARY_DIR}/bin)
set(VESPER_LIB_DIR ${CMAKE_BINARY_DIR}/lib/vesper)
set(VESPER_WIZARD_DIR ${CMAKE_BINARY_DIR}/lib/vesper/wizards)
set(VESPER_TEST_MODULE_DIR ${CMAKE_BINARY_DIR}/test-modules)
set(CMAKE_RUNTIME_OUTPUT_DIRECTORY ${VESPER_BIN_DIR})
set(CMAKE_LIBRARY_OUTPUT_DIRECTORY ${VESPER_LIB_DIR})
set(CMAKE_ARCHIVE_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/archive)

set(CMAKE_BUILD_WITH_INSTALL_RPATH ON)
set(CMAKE_SKIP_BUILD_RPATH OFF)
set(CMAKE_INSTALL_RPATH "$ORIGIN/../lib/vesper")
set(CMAKE_SHARED_LINKER_FLAGS "${CMAKE_SHARED_LINKER_FLAGS} -Wl,--disable-new-dtags")
set(CMAKE_EXE_LINKER_FLAGS "${CMAKE_EXE_LINKER_FLAGS} -Wl,--disable-new-dtags")

add_compile_options(-Wall -Wextra -Wno-unused-parameter)
add_compile_definitions(_FILE_OFFSET_BITS=64)

if(VESPER_SANITIZE OR VESPER_FUZZ)
  add_compile_options(-fsanitize=address,undefined -fno-omit-frame-pointer -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()
if(VESPER_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID STREQUAL "Clang")
    message(FATAL_ERROR "VESPER_FUZZ needs clang (use the 'fuzz' preset)")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link)
endif()

if(VESPER_TESTS)
  find_package(GTest REQUIRED)
  include(GoogleTest)
endif()

# vesper_library(NAME [SHARED|STATIC] SOURCES ... LIBS ...)
# A shared library lands in lib/vesper; its headers are included by path
# from the source root ("platform/Strings.h").
function(vesper_library name)
  cmake_parse_arguments(A "SHARED;STATIC" "OUTPUT_NAME" "SOURCES;LIBS" ${ARGN})
  set(kind SHARED)
  if(A_STATIC)
    set(kind STATIC)
  endif()
  add_library(${name} ${kind} ${A_SOURCES})
  target_include_directories(${name} PUBLIC ${CMAKE_SOURCE_DIR})
  if(A_LIBS)
    target_link_libraries(${name} PUBLIC ${A_LIBS})
  endif()
  if(A_OUTPUT_NAME)
    set_target_properties(${name} PROPERTIES OUTPUT_NAME ${A_OUTPUT_NAME})
  endif()
  if(kind STREQUAL "SHARED")
    set_target_properties(${name} PROPERTIES INSTALL_RPATH "$ORIGIN")
    vesper_version_resource(${name})
  endif()
endfunction()

# vesper_module(NAME OUTPUT_NAME out DIR dir SOURCES ... LIBS ...)
# A loadable module (wizard, package, test fixture) with a fixed file name
# such as "vespeview.vwz" written to DIR.
function(vesper_module name)
  cmake_parse_arguments(A "" "OUTPUT;DIR" "SOURCES;LIBS" ${ARGN})
  add_library(${name} MODULE ${A_SOURCES})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  if(A_LIBS)
    target_link_libraries(${name} PRIVATE ${A_LIBS})
  endif()
  get_filename_component(base ${A_OUTPUT} NAME_WLE)
  get_filename_component(ext ${A_OUTPUT} LAST_EXT)
  set_target_properties(${name} PROPERTIES PREFIX "" OUTPUT_NAME ${base} SUFFIX ${ext}
    LIBRARY_OUTPUT_DIRECTORY ${A_DIR})
  file(RELATIVE_PATH rel ${A_DIR} ${VESPER_LIB_DIR})
  if(rel STREQUAL "")
    set(rel ".")
  endif()
  set_target_properties(${name} PROPERTIES INSTALL_RPATH "$ORIGIN;$ORIGIN/${rel}")
  # A module's own globals (its COM server state, its factory list) bind
  # inside the module even when another module defines the same symbols.
  target_link_options(${name} PRIVATE -Wl,-Bsymbolic -Wl,--no-undefined)
  vesper_version_resource(${name})
endfunction()

# Every module of ours carries a version resource; the rule that writes it
# comes with the version-information reader. Until then this is a no-op.
function(vesper_version_resource target)
  if(COMMAND vesper_write_version_resource)
    vesper_write_version_resource(${target})
  endif()
endfunction()

# vesper_test(NAME SOURCES ... LIBS ... [LABELS ...])
# A GoogleTest program (tests/support's main: a fresh VESPER_HOME per process,
# the offscreen Qt platform, the build and source trees known).
function(vesper_test name)
  if(NOT VESPER_TESTS)
    return()
  endif()
  cmake_parse_arguments(A "" "" "SOURCES;LIBS;LABELS" ${ARGN})
  add_executable(${name} ${A_SOURCES})
  target_include_directories(${name} PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(${name} PRIVATE ${A_LIBS} vesper_testsupport GTest::gtest GTest::gmock)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  if(A_LABELS)
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60 PROPERTIES LABELS "${A_LABELS}")
  else()
    gtest_discover_tests(${name} DISCOVERY_TIMEOUT 60)
  endif()
endfunction()

# vesper_cli_command(SOURCES ... LIBS ...)
# Adds a subcommand to the `vesper` program; the sources register themselves
# with VESPER_COMMAND (tools/vesper/Command.h).
function(vesper_cli_command)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  foreach(src ${A_SOURCES})
    get_filename_component(abs ${src} ABSOLUTE)
    set_property(GLOBAL APPEND PROPERTY VESPER_CLI_SOURCES ${abs})
  endforeach()
  set_property(GLOBAL APPEND PROPERTY VESPER_CLI_LIBS ${A_LIBS})
endfunction()

# vesper_fuzz_target(NAME SOURCES ... LIBS ...)
# In a fuzz build: a libFuzzer program. In other builds: the same entry point
# driven over the committed seed corpus fuzz/corpus/NAME as a ctest.
function(vesper_fuzz_target name)
  cmake_parse_arguments(A "" "" "SOURCES;LIBS" ${ARGN})
  set(corpus ${CMAKE_SOURCE_DIR}/fuzz/corpus/${name})
  add_executable(fuzz_${name} ${A_SOURCES})
  target_include_directories(fuzz_${name} PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(fuzz_${name} PRIVATE ${A_LIBS})
  set_target_properties(fuzz_${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
  if(VESPER_FUZZ)
    target_link_options(fuzz_${name} PRIVATE -fsanitize=fuzzer)
    set_property(GLOBAL APPEND PROPERTY VESPER_FUZZ_TARGETS ${name})
  else()
    target_sources(fuzz_${name} PRIVATE ${CMAKE_SOURCE_DIR}/fuzz/StandaloneMain.cpp)
    if(VESPER_TESTS)
      add_test(NAME fuzz_corpus.${name} COMMAND fuzz_${name} ${corpus})
      set_tests_properties(fuzz_corpus.${name} PROPERTIES LABELS fuzz-corpus)
    endif()
  endif()
endfunction()
