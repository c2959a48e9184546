# The compression component and its stand-alone C expansion routine (zlib).
list(APPEND VESPER_PLATFORM_SOURCES
  compress/Compress.cpp
  compress/expand.c
)
list(APPEND VESPER_PLATFORM_LIBS z)
