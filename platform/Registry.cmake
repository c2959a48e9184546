# Registry (.reg text hives), module loading and the COM runtime.
list(APPEND VESPER_PLATFORM_SOURCES
  RegFormat.cpp
  RegHive.cpp
  Registry.cpp
  Modules.cpp
)

vesper_cli_command(SOURCES ${CMAKE_SOURCE_DIR}/tools/vesper/commands/RegCommand.cpp LIBS vesperplatform)
