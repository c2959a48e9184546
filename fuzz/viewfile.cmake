# The file viewer's line index, hex lines and search, and the bitmap file
# form of a DIB (Qt-free parts of the UI controls).
vesper_fuzz_target(viewfile
  SOURCES ${CMAKE_CURRENT_LIST_DIR}/viewfile.cpp
          ${CMAKE_SOURCE_DIR}/ui/ViewFile.cpp
          ${CMAKE_SOURCE_DIR}/ui/BitmapFile.cpp
  LIBS vesperplatform)
