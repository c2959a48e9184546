# Module loading and the COM runtime; vespercomserver is linked statically
# into each in-process server module.
list(APPEND VESPER_PLATFORM_SOURCES Com.cpp ComServ.cpp)
add_library(vespercomserver STATIC ${CMAKE_CURRENT_LIST_DIR}/ComServerModule.cpp)
set_target_properties(vespercomserver PROPERTIES POSITION_INDEPENDENT_CODE ON)
target_include_directories(vespercomserver PUBLIC ${CMAKE_SOURCE_DIR})
target_link_libraries(vespercomserver PUBLIC vesperplatform)
