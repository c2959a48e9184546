vesper_fuzz_target(wizardinfo SOURCES ${CMAKE_CURRENT_SOURCE_DIR}/wizardinfo.cpp LIBS vesperhost)
