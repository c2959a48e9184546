# Registry (.reg text hives), module loading and the COM runtime.
list(APPEND VESPER_PLATFORM_SOURCES
  RegFormat.cpp
  RegHive.cpp
  Registry.cpp
)
