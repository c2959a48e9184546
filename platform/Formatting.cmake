# Formatting, dates, string lists and INI files.
list(APPEND VESPER_PLATFORM_SOURCES
  Format.cpp
  DateTime.cpp
  StringList.cpp
  IniFile.cpp
)
