vesper_fuzz_target(filer_binary SOURCES ${CMAKE_CURRENT_LIST_DIR}/filer_binary.cpp LIBS vesperplatform)
