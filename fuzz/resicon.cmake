vesper_fuzz_target(resicon SOURCES ${CMAKE_CURRENT_LIST_DIR}/resicon.cpp LIBS vesreditcore)
