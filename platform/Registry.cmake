# Registry (.reg text hives), module loading and the COM runtime.
list(APPEND VESPER_PLATFORM_SOURCES
  RegFormat.cpp
  RegHive.cpp
  Registry.cpp
  Modules.cpp
  Com.cpp
)

vesper_cli_command(SOURCES ${CMAKE_SOURCE_DIR}/tools/vesper/commands/RegCommand.cpp LIBS vesperplatform)

# The server side of in-process COM modules; each module links its own copy.
vesper_library(vesper_comserv STATIC SOURCES ComServ.cpp LIBS vesperplatform)
# GCC makes inline variables (interface identifiers) "unique" symbols, which
# keep a module loaded after dlclose; a server must be able to unload.
target_compile_options(vesper_comserv PUBLIC $<$<CXX_COMPILER_ID:GNU>:-fno-gnu-unique>)
if(VESPER_TESTS)
  vesper_module(comtestsrv OUTPUT comtestsrv.so DIR ${VESPER_TEST_MODULE_DIR}
    SOURCES tests/ComTestServer.cpp LIBS vesper_comserv vesperplatform)
  cmake_language(DEFER CALL add_dependencies platform_tests comtestsrv)
endif()
