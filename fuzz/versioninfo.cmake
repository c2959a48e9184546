vesper_fuzz_target(versioninfo SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/versioninfo.cpp LIBS vesperplatform)
