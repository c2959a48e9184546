vesper_fuzz_target(compress SOURCES ${CMAKE_CURRENT_LIST_DIR}/compress.cpp LIBS vesperplatform)
