# The notification-area icon: TIcon, TThread, TIconList and TTrayIcon on the real shell of the
# test session. The program icon is built in as resource TESTICON.
add_executable(test_tray_win32
  ${CMAKE_CURRENT_LIST_DIR}/tray/IconTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tray/ThreadTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tray/TrayTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/tray/tray_test.rc)
target_link_libraries(test_tray_win32 PRIVATE tarnel_tray gtest_main)
target_include_directories(test_tray_win32 PRIVATE ${CMAKE_CURRENT_LIST_DIR}/tray)
target_compile_definitions(test_tray_win32 PRIVATE
                           "TARNEL_ICON_FILE=\"Z:${CMAKE_SOURCE_DIR}/src/app/tarnel.ico\"")
set_source_files_properties(${CMAKE_CURRENT_LIST_DIR}/tray/tray_test.rc PROPERTIES
                            INCLUDE_DIRECTORIES "${CMAKE_SOURCE_DIR}/src/app"
                            OBJECT_DEPENDS "${CMAKE_SOURCE_DIR}/src/app/tarnel.ico")
tarnel_target(test_tray_win32)
add_test(NAME win32.tray COMMAND test_tray_win32)
