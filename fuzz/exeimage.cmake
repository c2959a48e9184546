# The executable image and resource file readers: PE, NE, 16- and 32-bit
# resource files, imports, package information, version data, file forms.
vesper_fuzz_target(exeimage SOURCES ${CMAKE_CURRENT_LIST_DIR}/exeimage.cpp LIBS vesrexplcore)
