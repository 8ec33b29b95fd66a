add_executable(test_watchlist_win32 ${CMAKE_SOURCE_DIR}/tests/host/WatchListFileTest.cpp)
target_link_libraries(test_watchlist_win32 PRIVATE tarnel_watchlist gtest_main)
tarnel_target(test_watchlist_win32)
add_test(NAME win32.watchlist COMMAND test_watchlist_win32)
