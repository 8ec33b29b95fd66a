# The capture hotkey object, the capture of the window under the pointer, and start at logon
# (registry reading and writing, the menu command) on real windows and the real registry.
add_executable(test_hotkey_autostart_win32
  ${CMAKE_CURRENT_LIST_DIR}/hotkey/VexhotkeyTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/hotkey/WindowCaptureTest.cpp
  ${CMAKE_CURRENT_LIST_DIR}/hotkey/AutostartTest.cpp)
target_link_libraries(test_hotkey_autostart_win32 PRIVATE tarnel_app gtest_main)
tarnel_target(test_hotkey_autostart_win32)
add_test(NAME win32.hotkey_autostart COMMAND test_hotkey_autostart_win32)
