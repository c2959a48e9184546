# The reusable controls of the UI layer: report engine, text file editor,
# file viewer, pictures and image lists.
target_sources(vesperui PRIVATE
  ${CMAKE_CURRENT_LIST_DIR}/ReportEngine.cpp
  ${CMAKE_CURRENT_LIST_DIR}/CommandProcessor.cpp
  ${CMAKE_CURRENT_LIST_DIR}/Ruler.cpp
  ${CMAKE_CURRENT_LIST_DIR}/TextFileEditor.cpp
  ${CMAKE_CURRENT_LIST_DIR}/ViewFile.cpp
  ${CMAKE_CURRENT_LIST_DIR}/FileViewer.cpp)

if(VESPER_TESTS)
  file(GLOB ui_controls_tests ${CMAKE_CURRENT_LIST_DIR}/tests/controls/*Test.cpp)
  vesper_test(ui_controls_tests SOURCES ${ui_controls_tests} LIBS vesperui_scripted vesperui)
endif()
