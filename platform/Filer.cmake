# Component streams and form-file converters.
list(APPEND VESPER_PLATFORM_SOURCES
  filer/FilerValues.cpp
  filer/Parser.cpp
  filer/FormConverter.cpp
  filer/Classes.cpp
  filer/ComponentStream.cpp
)
vesper_test(filer_tests
  SOURCES
    ${CMAKE_CURRENT_LIST_DIR}/filer/tests/FilerValuesTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/filer/tests/FormConverterTest.cpp
    ${CMAKE_CURRENT_LIST_DIR}/filer/tests/ComponentStreamTest.cpp
  LIBS vesperplatform)
vesper_cli_command(SOURCES ${CMAKE_SOURCE_DIR}/tools/vesper/commands/DfmCommand.cpp LIBS vesperplatform)
