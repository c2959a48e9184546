vesper_fuzz_target(filer_text SOURCES ${CMAKE_CURRENT_LIST_DIR}/filer_text.cpp LIBS vesperplatform)
