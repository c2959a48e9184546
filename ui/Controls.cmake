# The reusable controls of the UI layer: report engine, text file editor,
# file viewer, pictures and image lists.
target_sources(vesperui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ReportEngine.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CommandProcessor.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Ruler.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TextFileEditor.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ViewFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FileViewer.cpp
  ${CMAKE_CURRENT_LIST_DIR}/BitmapFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Pictures.cpp)

if(VESPER_TESTS)
  file(GLOB ui_controls_tests ${CMAKE_CURRENT_LIST_DIR}/tests/controls/*Test.cpp)
  vesper_test(ui_controls_tests SOURCES ${ui_controls_tests} LIBS vesperui_scripted vesperui)
endif()

if(VESPER_TESTS)
  # Screenshots of the controls for a human check (run under xvfb-run).
  add_executable(ui_controls_demo ${CMAKE_CURRENT_LIST_DIR}/tests/controls/ControlsDemo.cpp)
  target_link_libraries(ui_controls_demo PRIVATE vesperui)
  set_target_properties(ui_controls_demo PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
endif()
