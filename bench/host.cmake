# Start-up check pass of the wizard host over 10 and 200 registered modules.
if(benchmark_FOUND AND TARGET fixture_classwiz)
  add_executable(bench_host ${CMAKE_CURRENT_SOURCE_DIR}/host/HostBench.cpp)
  target_include_directories(bench_host PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(bench_host PRIVATE vesperhost benchmark::benchmark)
  target_compile_definitions(bench_host PRIVATE VESPER_TEST_MODULE_DIR="${VESPER_TEST_MODULE_DIR}")
  set_target_properties(bench_host PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
  add_dependencies(bench_host fixture_classwiz)
endif()
