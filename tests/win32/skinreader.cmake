# LZH expansion and the skin archive reader built for Windows (the host suites plus the
# message box of the Windows half). The packer's encoder and writer, host tools otherwise,
# are compiled in to build the test archives.
set(_packer ${CMAKE_SOURCE_DIR}/tools/skinpack)
add_executable(test_skinreader_win32
  ${CMAKE_SOURCE_DIR}/tests/host/SkinLzhTest.cpp
  ${CMAKE_SOURCE_DIR}/tests/host/SkinReaderTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/SkinReaderGdiTest.cpp
  ${_packer}/SkinLzhEncoder.cpp
  ${_packer}/SkinArchiveWriter.cpp)
target_include_directories(test_skinreader_win32 PRIVATE ${_packer} ${CMAKE_SOURCE_DIR}/tests/host)
target_link_libraries(test_skinreader_win32 PRIVATE tarnel_store user32 gtest_main)
tarnel_target(test_skinreader_win32)
add_test(NAME win32.skinreader COMMAND test_skinreader_win32)
