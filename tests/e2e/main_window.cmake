tarnel_e2e_test(main_window ${CMAKE_CURRENT_LIST_DIR}/MainWindowTest.cpp
                ${CMAKE_CURRENT_LIST_DIR}/DesktopInput.cpp)
# The list file's limits come from the program's own header.
target_include_directories(main_window PRIVATE ${CMAKE_SOURCE_DIR}/src/app)
