tarnel_e2e_test(main_window ${CMAKE_CURRENT_LIST_DIR}/MainWindowTest.cpp)
