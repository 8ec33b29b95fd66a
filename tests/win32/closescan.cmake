# The close scan driven directly on real windows.
add_executable(test_closescan_win32 ${CMAKE_CURRENT_LIST_DIR}/CloseScanTest.cpp)
target_link_libraries(test_closescan_win32 PRIVATE tarnel_app gtest_main)
tarnel_target(test_closescan_win32)
add_test(NAME win32.closescan COMMAND test_closescan_win32)
