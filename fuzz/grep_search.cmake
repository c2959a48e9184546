vesper_fuzz_target(grep_search SOURCES ${CMAKE_CURRENT_LIST_DIR}/grep_search.cpp LIBS rxscan32core)
