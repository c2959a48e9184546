# The file viewer control on a large file against less, xxd and grep.
if(VESPER_GUI)
  add_executable(bench_uicontrols ${CMAKE_CURRENT_SOURCE_DIR}/uicontrols/ViewerBench.cpp)
  target_include_directories(bench_uicontrols PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(bench_uicontrols PRIVATE vesperui)
  set_target_properties(bench_uicontrols PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
endif()
