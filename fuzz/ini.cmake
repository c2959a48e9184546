vesper_fuzz_target(ini SOURCES ${CMAKE_CURRENT_LIST_DIR}/ini.cpp LIBS vesperplatform)
