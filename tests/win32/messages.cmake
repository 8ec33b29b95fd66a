# The toolkit's message records.
add_executable(test_messages_win32 ${CMAKE_CURRENT_LIST_DIR}/MessageRecordsTest.cpp)
target_link_libraries(test_messages_win32 PRIVATE tarnel_toolkit gtest_main)
tarnel_target(test_messages_win32)
add_test(NAME win32.messages COMMAND test_messages_win32)
