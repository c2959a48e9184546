# Every module of ours carries a version resource in the ELF section
# ".rsrc_version": the project's version numbers and the build date as a
# packed DOS date and time (UTC; SOURCE_DATE_EPOCH is honoured).

add_executable(vesper_mkversion ${CMAKE_SOURCE_DIR}/tools/mkversion/mkversion.cpp)
target_include_directories(vesper_mkversion PRIVATE ${CMAKE_SOURCE_DIR})
set_target_properties(vesper_mkversion PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/buildtools)

string(TIMESTAMP y "%Y" UTC)
string(TIMESTAMP mo "%m" UTC)
string(TIMESTAMP d "%d" UTC)
string(TIMESTAMP h "%H" UTC)
string(TIMESTAMP mi "%M" UTC)
string(TIMESTAMP s "%S" UTC)
foreach(v mo d h mi s)
  string(REGEX REPLACE "^0([0-9])" "\\1" ${v} "${${v}}")
endforeach()
math(EXPR VESPER_BUILD_DOSDATE
  "((((${y} - 1980) << 9) | (${mo} << 5) | ${d}) << 16) | ((${h} << 11) | (${mi} << 5) | (${s} / 2))")

# Called by vesper_library and vesper_module for every shared object.
function(vesper_write_version_resource target)
  set(out ${CMAKE_CURRENT_BINARY_DIR}/${target}_version.c)
  get_target_property(desc ${target} VESPER_DESCRIPTION)
  if(NOT desc)
    set(desc "Vesper ${target}")
  endif()
  add_custom_command(OUTPUT ${out}
    COMMAND vesper_mkversion ${out} ${PROJECT_VERSION} ${VESPER_BUILD_DOSDATE}
            $<TARGET_FILE_NAME:${target}> "${desc}"
    DEPENDS vesper_mkversion
    COMMENT "Version resource for ${target}"
    VERBATIM)
  target_sources(${target} PRIVATE ${out})
endfunction()
