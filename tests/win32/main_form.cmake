# The main window built from its stored description, with the program's resources linked in:
# its component fields and the tray icon's return after a taskbar restart.
add_executable(test_main_form_win32 ${CMAKE_CURRENT_LIST_DIR}/hotkey/MainFormTest.cpp
                                    ${CMAKE_SOURCE_DIR}/src/app/tarnel.rc)
target_include_directories(test_main_form_win32 PRIVATE ${CMAKE_SOURCE_DIR}/src/app)
target_link_libraries(test_main_form_win32 PRIVATE tarnel_app gtest_main)
tarnel_target(test_main_form_win32)
add_test(NAME win32.main_form COMMAND test_main_form_win32)
