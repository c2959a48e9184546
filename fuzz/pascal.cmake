vesper_fuzz_target(pascal SOURCES ${CMAKE_SOURCE_DIR}/fuzz/pascal.cpp LIBS vesprocscore)
