vesper_fuzz_target(vrf SOURCES ${CMAKE_CURRENT_LIST_DIR}/vrf.cpp LIBS vesreditcore)
