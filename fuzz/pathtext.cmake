# Path and text splitting of the shared packages: BreakApart, CompressString
# and Parse on arbitrary text (the sources are compiled in: the packages
# themselves need the GUI).
vesper_fuzz_target(pathtext
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/pathtext.cpp
          ${CMAKE_SOURCE_DIR}/shared/controls/PathHelpers.cpp
          ${CMAKE_SOURCE_DIR}/shared/aux/VesStr.cpp
  LIBS vesperplatform)
