add_executable(test_watchlist_host ${CMAKE_CURRENT_LIST_DIR}/WatchListFileTest.cpp
                                   ${CMAKE_CURRENT_LIST_DIR}/TitlePatternTest.cpp
                                   ${CMAKE_CURRENT_LIST_DIR}/ClosedLogTest.cpp)
target_link_libraries(test_watchlist_host PRIVATE tarnel_watchlist GTest::gtest_main)
tarnel_target(test_watchlist_host)
add_test(NAME host.watchlist COMMAND test_watchlist_host)
