# The executable viewer's search for a project's output file: the project
# source's "{$E" directive and the ".DOF" options file.
vesper_fuzz_target(exeview_project SOURCES ${CMAKE_CURRENT_LIST_DIR}/exeview_project.cpp LIBS vespeviewcore)
