# The skin manager on real windows of the test process: the thread's hook, which windows are
# skinned and with which skin data (the default skin), popup menu windows, the request timer,
# and what is left behind when a skin data component or the manager goes.
add_executable(test_skinmanage_win32 ${CMAKE_CURRENT_LIST_DIR}/SkinManageTest.cpp)
target_link_libraries(test_skinmanage_win32 PRIVATE tarnel_skin comctl32 gtest_main)
target_compile_definitions(test_skinmanage_win32 PRIVATE
                           TARNEL_TEST_SKIN="Z:${TARNEL_DEFAULT_SKIN}")
add_dependencies(test_skinmanage_win32 tarnel_hosttools)
tarnel_target(test_skinmanage_win32)
add_test(NAME win32.skinmanage COMMAND test_skinmanage_win32)
