# Routine finder throughput over Pascal units read from disk.
if(benchmark_FOUND)
  add_executable(bench_procs ${CMAKE_CURRENT_SOURCE_DIR}/procs/ProcsBench.cpp)
  target_include_directories(bench_procs PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(bench_procs PRIVATE vesprocscore benchmark::benchmark)
  set_target_properties(bench_procs PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/bench)
endif()
