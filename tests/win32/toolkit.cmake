add_executable(test_toolkit_win32 ${CMAKE_CURRENT_LIST_DIR}/ToolkitTest.cpp)
target_link_libraries(test_toolkit_win32 PRIVATE tarnel_toolkit gtest_main)
tarnel_target(test_toolkit_win32)
add_test(NAME win32.toolkit COMMAND test_toolkit_win32)
