vesper_fuzz_target(regfile SOURCES ${CMAKE_CURRENT_LIST_DIR}/regfile.cpp LIBS vesperplatform)
