vesper_fuzz_target(grep_line_matcher SOURCES ${CMAKE_CURRENT_LIST_DIR}/grep_line_matcher.cpp LIBS rxscan32core)
