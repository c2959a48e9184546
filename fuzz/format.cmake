vesper_fuzz_target(format SOURCES ${CMAKE_CURRENT_LIST_DIR}/format.cpp LIBS vesperplatform)
