vesper_fuzz_target(grep_file_matcher SOURCES ${CMAKE_CURRENT_LIST_DIR}/grep_file_matcher.cpp LIBS rxscan32core)
